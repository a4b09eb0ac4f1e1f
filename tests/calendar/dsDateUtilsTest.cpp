#include "calendar/dsDateUtils.h"

#include "dates/DateTime.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace kalendo {
namespace {

constexpr int kSunday = 1;
constexpr int kMonday = 2;

DateTime D(int y, int m, int d) { return EncodeDate(y, m, d); }

std::string Iso(DateTime value) {
    const CivilDate c = DecodeDate(value);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", c.year, c.month, c.day);
    return text;
}

// ISO 8601 week number by the definition, through chrono: week 1 starts on the Monday on or
// before 4 January, and a date before that Monday belongs to the previous year's weeks.
int ChronoIsoWeek(DateTime value) {
    using namespace std::chrono;
    const sys_days day = sys_days{1899y / December / 30} + days{static_cast<int>(DateOf(value))};
    const auto week1Monday = [](year y) {
        const sys_days january4{y / January / 4};
        return january4 - (weekday{january4} - Monday);
    };
    year y = year_month_day{day}.year();
    if (day >= week1Monday(y + years{1}))
        y += years{1};
    else if (day < week1Monday(y))
        y -= years{1};
    return static_cast<int>((day - week1Monday(y)).count() / 7) + 1;
}

TEST(FirstDayNumber, mapsEveryFirstDayToItsWeekdayNumber) {
    EXPECT_EQ(FirstDayNumber(dwMonday), 2);
    EXPECT_EQ(FirstDayNumber(dwTuesday), 3);
    EXPECT_EQ(FirstDayNumber(dwWednesday), 4);
    EXPECT_EQ(FirstDayNumber(dwThursday), 5);
    EXPECT_EQ(FirstDayNumber(dwFriday), 6);
    EXPECT_EQ(FirstDayNumber(dwSaturday), 7);
    EXPECT_EQ(FirstDayNumber(dwSunday), 1);
    EXPECT_EQ(FirstDayNumber(static_cast<TDayOfWeek>(42)), 2) << "garbage falls back to Monday";
}

TEST(LocaleFirstDayOfWeek, takesTheLocaleDayAndRejectsGarbage) {
    EXPECT_EQ(LocaleFirstDayOfWeek(UnitedKingdomSettings()), dwMonday);
    EXPECT_EQ(LocaleFirstDayOfWeek(UnitedStatesSettings()), dwSunday);
    FormatSettings settings = UnitedKingdomSettings();
    settings.firstDayOfWeek = dwThursday;
    EXPECT_EQ(LocaleFirstDayOfWeek(settings), dwThursday);
    settings.firstDayOfWeek = static_cast<TDayOfWeek>(-3);
    EXPECT_EQ(LocaleFirstDayOfWeek(settings), dwMonday);
}

TEST(FirstCellOffset, namedMonths) {
    struct Row {
        const char* name;
        int year, month, first, offset;
    };
    const Row rows[] = {
        {"September 2025 starts on Monday: a whole week before it", 2025, 9, kMonday, 7},
        {"September 2025, Sunday first: only 31 August before it", 2025, 9, kSunday, 1},
        {"February 2026 starts on Sunday, Monday first", 2026, 2, kMonday, 6},
        {"February 2026 starts on Sunday, Sunday first", 2026, 2, kSunday, 7},
        {"January 1752 starts on Saturday, Monday first", 1752, 1, kMonday, 5},
        {"January 1752, Saturday first", 1752, 1, 7, 7},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FirstCellOffset(row.year, row.month, row.first), row.offset);
    }
}

TEST(MonthGrid, september2025MondayFirst) {
    const auto cells = MonthGrid(2025, 9, kMonday);
    EXPECT_EQ(Iso(cells[0]), "2025-08-25");
    EXPECT_EQ(Iso(cells[6]), "2025-08-31");
    EXPECT_EQ(Iso(cells[7]), "2025-09-01");
    EXPECT_EQ(Iso(cells[35]), "2025-09-29");
    EXPECT_EQ(Iso(cells[36]), "2025-09-30");
    EXPECT_EQ(Iso(cells[37]), "2025-10-01");
    EXPECT_EQ(Iso(cells[41]), "2025-10-05");
    EXPECT_EQ(CellOfDay(2025, 9, kMonday, 1), 7);
}

TEST(MonthGrid, neighbouringMonthsAcrossYearEnds) {
    const auto january1752 = MonthGrid(1752, 1, kMonday);
    EXPECT_EQ(Iso(january1752[0]), "1751-12-27");
    EXPECT_EQ(Iso(january1752[4]), "1751-12-31");
    EXPECT_EQ(Iso(january1752[5]), "1752-01-01");
    EXPECT_EQ(Iso(MonthGrid(3000, 12, kSunday)[41]), "3001-01-10");
}

TEST(MonthGrid, everyMonthHoldsItsDaysInOrderAfterTheOffset) {
    for (int first = 1; first <= 7; ++first) {
        for (int month = 1; month <= 12; ++month) {
            for (int year : {1752, 1800, 1900, 2000, 2024, 2025, 2400, 3000}) {
                const auto cells = MonthGrid(year, month, first);
                const int offset = FirstCellOffset(year, month, first);
                for (int cell = 0; cell < kGridCells; ++cell) {
                    ASSERT_EQ(cells[static_cast<std::size_t>(cell)], cells[0] + cell);
                    ASSERT_EQ(cells[static_cast<std::size_t>(cell)], CellDate(year, month, first, cell));
                }
                ASSERT_EQ(DecodeDate(cells[static_cast<std::size_t>(offset) - 1]).month,
                          month == 1 ? 12 : month - 1);
                ASSERT_EQ(DecodeDate(cells[static_cast<std::size_t>(offset)]), (CivilDate{year, month, 1}));
                ASSERT_GE(offset, 1);
                ASSERT_LE(offset, 7);
                ASSERT_LT(CellOfDay(year, month, first, MonthDays(year, month)), kGridCells)
                    << "six rows suffice";
                ASSERT_EQ(DayOfWeek(cells[0]), first) << "column 0 holds the first day of the week";
            }
        }
    }
}

TEST(CalendarSize, followsOptionsAndCellSizes) {
    struct Row {
        const char* name;
        CalendarLayout layout;
        int width, height;
    };
    const Row rows[] = {
        {"main window: seven columns of 32, today line", {32, 22, true, false, true}, 234, 226},
        {"main window with week numbers keeps its width", {28, 22, true, true, true}, 234, 226},
        {"main window without the today line", {32, 25, true, false, false}, 234, 231},
        {"defaults", {28, 22, true, false, true}, 206, 226},
        {"no title, no today line: seven rows", {28, 22, false, false, false}, 206, 160},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CalendarWidth(row.layout), row.width);
        EXPECT_EQ(CalendarHeight(row.layout), row.height);
    }
    CalendarLayout withToday{32, 22, true, false, true};
    CalendarLayout withoutToday = withToday;
    withoutToday.today = false;
    EXPECT_EQ(CalendarHeight(withToday) - CalendarHeight(withoutToday), 22);
}

TEST(CellRect, mainWindowGeometry) {
    const CalendarLayout main{32, 22, true, false, true};
    EXPECT_EQ(CellRect(main, 0, 0), (PixelRect{5, 66, 37, 88}));
    EXPECT_EQ(CellRect(main, 5, 6), (PixelRect{197, 176, 229, 198}));
    const CalendarLayout weeks{28, 22, true, true, true};
    EXPECT_EQ(CellRect(weeks, 0, 0), (PixelRect{33, 66, 61, 88}));
    const CalendarLayout untitled{28, 22, false, false, true};
    EXPECT_EQ(CellRect(untitled, 0, 0).top, 22);
    EXPECT_EQ(GridArea(main), (PixelRect{5, 66, 229, 198}));
    EXPECT_EQ(GridArea(weeks), (PixelRect{33, 66, 229, 198}));
    EXPECT_EQ(GridArea(untitled), (PixelRect{5, 22, 201, 154}));
}

TEST(DateAtPoint, mapsEveryCellCentreBackToItsDateAndMissesOutsideTheGrid) {
    for (const CalendarLayout layout :
         {CalendarLayout{32, 22, true, false, true}, CalendarLayout{28, 22, true, true, true},
          CalendarLayout{28, 25, false, false, false}}) {
        for (int row = 0; row < kGridRows; ++row) {
            for (int column = 0; column < kGridColumns; ++column) {
                const PixelRect r = CellRect(layout, row, column);
                const DateTime expected = CellDate(2025, 9, kMonday, row * 7 + column);
                ASSERT_EQ(
                    DateAtPoint(layout, 2025, 9, kMonday, (r.left + r.right) / 2, (r.top + r.bottom) / 2),
                    expected);
                ASSERT_EQ(DateAtPoint(layout, 2025, 9, kMonday, r.left, r.top), expected)
                    << "corners belong to the cell";
                ASSERT_EQ(DateAtPoint(layout, 2025, 9, kMonday, r.right - 1, r.bottom - 1), expected);
            }
        }
        const PixelRect grid = GridArea(layout);
        EXPECT_EQ(DateAtPoint(layout, 2025, 9, kMonday, grid.left - 1, grid.top), 0.0);
        EXPECT_EQ(DateAtPoint(layout, 2025, 9, kMonday, grid.right, grid.top), 0.0);
        EXPECT_EQ(DateAtPoint(layout, 2025, 9, kMonday, grid.left, grid.top - 1), 0.0);
        EXPECT_EQ(DateAtPoint(layout, 2025, 9, kMonday, grid.left, grid.bottom), 0.0);
        EXPECT_EQ(DateAtPoint(layout, 2025, 9, kMonday, -50, -50), 0.0);
    }
    const CalendarLayout main{32, 22, true, false, true};
    EXPECT_EQ(DateAtPoint(main, 2025, 9, kMonday, 20, 77), D(2025, 8, 25)) << "leading day of August";
    EXPECT_EQ(DateAtPoint(main, 2025, 9, kMonday, 220, 190), D(2025, 10, 5)) << "trailing day of October";
}

TEST(CalendarWeekNumber, mondayFirstIsIso8601ForEveryWeekFrom1752To3000) {
    DateTime monday = D(1752, 1, 3);
    ASSERT_EQ(DayOfWeek(monday), kMonday);
    for (; monday <= kSerialOf31Dec3000; monday += 7) {
        ASSERT_EQ(CalendarWeekNumber(kMonday, monday), ChronoIsoWeek(monday)) << Iso(monday);
    }
}

TEST(CalendarWeekNumber, fiveStepsEqualTheFourDayRuleForWeeksStartingSundayToWednesday) {
    for (int first = 1; first <= 4; ++first) {
        DateTime start = D(1752, 1, 1);
        while (DayOfWeek(start) != first)
            start += 1;
        for (; start <= kSerialOf31Dec3000; start += 7) {
            ASSERT_EQ(CalendarWeekNumber(first, start), FourDayRuleWeekNumber(first, start))
                << first << " " << Iso(start);
        }
    }
}

TEST(CalendarWeekNumber, namedWeeks) {
    struct Row {
        const char* name;
        int first;
        DateTime start;
        int week;
    };
    const Row rows[] = {
        {"Monday first, 29 December 2014", kMonday, D(2014, 12, 29), 1},
        {"Monday first, 28 December 2015", kMonday, D(2015, 12, 28), 53},
        {"Monday first, 4 January 2016", kMonday, D(2016, 1, 4), 1},
        {"Monday first, 31 December 2012", kMonday, D(2012, 12, 31), 1},
        {"Sunday first, 28 December 2014", kSunday, D(2014, 12, 28), 53},
        {"Sunday first, 4 January 2015", kSunday, D(2015, 1, 4), 1},
        {"Sunday first, 26 December 2021", kSunday, D(2021, 12, 26), 52},
        {"Sunday first, 2 January 2022", kSunday, D(2022, 1, 2), 1},
        // Thursday 29 December 2022 to Wednesday 4 January 2023: four days in 2023, so week 1.
        {"Thursday first, week holding 1 January 2023", 5, D(2022, 12, 29), 1},
        {"Thursday first, the week after", 5, D(2023, 1, 5), 2},
        // Saturday 30 December 2023 to Friday 5 January 2024: five days in 2024.
        {"Saturday first, week holding 1 January 2024", 7, D(2023, 12, 30), 1},
        // Friday 29 December 2023 to Thursday 4 January 2024: four days in 2024.
        {"Friday first, week holding 1 January 2024", 6, D(2023, 12, 29), 1},
        // Friday 27 December 2024 to Thursday 2 January 2025: only two days in 2025.
        {"Friday first, week holding 1 January 2025 stays in 2024", 6, D(2024, 12, 27), 53},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CalendarWeekNumber(row.first, row.start), row.week);
    }
}

TEST(CalendarWeekNumber, everyFirstDayNumbersWeeksWithoutGapsOrRepeats) {
    // Within a year numbering runs 1, 2, 3, ... and restarts at 1 exactly once.
    for (int first = 1; first <= 7; ++first) {
        DateTime start = D(1752, 1, 1);
        while (DayOfWeek(start) != first)
            start += 1;
        int previous = CalendarWeekNumber(first, start);
        for (start += 7; start <= kSerialOf31Dec3000; start += 7) {
            const int week = CalendarWeekNumber(first, start);
            if (week != 1) {
                ASSERT_EQ(week, previous + 1) << first << " " << Iso(start);
            } else {
                ASSERT_GE(previous, 52) << first << " " << Iso(start);
            }
            previous = week;
        }
    }
}

TEST(IsDateAllowed, boundsAreInclusiveAndZeroMeansNone) {
    const DateTime lo = kSerialOf1Jan1752;
    const DateTime hi = kSerialOf31Dec3000;
    EXPECT_FALSE(IsDateAllowed(lo - 1, lo, hi)) << "31 December 1751";
    EXPECT_TRUE(IsDateAllowed(lo, lo, hi));
    EXPECT_TRUE(IsDateAllowed(hi, lo, hi));
    EXPECT_FALSE(IsDateAllowed(hi + 1, lo, hi));
    EXPECT_TRUE(IsDateAllowed(-1e6, 0, hi)) << "no lower bound";
    EXPECT_TRUE(IsDateAllowed(1e6, lo, 0)) << "no upper bound";
    EXPECT_TRUE(IsDateAllowed(0, 0, 0));
}

} // namespace
} // namespace kalendo
