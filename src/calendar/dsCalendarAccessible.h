#pragma once

// The month calendar for assistive technology (screen readers on the accessibility bus, UI
// Automation on Windows): each calendar is a table named with the month and year it shows, its
// columns headed by the day names and, with week numbers, its rows by the weeks; each of the 42
// day cells is named with its full date ("Friday 25 December 2026, holiday: Christmas Day") and
// the selected one is selected and, while the calendar has the focus, focused. Date, month and
// focus changes are announced.
namespace kalendo {

// Registers the factory that builds these tables; call once the application object exists,
// before the calendars are shown. Later calls do nothing.
void InstallCalendarAccessibility();

} // namespace kalendo
