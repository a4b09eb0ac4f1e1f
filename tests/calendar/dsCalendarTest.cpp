#include "calendar/dsCalendar.h"

#include "dates/DateEnvironment.h"
#include "dates/DateTime.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace kalendo {
namespace {

DateTime D(int y, int m, int d) { return EncodeDate(y, m, d); }

std::string Iso(DateTime value) {
    const CivilDate c = DecodeDate(value);
    return QStringLiteral("%1-%2-%3")
        .arg(c.year, 4, 10, QLatin1Char('0'))
        .arg(c.month, 2, 10, QLatin1Char('0'))
        .arg(c.day, 2, 10, QLatin1Char('0'))
        .toStdString();
}

const QColor kNavy(0, 0, 128);
const QColor kRed(255, 0, 0);
const QColor kSilver(192, 192, 192);
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 128, 0);
const QColor kInfoYellow(255, 255, 225);

// A planner that remembers the regions it was asked to paint.
class RecordingPlanner : public TdsPlanner {
public:
    std::vector<QRegion> painted;

protected:
    void paintEvent(QPaintEvent* event) override {
        painted.push_back(event->region());
        TdsPlanner::paintEvent(event);
    }
};

// Today is Wednesday 17 September 2025 in a British locale; the calendar is set up as the main
// window sets up both of its calendars, inside a window with a second focusable control.
class CalendarTest : public ::testing::Test {
protected:
    std::shared_ptr<FixedClock> clock = std::make_shared<FixedClock>(D(2025, 9, 17) + 0.5);
    ScopedDateEnvironment environment{UnitedKingdomSettings(), clock};
    QWidget window;
    QLineEdit* otherControl = nullptr;
    RecordingPlanner* cal = nullptr;

    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        cal = new RecordingPlanner;
        otherControl = new QLineEdit;
        layout->addWidget(cal);
        layout->addWidget(otherControl);
        cal->SetMinDate(kSerialOf1Jan1752);
        cal->SetMaxDate(kSerialOf31Dec3000);
        cal->SetShowOptions({soHolidays, soSundays, soSaturdays, soTitle, soYear, soToday, soTodayCircle});
        cal->SetCellWidth(32);
        cal->SetSelectedShape(ssRectangle);
        cal->SetFirstDayOfWeek(dwMonday);
        cal->SetBorderStyle(bsSingle);
        cal->Colors().SetBackground(kInfoYellow);
        cal->Categories().Add(QStringLiteral("UK Holidays"), kBlue);
        cal->Categories().Add(QStringLiteral("US Holidays"), kGreen);
        cal->SetDate(D(2025, 9, 10));
        window.show();
        window.activateWindow();
        cal->setFocus();
        QApplication::processEvents();
        cal->painted.clear();
    }

    QPoint CentreOf(DateTime date) const { return CellOf(date).center(); }

    QRect CellOf(DateTime date) const {
        const int cell =
            static_cast<int>(date - CellDate(cal->Year(), cal->Month(), cal->FirstDayNumber(), 0));
        const PixelRect r = cal->CellRect(cell / 7, cell % 7);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }

    QImage Shot() const { return cal->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    void SaveScreenshot(const char* name) const {
        QDir().mkpath(QStringLiteral(KALENDO_SCREENSHOT_DIR));
        cal->grab().save(QStringLiteral(KALENDO_SCREENSHOT_DIR "/") + QLatin1String(name));
    }
};

int Distance(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

// The colour of a cell's number: the pixel that stands out most from the cell's fill.
QColor InkOf(const QImage& image, const QRect& cell, const QColor& fill) {
    QColor ink = fill;
    for (int y = cell.top() + 3; y < cell.bottom() - 2; ++y) {
        for (int x = cell.left() + 3; x < cell.right() - 2; ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (Distance(pixel, fill) > Distance(ink, fill)) ink = pixel;
        }
    }
    return ink;
}

// Anti-aliased text rarely covers a pixel fully, so the ink is a blend of the fill and the
// number's colour: it must lie close to the line between them, and well towards the colour.
::testing::AssertionResult Near(const QColor& ink, const QColor& fill, const QColor& expected) {
    const double dr = expected.red() - fill.red(), dg = expected.green() - fill.green(),
                 db = expected.blue() - fill.blue();
    const double ir = ink.red() - fill.red(), ig = ink.green() - fill.green(), ib = ink.blue() - fill.blue();
    const double length2 = dr * dr + dg * dg + db * db;
    const double alpha = length2 > 0 ? (ir * dr + ig * dg + ib * db) / length2 : 0;
    const double er = ir - alpha * dr, eg = ig - alpha * dg, eb = ib - alpha * db;
    const double residual = std::sqrt(er * er + eg * eg + eb * eb);
    if (alpha > 0.6 && residual < 24) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "ink " << ink.name().toStdString() << " on " << fill.name().toStdString() << " is not "
           << expected.name().toStdString() << " (blend " << alpha << ", off by " << residual << ")";
}

::testing::AssertionResult SamePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return ::testing::AssertionFailure() << "sizes differ";
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                return ::testing::AssertionFailure() << "first difference at " << x << "," << y << ": "
                                                     << a.pixelColor(x, y).name().toStdString() << " vs "
                                                     << b.pixelColor(x, y).name().toStdString();
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// The number in a cell is drawn in the expected colour.
::testing::AssertionResult NumberIs(const QImage& image, const QRect& cell, const QColor& fill,
                                    const QColor& expected) {
    return Near(InkOf(image, cell, fill), fill, expected);
}

TEST(CalendarConstruction, startsWithTheDocumentedDefaults) {
    auto clock = std::make_shared<FixedClock>(D(2026, 12, 7) + 0.75);
    ScopedDateEnvironment environment(UnitedStatesSettings(), clock);
    TdsPlanner planner;
    EXPECT_EQ(planner.Date(), D(2026, 12, 7)) << "today, without the time";
    EXPECT_EQ(planner.FirstDayOfWeek(), dwSunday) << "the locale's first day";
    EXPECT_EQ(planner.TodayString(), QStringLiteral("Today: "));
    EXPECT_EQ(planner.Colors().Title(), kNavy);
    EXPECT_EQ(planner.Colors().TrailingDays(), kSilver);
    EXPECT_EQ(planner.Colors().Selected(), kGreen);
    EXPECT_EQ(planner.focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(planner.size(), QSize(7 * 28 + 10, 10 * 22 + 6));
    EXPECT_FALSE(planner.NextMonthButton()->focusPolicy() & Qt::ClickFocus);
}

TEST_F(CalendarTest, sizeFollowsTheOptionsAndCellSizesAndTheMonthButtonsSitInTheTitleBand) {
    EXPECT_EQ(cal->size(), QSize(234, 226));
    EXPECT_EQ(cal->NextMonthButton()->geometry(), QRect(209, 12, 20, 20));
    EXPECT_EQ(cal->PrevMonthButton()->geometry(), QRect(184, 12, 20, 20));
    EXPECT_TRUE(cal->NextMonthButton()->isVisible());
    cal->AddShowOption(soWeekNumbers);
    cal->SetCellWidth(28);
    EXPECT_EQ(cal->size(), QSize(234, 226)) << "week numbers with narrower cells keep the width";
    cal->RemoveShowOption(soToday);
    EXPECT_EQ(cal->height(), 226 - 22);
    cal->SetCellHeight(25);
    EXPECT_EQ(cal->height(), 9 * 25 + 6);
    cal->resize(400, 400);
    EXPECT_EQ(cal->size(), QSize(234, 231)) << "the size rule wins over a resize";
    cal->RemoveShowOption(soTitle);
    EXPECT_EQ(cal->height(), 7 * 25 + 6);
    EXPECT_FALSE(cal->NextMonthButton()->isVisible()) << "no title, no month buttons";
}

TEST_F(CalendarTest, bandsAndLinesEndOnTheMainWindowsPixels) {
    const QImage image = Shot();
    struct Row {
        const char* name;
        QPoint at;
        QColor expected;
    };
    const Row rows[] = {
        {"title band's last row", {100, 43}, kNavy},
        {"header starts under the band", {100, 44}, kInfoYellow},
        {"header line starts at x 5", {5, 65}, kNavy},
        {"header line ends before x 229", {228, 65}, kNavy},
        {"no header line left of x 5", {4, 65}, kInfoYellow},
        {"no header line at x 229", {229, 65}, kInfoYellow},
        {"grid starts under the header line", {100, 66}, kInfoYellow},
        {"today line starts at x 5", {5, 200}, kNavy},
        {"today line ends before x 229", {228, 200}, kNavy},
        {"no today line at x 229", {229, 200}, kInfoYellow},
        {"today mark's top-left corner", {6, 204}, kRed},
        {"today mark's bottom-right corner", {35, 221}, kRed},
        {"nothing left of the today mark", {5, 212}, kInfoYellow},
        {"nothing right of the today mark", {36, 212}, kInfoYellow},
        {"nothing under the today mark", {20, 222}, kInfoYellow},
    };
    for (const Row& row : rows)
        EXPECT_EQ(image.pixelColor(row.at), row.expected) << row.name;

    // The today text starts one cell and five pixels right of the today area's left edge.
    int firstInk = -1;
    for (int x = 37; x < 200 && firstInk < 0; ++x)
        for (int y = 204; y < 222 && firstInk < 0; ++y)
            if (Distance(image.pixelColor(x, y), kInfoYellow) > 200) firstInk = x;
    EXPECT_GE(firstInk, 42);
    EXPECT_LE(firstInk, 43);
}

TEST_F(CalendarTest, changeDateKeepsToTheBoundsAndReportsEveryAcceptedChange) {
    QSignalSpy spy(cal, &TdsCalendar::OnDateChange);
    cal->SetDate(D(1752, 1, 1));
    EXPECT_TRUE(spy.isEmpty()) << "setting the date from code is silent";

    EXPECT_FALSE(cal->ChangeDate(D(1751, 12, 31)));
    EXPECT_EQ(cal->Date(), D(1752, 1, 1));
    EXPECT_TRUE(spy.isEmpty());

    EXPECT_TRUE(cal->ChangeDate(D(3000, 12, 31)));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][0].value<QObject*>(), cal);
    EXPECT_EQ(spy[0][1].toDouble(), D(1752, 1, 1));
    EXPECT_EQ(spy[0][2].toDouble(), D(3000, 12, 31));

    EXPECT_FALSE(cal->ChangeDate(D(3000, 12, 31) + 1));
    EXPECT_TRUE(cal->ChangeDate(D(3000, 12, 31))) << "the same date again";
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy[1][1].toDouble(), spy[1][2].toDouble());

    EXPECT_TRUE(cal->ChangeDate(D(1752, 1, 1)));
    EXPECT_EQ(cal->Date(), D(1752, 1, 1));
}

TEST_F(CalendarTest, changeDateRefusesDatesNoCalendarCanHoldEvenWithoutBounds) {
    cal->SetMinDate(0);
    cal->SetMaxDate(0);
    cal->SetDate(D(1, 1, 1));
    EXPECT_FALSE(cal->ChangeDate(D(1, 1, 1) - 1));
    cal->SetDate(D(9999, 12, 31));
    QTest::keyClick(cal, Qt::Key_Right);
    EXPECT_EQ(cal->Date(), D(9999, 12, 31));
    QTest::keyClick(cal, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(cal->Date(), D(9999, 12, 31));
}

TEST_F(CalendarTest, setYearKeepsMonthAndDayAndMendsTheTwentyNinthOfFebruary) {
    QSignalSpy spy(cal, &TdsCalendar::OnDateChange);
    cal->SetDate(D(2001, 3, 15));
    cal->SetYear(2011);
    EXPECT_EQ(cal->Date(), D(2011, 3, 15));
    cal->SetDate(D(2024, 2, 29));
    cal->SetYear(2025);
    EXPECT_EQ(cal->Date(), D(2025, 2, 28));
    cal->SetYear(1700);
    EXPECT_EQ(cal->Date(), D(1700, 2, 28)) << "no bounds check from code";
    cal->SetYear(0);
    EXPECT_EQ(cal->Year(), 1700) << "a year no date can have is ignored";
    EXPECT_TRUE(spy.isEmpty());
}

TEST_F(CalendarTest, everyWayToAnotherMonthIsAnnouncedSoHolidaysCanBeFilledForIt) {
    cal->SetDate(D(2025, 9, 17));
    QSignalSpy shown(cal, &TdsCalendar::OnShownMonthChange);
    cal->SetDate(D(2025, 9, 30));
    EXPECT_TRUE(shown.isEmpty()) << "the same month";
    cal->SetDate(D(2025, 10, 1));
    cal->SetYear(2026);
    cal->NextMonth();
    QTest::keyClick(cal, Qt::Key_PageUp);
    QTest::keyClick(cal, Qt::Key_PageDown, Qt::ControlModifier);
    ASSERT_EQ(shown.size(), 5);
    const std::pair<int, int> expected[] = {{2025, 10}, {2026, 10}, {2026, 11}, {2026, 12}, {2025, 12}};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(std::make_pair(shown[i][1].toInt(), shown[i][2].toInt()), expected[i]) << i;
}

TEST_F(CalendarTest, keysMoveTheDateOrAreRefusedSilentlyAtTheBounds) {
    struct Row {
        const char* name;
        DateTime start;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        DateTime expected;
    };
    const Row rows[] = {
        {"Left goes back a day", D(2025, 9, 10), Qt::Key_Left, {}, D(2025, 9, 9)},
        {"Right on 31 January moves to February", D(2025, 1, 31), Qt::Key_Right, {}, D(2025, 2, 1)},
        {"Up goes back a week", D(2025, 9, 10), Qt::Key_Up, {}, D(2025, 9, 3)},
        {"Down goes forward a week", D(2025, 9, 28), Qt::Key_Down, {}, D(2025, 10, 5)},
        {"Page Up on 31 March gives 30 April", D(2025, 3, 31), Qt::Key_PageUp, {}, D(2025, 4, 30)},
        {"Page Down on 31 March 2024 gives 29 February",
         D(2024, 3, 31),
         Qt::Key_PageDown,
         {},
         D(2024, 2, 29)},
        {"Page Up on 31 December crosses the year", D(2025, 12, 31), Qt::Key_PageUp, {}, D(2026, 1, 31)},
        {"Ctrl+Page Up goes forward a year", D(2025, 9, 10), Qt::Key_PageUp, Qt::ControlModifier,
         D(2026, 9, 10)},
        {"Ctrl+Page Down goes back a year", D(2025, 9, 10), Qt::Key_PageDown, Qt::ControlModifier,
         D(2024, 9, 10)},
        {"Ctrl+Page Up from 29 February lands on 28 February", D(2024, 2, 29), Qt::Key_PageUp,
         Qt::ControlModifier, D(2025, 2, 28)},
        {"Ctrl+Page Down from 29 February lands on 28 February", D(2024, 2, 29), Qt::Key_PageDown,
         Qt::ControlModifier, D(2023, 2, 28)},
        {"Space returns to today", D(2001, 1, 1), Qt::Key_Space, {}, D(2025, 9, 17)},
        {"Enter leaves the date alone", D(2025, 9, 10), Qt::Key_Return, {}, D(2025, 9, 10)},
        {"Left on 1 January 1752 is refused", D(1752, 1, 1), Qt::Key_Left, {}, D(1752, 1, 1)},
        {"Up on 5 January 1752 is refused", D(1752, 1, 5), Qt::Key_Up, {}, D(1752, 1, 5)},
        {"Page Down on 15 January 1752 is refused", D(1752, 1, 15), Qt::Key_PageDown, {}, D(1752, 1, 15)},
        {"Right on 31 December 3000 is refused", D(3000, 12, 31), Qt::Key_Right, {}, D(3000, 12, 31)},
        {"Down on 26 December 3000 is refused", D(3000, 12, 26), Qt::Key_Down, {}, D(3000, 12, 26)},
        {"Page Up on 1 December 3000 is refused", D(3000, 12, 1), Qt::Key_PageUp, {}, D(3000, 12, 1)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        cal->SetDate(row.start);
        QApplication::processEvents();
        cal->painted.clear();
        QSignalSpy spy(cal, &TdsCalendar::OnDateChange);
        QTest::keyClick(cal, row.key, row.modifiers);
        EXPECT_EQ(Iso(cal->Date()), Iso(row.expected));
        if (row.expected != row.start) {
            ASSERT_EQ(spy.count(), 1);
            EXPECT_EQ(spy[0][1].toDouble(), row.start);
            EXPECT_EQ(spy[0][2].toDouble(), row.expected);
        } else {
            EXPECT_TRUE(spy.isEmpty());
            if (row.key != Qt::Key_Return) {
                EXPECT_TRUE(cal->painted.empty()) << "a refused key draws nothing";
            }
        }
    }
}

TEST_F(CalendarTest, arrowKeysReachTheCalendarBeforeWindowShortcuts) {
    int shortcutFired = 0;
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_Left), &window);
    QObject::connect(shortcut, &QShortcut::activated, [&] { ++shortcutFired; });
    ASSERT_TRUE(cal->hasFocus());
    QTest::keyClick(cal, Qt::Key_Left);
    EXPECT_EQ(cal->Date(), D(2025, 9, 9));
    EXPECT_EQ(shortcutFired, 0);
}

TEST_F(CalendarTest, changeWithinTheMonthRepaintsOnlyTheChangedCellsAndTodayAndLooksLikeAFullRepaint) {
    cal->SetDate(D(2025, 9, 14));
    QApplication::processEvents();
    QImage screen = Shot();
    cal->painted.clear();
    QTest::keyClick(cal, Qt::Key_Right);
    ASSERT_EQ(cal->painted.size(), 1u);
    QRegion expected(CellOf(D(2025, 9, 14)));
    expected += CellOf(D(2025, 9, 15));
    expected += CellOf(D(2025, 9, 17));
    EXPECT_EQ(cal->painted[0], expected);

    // Paint only the changed region over the old picture, as the screen gets it.
    {
        QPainter painter(&screen);
        const QRegion changed = cal->painted.back();
        cal->render(&painter, changed.boundingRect().topLeft(), changed, QWidget::DrawWindowBackground);
    }
    EXPECT_TRUE(SamePixels(screen, Shot()));
    EXPECT_TRUE(NumberIs(screen, CellOf(D(2025, 9, 14)), kInfoYellow, kRed)) << "the old Sunday is red again";
    EXPECT_EQ(screen.pixelColor(CellOf(D(2025, 9, 15)).topLeft() + QPoint(4, 4)), kNavy);

    cal->SetDate(D(2025, 9, 30));
    QApplication::processEvents();
    cal->painted.clear();
    QTest::keyClick(cal, Qt::Key_Right);
    ASSERT_EQ(cal->painted.size(), 1u);
    EXPECT_EQ(cal->painted[0], QRegion(cal->rect())) << "a new month repaints everything";
}

TEST_F(CalendarTest, clicksOnDayCellsSelectThemAndTakeTheFocus) {
    otherControl->setFocus();
    ASSERT_FALSE(cal->hasFocus());
    QSignalSpy spy(cal, &TdsCalendar::OnDateChange);

    QTest::mouseClick(cal, Qt::LeftButton, {}, CentreOf(D(2025, 9, 24)));
    EXPECT_TRUE(cal->hasFocus());
    EXPECT_EQ(cal->Date(), D(2025, 9, 24));

    QTest::mouseClick(cal, Qt::LeftButton, {}, CentreOf(D(2025, 9, 24)));
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy[1][1].toDouble(), spy[1][2].toDouble()) << "the selected day again still reports";

    cal->painted.clear();
    QTest::mouseClick(cal, Qt::LeftButton, {}, CentreOf(D(2025, 8, 25)));
    EXPECT_EQ(cal->Date(), D(2025, 8, 25)) << "a leading day of the previous month";
    ASSERT_FALSE(cal->painted.empty());
    EXPECT_EQ(cal->painted[0], QRegion(cal->rect()));

    QTest::mouseClick(cal, Qt::LeftButton, {}, CentreOf(D(2025, 9, 1)));
    EXPECT_EQ(cal->Date(), D(2025, 9, 1)) << "a trailing day of the following month";

    const int before = static_cast<int>(spy.count());
    QTest::mouseClick(cal, Qt::RightButton, {}, CentreOf(D(2025, 9, 5)));
    QTest::mouseClick(cal, Qt::LeftButton, {}, QPoint(100, 55));
    EXPECT_EQ(cal->Date(), D(2025, 9, 1)) << "right button and the weekday header change nothing";
    EXPECT_EQ(spy.count(), before);
}

TEST_F(CalendarTest, clickOnTheTodayLineGoesToToday) {
    cal->SetDate(D(2020, 5, 5));
    const PixelRect area = cal->TodayArea();
    QTest::mouseClick(cal, Qt::LeftButton, {}, QPoint(area.right - 3, 212));
    EXPECT_EQ(cal->Date(), D(2025, 9, 17));
    cal->SetDate(D(2020, 5, 5));
    QTest::mouseClick(cal, Qt::LeftButton, {}, QPoint(area.right + 3, 212));
    EXPECT_EQ(cal->Date(), D(2020, 5, 5)) << "right of the text is no target";
}

TEST_F(CalendarTest, monthButtonsStepMonthsAndClampTheDay) {
    struct Row {
        const char* name;
        DateTime start;
        bool next;
        DateTime expected;
    };
    const Row rows[] = {
        {"31 January 2024 to 29 February", D(2024, 1, 31), true, D(2024, 2, 29)},
        {"31 January 2025 to 28 February", D(2025, 1, 31), true, D(2025, 2, 28)},
        {"January 2025 back to December 2024", D(2025, 1, 15), false, D(2024, 12, 15)},
        {"December 3000 cannot go on", D(3000, 12, 1), true, D(3000, 12, 1)},
        {"January 1752 cannot go back", D(1752, 1, 31), false, D(1752, 1, 31)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        cal->SetDate(row.start);
        otherControl->setFocus();
        QTest::mouseClick(row.next ? cal->NextMonthButton() : cal->PrevMonthButton(), Qt::LeftButton);
        EXPECT_EQ(Iso(cal->Date()), Iso(row.expected));
        EXPECT_TRUE(cal->hasFocus());
        EXPECT_FALSE(cal->RepeatTimer().isActive());
    }
}

TEST_F(CalendarTest, heldMonthButtonRepeatsOnlyWhileThePointerIsOnIt) {
    cal->SetDate(D(2025, 1, 10));
    TdsMonthButton* next = cal->NextMonthButton();
    QTest::mousePress(next, Qt::LeftButton, {}, QPoint(10, 10));
    ASSERT_TRUE(cal->RepeatTimer().isActive());
    EXPECT_EQ(cal->RepeatTimer().interval(), 500);
    EXPECT_EQ(cal->Month(), 1) << "pressing alone does not step";

    cal->RepeatTimerTick();
    EXPECT_EQ(cal->RepeatTimer().interval(), 200);
    EXPECT_EQ(cal->Month(), 2);

    QTest::mouseMove(next, QPoint(-40, 10));
    ASSERT_FALSE(next->isDown());
    cal->RepeatTimerTick();
    EXPECT_EQ(cal->Month(), 2) << "the pointer left the button";
    EXPECT_TRUE(cal->RepeatTimer().isActive());

    QTest::mouseMove(next, QPoint(10, 10));
    cal->RepeatTimerTick();
    EXPECT_EQ(cal->Month(), 3);

    QTest::mouseRelease(next, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(cal->RepeatTimer().isActive());
    EXPECT_EQ(cal->Month(), 4) << "the release over the button adds the click's step";
}

TEST_F(CalendarTest, monthMenuOpensOnTheMonthNameAndClampsTheDay) {
    cal->SetDate(D(2025, 1, 30));
    QMenu* menu = cal->MonthMenu();
    ASSERT_EQ(menu->actions().size(), 12);
    EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("January"));
    EXPECT_EQ(menu->actions()[11]->text(), QStringLiteral("December"));

    const PixelRect name = cal->MonthNameArea();
    QTest::mouseClick(cal, Qt::LeftButton, {}, QPoint(name.left + 3, (name.top + name.bottom) / 2));
    EXPECT_TRUE(menu->isVisible());
    QSignalSpy spy(cal, &TdsCalendar::OnDateChange);
    menu->actions()[1]->trigger();
    menu->close();
    EXPECT_EQ(cal->Date(), D(2025, 2, 28));
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(CalendarTest, yearSpinnerAppearsOnTheYearAndStepsYears) {
    cal->SetDate(D(2024, 2, 29));
    TdsYearSpinner* spinner = cal->YearSpinner();
    EXPECT_FALSE(spinner->isVisible());
    const PixelRect year = cal->YearArea();
    QTest::mouseClick(cal, Qt::LeftButton, {}, QPoint(year.left + 2, (year.top + year.bottom) / 2));
    ASSERT_TRUE(spinner->isVisible());
    EXPECT_EQ(spinner->geometry(), QRect(year.right + 5, 10, 24, 20));

    QSignalSpy spy(cal, &TdsCalendar::OnDateChange);
    QTest::mouseClick(spinner, Qt::LeftButton, {}, QPoint(12, 4));
    EXPECT_EQ(cal->Date(), D(2025, 2, 28)) << "29 February into a common year";
    QTest::mouseClick(spinner, Qt::LeftButton, {}, QPoint(12, 16));
    EXPECT_EQ(cal->Date(), D(2024, 2, 28));
    EXPECT_EQ(spy.count(), 2);
    EXPECT_TRUE(spinner->isVisible());
    EXPECT_TRUE(cal->hasFocus()) << "the spinner never takes the focus";
}

TEST_F(CalendarTest, yearSpinnerHidesOnKeysDayClicksMonthButtonsAndFocusLoss) {
    const PixelRect year = cal->YearArea();
    const QPoint onYear(year.left + 2, (year.top + year.bottom) / 2);
    TdsYearSpinner* spinner = cal->YearSpinner();

    QTest::mouseClick(cal, Qt::LeftButton, {}, onYear);
    ASSERT_TRUE(spinner->isVisible());
    QTest::keyClick(cal, Qt::Key_A);
    EXPECT_FALSE(spinner->isVisible()) << "any key";

    QTest::mouseClick(cal, Qt::LeftButton, {}, onYear);
    QTest::mouseClick(cal, Qt::LeftButton, {}, CentreOf(D(2025, 9, 12)));
    EXPECT_FALSE(spinner->isVisible()) << "a day click";

    QTest::mouseClick(cal, Qt::LeftButton, {}, onYear);
    QTest::mouseClick(cal->PrevMonthButton(), Qt::LeftButton);
    EXPECT_FALSE(spinner->isVisible()) << "a month button";

    QTest::mouseClick(cal, Qt::LeftButton, {}, onYear);
    ASSERT_TRUE(spinner->isVisible());
    otherControl->setFocus();
    EXPECT_FALSE(spinner->isVisible()) << "focus loss";
}

TEST_F(CalendarTest, paintsSelectionWeekendsTrailingDaysAndToday) {
    const QImage image = Shot();
    SCOPED_TRACE("September 2025, Monday first, 10 September selected, today 17 September");
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black)) << "frame";
    EXPECT_EQ(image.pixelColor(233, 225), QColor(Qt::black)) << "frame";

    const QRect selected = CellOf(D(2025, 9, 10));
    EXPECT_EQ(image.pixelColor(selected.topLeft() + QPoint(1, 1)), kInfoYellow);
    EXPECT_EQ(image.pixelColor(selected.topLeft() + QPoint(2, 2)), kNavy) << "shape's edge";
    EXPECT_EQ(image.pixelColor(selected.topLeft() + QPoint(4, 4)), kNavy) << "shape's fill";
    EXPECT_TRUE(NumberIs(image, selected, kNavy, Qt::white));

    EXPECT_TRUE(NumberIs(image, CellOf(D(2025, 9, 21)), kInfoYellow, kRed)) << "Sunday";
    EXPECT_TRUE(NumberIs(image, CellOf(D(2025, 9, 20)), kInfoYellow, kRed)) << "Saturday with soSaturdays";
    EXPECT_TRUE(NumberIs(image, CellOf(D(2025, 9, 16)), kInfoYellow, Qt::black)) << "weekday";
    EXPECT_TRUE(NumberIs(image, CellOf(D(2025, 8, 31)), kInfoYellow, kSilver)) << "leading Sunday";
    EXPECT_TRUE(NumberIs(image, CellOf(D(2025, 10, 4)), kInfoYellow, kSilver)) << "trailing Saturday";

    const QRect today = CellOf(D(2025, 9, 17));
    EXPECT_EQ(image.pixelColor(today.left() + 1, today.center().y()), kRed) << "today's outline";
    EXPECT_EQ(image.pixelColor(today.right() - 1, today.center().y()), kRed);
    EXPECT_EQ(image.pixelColor(today.left() + 4, today.top() + 4), kInfoYellow) << "outline has no fill";

    cal->RemoveShowOption(soSaturdays);
    EXPECT_TRUE(NumberIs(Shot(), CellOf(D(2025, 9, 20)), kInfoYellow, Qt::black))
        << "Saturday without soSaturdays";

    cal->SetDate(D(2025, 9, 21));
    const QImage sunday = Shot();
    const QRect cell = CellOf(D(2025, 9, 21));
    EXPECT_EQ(sunday.pixelColor(cell.topLeft() + QPoint(4, 4)), kNavy) << "a selected Sunday";
    EXPECT_TRUE(NumberIs(sunday, cell, kNavy, Qt::white));
}

TEST_F(CalendarTest, transparentCursorIsAnOutlineWithABlackNumber) {
    cal->SetTransparentCursor(true);
    const QImage image = Shot();
    const QRect cell = CellOf(D(2025, 9, 10));
    EXPECT_EQ(image.pixelColor(cell.topLeft() + QPoint(2, 2)), kNavy);
    EXPECT_EQ(image.pixelColor(cell.topLeft() + QPoint(4, 4)), kInfoYellow);
    EXPECT_TRUE(NumberIs(image, cell.adjusted(2, 2, -2, -2), kInfoYellow, Qt::black));
}

TEST_F(CalendarTest, todaysOutlineOnlyInTodaysMonthAndOnlyWithTodayCircle) {
    cal->SetDate(D(2025, 10, 10));
    const QRect sameCellAsToday = CellOf(D(2025, 9, 17)); // geometry does not depend on the month
    QImage image = Shot();
    EXPECT_NE(image.pixelColor(sameCellAsToday.left() + 1, sameCellAsToday.center().y()), kRed);
    EXPECT_EQ(image.pixelColor(7, 213), kRed) << "the today line keeps its mark";

    cal->SetDate(D(2025, 9, 10));
    cal->RemoveShowOption(soTodayCircle);
    image = Shot();
    EXPECT_NE(image.pixelColor(sameCellAsToday.left() + 1, sameCellAsToday.center().y()), kRed);
}

TEST_F(CalendarTest, withoutTitleTheHeaderIsTheTopRow) {
    cal->RemoveShowOption(soTitle);
    const QImage image = Shot();
    EXPECT_EQ(image.pixelColor(4, 4), kInfoYellow) << "no navy band (inside the focus frame)";
    EXPECT_EQ(image.pixelColor(100, 21), kNavy) << "header line at the bottom of row 0";
    EXPECT_EQ(cal->CellRect(0, 0).top, 22);
    QTest::mouseClick(cal, Qt::LeftButton, {}, QPoint(10, 30));
    EXPECT_EQ(cal->Date(), CellDate(2025, 9, 2, 0));
}

TEST_F(CalendarTest, weekNumbersTakeTheFirstColumn) {
    cal->AddShowOption(soWeekNumbers);
    cal->SetCellWidth(28);
    const QImage image = Shot();
    EXPECT_EQ(image.pixelColor(27, 100), kNavy) << "the column's separating line";
    EXPECT_TRUE(NumberIs(image, QRect(0, 66, 27, 22), kInfoYellow, kNavy));
    EXPECT_EQ(cal->DateAtPoint(40, 77), D(2025, 8, 25));
    EXPECT_EQ(cal->DateAtPoint(20, 77), 0.0) << "the week-number column is no date";
}

TEST_F(CalendarTest, sundayFirstShiftsTheColumns) {
    cal->SetFirstDayOfWeek(dwSunday);
    EXPECT_EQ(cal->DateAtPoint(20, 77), D(2025, 8, 31));
    EXPECT_EQ(DayOfWeek(cal->DateAtPoint(20, 100)), 1);
}

TEST_F(CalendarTest, holidaysTakeTheHolidaysColour) {
    cal->Colors().SetHolidays(QColor(0, 160, 0));
    cal->Holidays().Add(15, 9, QStringLiteral("Test day"));
    ASSERT_NE(cal->FindHoliday(D(2031, 9, 15)), nullptr) << "every year";
    EXPECT_EQ(cal->FindHoliday(D(2025, 9, 16)), nullptr);
    EXPECT_TRUE(NumberIs(Shot(), CellOf(D(2025, 9, 15)), kInfoYellow, QColor(0, 160, 0)));
    cal->RemoveShowOption(soHolidays);
    EXPECT_TRUE(NumberIs(Shot(), CellOf(D(2025, 9, 15)), kInfoYellow, Qt::black));
}

TEST_F(CalendarTest, colourChangesRepaintAtOnce) {
    cal->painted.clear();
    cal->Colors().SetSundays(QColor(1, 2, 3));
    EXPECT_EQ(cal->painted.size(), 1u);
    cal->Colors().SetSundays(QColor(1, 2, 3));
    EXPECT_EQ(cal->painted.size(), 1u) << "the same colour again changes nothing";
}

TEST_F(CalendarTest, enterMarksAndUnmarksInTheActiveCategory) {
    QTest::keyClick(cal, Qt::Key_Return);
    EXPECT_EQ(cal->Categories().Items(0).Dates(), QStringList{QStringLiteral("10/09/2025")});
    EXPECT_EQ(cal->FindMarkCategory(D(2025, 9, 10)), &cal->Categories().Items(0));
    QTest::keyClick(cal, Qt::Key_Right);
    QImage image = Shot();
    const QRect marked = CellOf(D(2025, 9, 10));
    EXPECT_EQ(image.pixelColor(marked.topLeft() + QPoint(2, 2)), kBlue);
    EXPECT_TRUE(NumberIs(image, marked, kBlue, Qt::white));

    QTest::keyClick(cal, Qt::Key_Left);
    QTest::keyClick(cal, Qt::Key_Enter);
    EXPECT_TRUE(cal->Categories().Items(0).Dates().isEmpty());
    EXPECT_EQ(cal->FindMarkCategory(D(2025, 9, 10)), nullptr);
}

TEST_F(CalendarTest, markingMovesADateBetweenCategoriesUnlessOverlapIsAllowed) {
    TdsPlanerCategories& categories = cal->Categories();
    categories.Items(1).AppendDate(QStringLiteral("10/09/2025"));
    cal->ToggleMark(D(2025, 9, 10));
    EXPECT_TRUE(categories.Items(1).Dates().isEmpty()) << "the other category lost it";
    EXPECT_EQ(categories.Items(0).Dates().size(), 1);

    cal->SetOverlapDates(true);
    cal->SetActiveCategorie(1);
    cal->ToggleMark(D(2025, 9, 10));
    EXPECT_EQ(categories.Items(0).Dates().size(), 1);
    EXPECT_EQ(categories.Items(1).Dates().size(), 1);
    EXPECT_EQ(cal->FindMarkCategory(D(2025, 9, 10)), &categories.Items(0)) << "first in collection order";
    cal->ToggleMark(D(2025, 9, 10));
    EXPECT_TRUE(categories.Items(1).Dates().isEmpty()) << "unmarking touches the active category only";
    EXPECT_EQ(categories.Items(0).Dates().size(), 1);
}

TEST_F(CalendarTest, hiddenCategoriesFindAndDrawNoMark) {
    TdsPlanerCategories& categories = cal->Categories();
    categories.Items(1).AppendDate(QStringLiteral("12/09/2025"));
    EXPECT_EQ(cal->FindMarkCategory(D(2025, 9, 12)), &categories.Items(1));
    categories.Items(1).SetVisible(false);
    EXPECT_EQ(cal->FindMarkCategory(D(2025, 9, 12)), nullptr);
    EXPECT_TRUE(NumberIs(Shot(), CellOf(D(2025, 9, 12)), kInfoYellow, Qt::black));
}

TEST_F(CalendarTest, markedDatesShowAmongTrailingDaysAndAfterMonthChanges) {
    cal->ToggleMark(D(2025, 10, 2));
    const QImage september = Shot();
    EXPECT_EQ(september.pixelColor(CellOf(D(2025, 10, 2)).topLeft() + QPoint(2, 2)), kBlue) << "trailing day";
    cal->SetDate(D(2025, 10, 20));
    const QImage october = Shot();
    EXPECT_EQ(october.pixelColor(CellOf(D(2025, 10, 2)).topLeft() + QPoint(2, 2)), kBlue);
}

TEST_F(CalendarTest, shiftClickOnAFollowingMonthsDayShowsThatMonthAndMarksIt) {
    QTest::mouseClick(cal, Qt::LeftButton, Qt::ShiftModifier, CentreOf(D(2025, 10, 3)));
    EXPECT_EQ(cal->Date(), D(2025, 10, 3));
    EXPECT_EQ(cal->Categories().Items(0).Dates(), QStringList{QStringLiteral("03/10/2025")});
    QTest::mouseClick(cal, Qt::RightButton, Qt::ShiftModifier, CentreOf(D(2025, 10, 20)));
    EXPECT_TRUE(cal->Categories().Items(0).Dates().isEmpty())
        << "Shift+right click toggles the selected date";
}

TEST_F(CalendarTest, markingWithoutAnActiveCategoryDoesNothing) {
    cal->SetActiveCategorie(5);
    QTest::keyClick(cal, Qt::Key_Return);
    cal->Categories().Clear();
    cal->SetActiveCategorie(0);
    QTest::keyClick(cal, Qt::Key_Return);
    EXPECT_EQ(cal->Date(), D(2025, 9, 10));
}

TEST_F(CalendarTest, categoryChangesRedrawTheGridOnceInsideAnUpdateBracket) {
    TdsPlanerCategories& categories = cal->Categories();
    cal->painted.clear();
    categories.Items(0).SetColor(QColor(10, 20, 30));
    ASSERT_EQ(cal->painted.size(), 1u);
    EXPECT_TRUE(cal->painted[0].boundingRect().contains(CellOf(D(2025, 9, 10))));
    EXPECT_FALSE(cal->painted[0].boundingRect().contains(QPoint(2, 2))) << "the title is not redrawn";

    cal->painted.clear();
    categories.BeginUpdate();
    categories.BeginUpdate();
    categories.Items(0).AppendDate(QStringLiteral("01/09/2025"));
    categories.Items(1).SetVisible(false);
    categories.EndUpdate();
    EXPECT_TRUE(cal->painted.empty());
    categories.EndUpdate();
    EXPECT_EQ(cal->painted.size(), 1u);

    cal->painted.clear();
    categories.Items(1).SetVisible(false);
    categories.Items(0).SetName(QStringLiteral("Renamed"));
    EXPECT_TRUE(cal->painted.empty()) << "unchanged visibility and names do not redraw";
}

TEST_F(CalendarTest, screenshots) {
    cal->ToggleMark(D(2025, 9, 5));
    SaveScreenshot("calendar-monday-first.png");
    cal->SetFirstDayOfWeek(dwSunday);
    SaveScreenshot("calendar-sunday-first.png");
    cal->SetFirstDayOfWeek(dwMonday);
    cal->AddShowOption(soWeekNumbers);
    cal->SetCellWidth(28);
    SaveScreenshot("calendar-week-numbers.png");
    cal->RemoveShowOption(soWeekNumbers);
    cal->SetCellWidth(32);
    cal->RemoveShowOption(soToday);
    cal->SetCellHeight(25);
    SaveScreenshot("calendar-no-today-line.png");
    cal->AddShowOption(soToday);
    cal->SetCellHeight(22);
    cal->SetSelectedShape(ssEllipse);
    SaveScreenshot("calendar-ellipse.png");
    EXPECT_TRUE(QFile::exists(QStringLiteral(KALENDO_SCREENSHOT_DIR "/calendar-monday-first.png")));
}

TEST_F(CalendarTest, aDateChangeTellsWhetherTheCalendarsOwnKeysMadeIt) {
    std::vector<bool> fromKeyboard;
    QObject::connect(cal, &TdsCalendar::OnDateChange,
                     [&] { fromKeyboard.push_back(cal->DateChangeFromKeyboard()); });
    QTest::keyClick(cal, Qt::Key_Right);
    QTest::keyClick(cal, Qt::Key_PageUp);
    QTest::keyClick(cal, Qt::Key_Space);
    QTest::mouseClick(cal, Qt::LeftButton, {}, CentreOf(D(2025, 9, 24)));
    cal->NextMonthButton()->click();
    EXPECT_EQ(fromKeyboard, (std::vector<bool>{true, true, true, false, false}));
    EXPECT_FALSE(cal->DateChangeFromKeyboard()) << "only while the change is reported";
}

TEST_F(CalendarTest, aFocusFrameInTheMarginShowsWhenTheCalendarHasTheFocus) {
    const QColor focus = cal->palette().color(QPalette::Active, QPalette::Highlight);
    const QPoint margins[] = {{2, 120}, {cal->width() - 2, 120}, {120, cal->height() - 2}, {120, 2}};
    const QImage focused = Shot();
    SaveScreenshot("calendar-focused.png");
    otherControl->setFocus();
    QApplication::processEvents();
    const QImage unfocused = Shot();
    for (const QPoint& at : margins) {
        EXPECT_EQ(focused.pixelColor(at), focus) << at.x() << "," << at.y();
        EXPECT_NE(unfocused.pixelColor(at), focus) << at.x() << "," << at.y();
    }
}

} // namespace
} // namespace kalendo
