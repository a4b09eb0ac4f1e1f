"""Reads a program's accessibility tree from the AT-SPI bus, as a screen reader does, and prints
what the desktop tests check as JSON: its tables (the calendars), the shown windows and focusable
controls without a name, the names that several focusable controls share (so a listener cannot
tell them apart), and the object that has the keyboard focus.

usage: read_accessibility_tree.py APPLICATION-NAME
"""
import datetime
import json
import sys
import time

import pyatspi


def find_application(name, timeout_s=20.0):
    # The program registers on the bus a moment after its window is shown.
    deadline = time.monotonic() + timeout_s
    while time.monotonic() < deadline:
        for application in pyatspi.Registry.getDesktop(0):
            if application is not None and application.name == name and application.childCount > 0:
                return application
        time.sleep(0.2)
    return None


def date_of_day(name):
    """ "Wednesday 9 December 2026, today" is 2026-12-09 (the names are English)."""
    try:
        return datetime.datetime.strptime(name.split(",")[0], "%A %d %B %Y").date().isoformat()
    except ValueError:
        return ""


def describe(accessible):
    return "%s '%s'" % (accessible.getRoleName(), accessible.name)


def read_table(table, states):
    cells = [table.getChildAtIndex(i) for i in range(table.childCount)]
    days = [cell for cell in cells if cell.getRole() == pyatspi.ROLE_TABLE_CELL]
    selected = [cell for cell in days if cell.getState().contains(pyatspi.STATE_SELECTED)]
    focused = [cell for cell in days if cell.getState().contains(pyatspi.STATE_FOCUSED)]
    grid = table.queryTable()
    return {
        "name": table.name,
        "rows": grid.nRows,
        "columns": grid.nColumns,
        "days": len([cell for cell in days if cell.name]),
        "selected": [date_of_day(cell.name) for cell in selected],
        "focused": states.contains(pyatspi.STATE_FOCUSED) or bool(focused),
    }, focused


def main():
    application = find_application(sys.argv[1])
    if application is None:
        print(json.dumps({"error": "the program is not on the accessibility bus"}))
        return 1
    report = {"tables": [], "unnamed": [], "shared": [], "focused": "", "focused_table": -1}
    names = {}

    def walk(accessible, path):
        states = accessible.getState()
        if not states.contains(pyatspi.STATE_SHOWING):
            return
        if states.contains(pyatspi.STATE_FOCUSED):
            report["focused"] = describe(accessible)
        window = "/" not in path
        if (window or states.contains(pyatspi.STATE_FOCUSABLE)) and not accessible.name:
            report["unnamed"].append("%s at %s" % (accessible.getRoleName(), path))
        if states.contains(pyatspi.STATE_FOCUSABLE) and accessible.name:
            names[accessible.name] = names.get(accessible.name, 0) + 1
        if accessible.getRole() == pyatspi.ROLE_TABLE:
            table, focused = read_table(accessible, states)
            report["tables"].append(table)
            if table["focused"]:
                report["focused_table"] = len(report["tables"]) - 1
            if focused:
                report["focused"] = describe(focused[0])
            return
        for index, child in enumerate(accessible):
            if child is not None:
                walk(child, "%s/%d" % (path, index))

    for index, window in enumerate(application):
        walk(window, str(index))
    report["shared"] = sorted("%s (%d times)" % (name, count) for name, count in names.items() if count > 1)
    print(json.dumps(report))
    return 0


if __name__ == "__main__":
    sys.exit(main())
