#pragma once

#include "dates/DateTime.h"
#include "dates/FormatSettings.h"

#include <array>
#include <cstdint>

// Day, month and weekday helpers of the month calendar: the grid of 42 day cells, its pixel
// geometry and the week numbers. Pure arithmetic, no toolkit, so the control and the command
// line share it.
namespace kalendo {

using TDay = std::uint8_t;   // 1..31
using TMonth = std::uint8_t; // 1..12

inline constexpr int kGridRows = 6;
inline constexpr int kGridColumns = 7;
inline constexpr int kGridCells = kGridRows * kGridColumns;
static_assert(kGridCells == 42);

// Weekday number (1 = Sunday .. 7 = Saturday) of a first day of the week.
int FirstDayNumber(TDayOfWeek firstDay);

// The locale's first day of the week as the calendar's TDayOfWeek.
TDayOfWeek LocaleFirstDayOfWeek(const FormatSettings& settings);

// Cells before day 1 of the month in the grid: 1..7, never 0, so a month that starts on the
// first day of the week is preceded by a whole week of the month before.
int FirstCellOffset(int year, int month, int firstDayNumber);

// Date shown in cell 0..41 (row by row); leading and trailing cells hold the neighbouring months.
DateTime CellDate(int year, int month, int firstDayNumber, int cell);
std::array<DateTime, kGridCells> MonthGrid(int year, int month, int firstDayNumber);
// Cell 0..41 holding day 1..31 of the shown month.
int CellOfDay(int year, int month, int firstDayNumber, int day);

// What the calendar shows, as far as its size and geometry depend on it.
struct CalendarLayout {
    int cellWidth = 28;
    int cellHeight = 22;
    bool title = true;        // two title rows
    bool weekNumbers = false; // a week-number column left of the grid
    bool today = true;        // a today line under the grid
};

// Pixel rectangle; right and bottom lie just outside it.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

int ColCount(const CalendarLayout& layout); // 7 or 8
int RowCount(const CalendarLayout& layout); // 7..10
// The size the control keeps itself at.
int CalendarWidth(const CalendarLayout& layout);
int CalendarHeight(const CalendarLayout& layout);
// Grid cell at row 0..5, column 0..6.
PixelRect CellRect(const CalendarLayout& layout, int row, int column);
// The six grid rows, the area that answers clicks with a date.
PixelRect GridArea(const CalendarLayout& layout);
// Cell 0..41 under a point of the grid area, -1 outside it.
int CellAtPoint(const CalendarLayout& layout, int x, int y);
// Date of the cell under a point, 0 (no date) outside the grid area.
DateTime DateAtPoint(const CalendarLayout& layout, int year, int month, int firstDayNumber, int x, int y);

// Week number shown beside the grid row that starts on date x, whose weekday number is
// firstDayNumber. For weeks starting Sunday to Wednesday this is the classic five-step rule
// (which equals the four-day rule, and the ISO 8601 number with Monday first); for weeks
// starting Thursday to Saturday the four-day rule is applied directly, because the five steps
// then misplace the week holding 1 January.
int CalendarWeekNumber(int firstDayNumber, DateTime x);

// The generalised ISO 8601 four-day rule: a week belongs to the year holding at least four of
// its days, and week 1 is the first such week. The week is the one holding x.
int FourDayRuleWeekNumber(int firstDayNumber, DateTime x);

// Both bounds inclusive; a bound of 0 means none.
bool IsDateAllowed(DateTime x, DateTime minDate, DateTime maxDate);

} // namespace kalendo
