#include "calendar/dsDateUtils.h"

namespace kalendo {

namespace {

int WeekdayOfSerial(std::int64_t serial) { return DayOfWeek(static_cast<DateTime>(serial)); }

std::int64_t WholeDays(DateTime x) { return static_cast<std::int64_t>(DateOf(x)); }

// Days from weekday number `from` forward to the next weekday number `to`: 0..6.
int DaysForward(int from, int to) { return ((to - from) % 7 + 7) % 7; }

bool IsWeekdayNumber(int value) { return value >= 1 && value <= 7; }

// The five steps: 1 January's weekday decides how many days of the first partial week count
// as week 1 (c), and a week 53 that the following week calls week 2 is really week 1.
int FiveStepWeekNumber(int f, std::int64_t x) {
    const CivilDate civil = CivilFromDays(x);
    const std::int64_t january1 = DaysFromCivil(civil.year, 1, 1);
    const int d = WeekdayOfSerial(january1);
    const int b = DaysForward(d, f); // 0..6
    const int c = b <= 3 ? 7 - b : d + 6 - f;
    const std::int64_t n = x - january1; // 0..365
    const int e = static_cast<int>((c + n + 1) / 7);
    if (e == 53 && FiveStepWeekNumber(f, x + 7) == 2) return 1;
    return e;
}

} // namespace

int FirstDayNumber(TDayOfWeek firstDay) {
    const int index = static_cast<int>(firstDay);
    if (index < dwMonday || index > dwSunday) return 2;
    // dwMonday (0) is weekday 2, dwSaturday (5) is 7, dwSunday (6) wraps round to 1.
    return (index + 1) % 7 + 1;
}

TDayOfWeek LocaleFirstDayOfWeek(const FormatSettings& settings) {
    const int index = static_cast<int>(settings.firstDayOfWeek);
    return index >= dwMonday && index <= dwSunday ? settings.firstDayOfWeek : dwMonday;
}

int FirstCellOffset(int year, int month, int firstDayNumber) {
    const int d = WeekdayOfSerial(DaysFromCivil(year, month, 1));
    const int f = IsWeekdayNumber(firstDayNumber) ? firstDayNumber : 2;
    return d > f ? d - f : d - f + 7; // 1..7
}

DateTime CellDate(int year, int month, int firstDayNumber, int cell) {
    const std::int64_t day1 = DaysFromCivil(year, month, 1);
    return static_cast<DateTime>(day1 + cell - FirstCellOffset(year, month, firstDayNumber));
}

std::array<DateTime, kGridCells> MonthGrid(int year, int month, int firstDayNumber) {
    std::array<DateTime, kGridCells> cells{};
    const DateTime first = CellDate(year, month, firstDayNumber, 0);
    for (int cell = 0; cell < kGridCells; ++cell)
        cells[static_cast<std::size_t>(cell)] = first + cell;
    return cells;
}

int CellOfDay(int year, int month, int firstDayNumber, int day) {
    return day + FirstCellOffset(year, month, firstDayNumber) - 1;
}

int ColCount(const CalendarLayout& layout) { return layout.weekNumbers ? 8 : 7; }

int RowCount(const CalendarLayout& layout) {
    return (layout.title ? 2 : 0) + 1 + kGridRows + (layout.today ? 1 : 0);
}

int CalendarWidth(const CalendarLayout& layout) { return ColCount(layout) * layout.cellWidth + 10; }

int CalendarHeight(const CalendarLayout& layout) { return RowCount(layout) * layout.cellHeight + 6; }

PixelRect CellRect(const CalendarLayout& layout, int row, int column) {
    const int w = layout.weekNumbers ? 1 : 0;
    const int t = layout.title ? 2 : 0;
    PixelRect rect;
    rect.left = (column + w) * layout.cellWidth + 5;
    rect.right = rect.left + layout.cellWidth;
    rect.top = (row + t + 1) * layout.cellHeight;
    rect.bottom = rect.top + layout.cellHeight;
    return rect;
}

PixelRect GridArea(const CalendarLayout& layout) {
    PixelRect area;
    area.left = layout.weekNumbers ? layout.cellWidth + 5 : 5;
    area.top = (layout.title ? 3 : 1) * layout.cellHeight;
    area.right = CalendarWidth(layout) - 5;
    area.bottom = area.top + kGridRows * layout.cellHeight;
    return area;
}

int CellAtPoint(const CalendarLayout& layout, int x, int y) {
    if (layout.cellWidth <= 0 || layout.cellHeight <= 0) return -1;
    if (!GridArea(layout).Contains(x, y)) return -1;
    const int row = y / layout.cellHeight - (layout.title ? 3 : 1);               // 0..5
    const int column = (x - 5) / layout.cellWidth - (layout.weekNumbers ? 1 : 0); // 0..6
    return row * kGridColumns + column;
}

DateTime DateAtPoint(const CalendarLayout& layout, int year, int month, int firstDayNumber, int x, int y) {
    const int cell = CellAtPoint(layout, x, y);
    return cell < 0 ? 0.0 : CellDate(year, month, firstDayNumber, cell);
}

int CalendarWeekNumber(int firstDayNumber, DateTime x) {
    const int f = IsWeekdayNumber(firstDayNumber) ? firstDayNumber : 2;
    if (f <= 4) return FiveStepWeekNumber(f, WholeDays(x));
    return FourDayRuleWeekNumber(f, x);
}

int FourDayRuleWeekNumber(int firstDayNumber, DateTime x) {
    const int f = IsWeekdayNumber(firstDayNumber) ? firstDayNumber : 2;
    const std::int64_t day = WholeDays(x);
    const std::int64_t weekStart = day - DaysForward(f, WeekdayOfSerial(day));
    // The fourth day decides the year: whichever year holds it holds at least four days.
    const std::int64_t fourthDay = weekStart + 3;
    const std::int64_t january1 = DaysFromCivil(CivilFromDays(fourthDay).year, 1, 1);
    return static_cast<int>((fourthDay - january1) / 7) + 1; // 1..53
}

bool IsDateAllowed(DateTime x, DateTime minDate, DateTime maxDate) {
    return (minDate == 0 || x >= minDate) && (maxDate == 0 || x <= maxDate);
}

} // namespace kalendo
