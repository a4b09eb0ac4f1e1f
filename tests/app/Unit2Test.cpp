#include "app/Unit2.h"
#include "KalendoVersion.h"

#include "app/DateTextEntry.h"
#include "app/QStringPrinter.h"
#include "app/StoredOptions.h"
#include "dates/DateEnvironment.h"
#include "dates/DateFormat.h"
#include "dates/DateStringTranslater.h"
#include "dates/HolidayTable.h"
#include "platform/LocaleAdapter.h"
#include "platform/MessageBoxes.h"
#include "tools/easter1.h"
#include "ui/CoolTrayIcon.h"
#include "ui/TextFade.h"

#include <QAccessible>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPrinter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace kalendo::app {
namespace {

using platform::MessageButtons;
using platform::MessageKind;
using platform::MessageRequest;
using platform::MessageResult;

DateTime Date(int year, int month, int day) { return EncodeDate(year, month, day); }

// The point at the centre of a day's cell in the calendar grid.
QPoint CellCentre(const TdsCalendar& calendar, DateTime date) {
    const CivilDate civil = DecodeDate(date);
    const int cell = civil.day + calendar.FirstCellOffset() - 1;
    const PixelRect rect = calendar.CellRect(cell / 7, cell % 7);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// The stored options and, beside them, the position, the version and the start of the week.
QStringList ExitValues() {
    QStringList names = {"left", "top", "appver", "StartOfWeek"};
    for (const StoredOption& option : StoredOptions())
        names << QString::fromLatin1(option.name);
    for (const StoredTextOption& option : StoredTextOptions())
        names << QString::fromLatin1(option.name);
    return names;
}

class Unit2Test : public ::testing::Test {
protected:
    // Monday 7 December 2026 at noon, in a United Kingdom locale.
    Unit2Test() : environment_(UnitedKingdomSettings(), clock_) {}

    std::unique_ptr<TForm1> Start() {
        auto form = std::make_unique<TForm1>(store_);
        form->SetTerminator([this] { ++terminations_; });
        form->SetModalRunner([this](QWidget& window) { shownWindows_.emplace_back(&window, window.pos()); });
        return form;
    }

    // Shows the window and makes it the active one, as at a real start.
    std::unique_ptr<TForm1> StartShown() {
        auto form = Start();
        form->show();
        form->activateWindow();
        QCoreApplication::processEvents();
        return form;
    }

    void Seed(const char* name, const QString& value) {
        store_->values.insert(QString::fromLatin1(name), value);
    }

    QString Stored(const char* name) const { return store_->values.value(QString::fromLatin1(name)); }

    QStringList MessageTexts() const {
        QStringList texts;
        for (const auto& box : boxes_)
            texts << box.text;
        return texts;
    }

    std::shared_ptr<FixedClock> clock_ =
        std::make_shared<FixedClock>(Date(2026, 12, 7) + EncodeTime(12, 0, 0));
    ScopedDateEnvironment environment_;
    std::shared_ptr<platform::MemorySettingsStore> store_ = std::make_shared<platform::MemorySettingsStore>();
    std::deque<MessageResult> answers_;
    std::vector<MessageRequest> boxes_;
    platform::ScopedMessageHandler handler_{[this](const MessageRequest& request) {
        boxes_.push_back(request);
        if (answers_.empty())
            return request.buttons == MessageButtons::OkCancel ? MessageResult::Cancel : MessageResult::Ok;
        const MessageResult answer = answers_.front();
        answers_.pop_front();
        return answer;
    }};
    int terminations_ = 0;
    std::vector<std::pair<QWidget*, QPoint>> shownWindows_;
};

TEST_F(Unit2Test, firstStart_opensOnTodayWithTheDefaultOptions) {
    auto form = Start();
    EXPECT_EQ(form->Planner1->Date(), Date(2026, 12, 7));
    EXPECT_EQ(form->Planner2->Date(), Date(2026, 12, 7));
    EXPECT_EQ(form->DayPanel->text(), QStringLiteral("0 Days"));
    EXPECT_EQ(form->YearPanel->text(), QStringLiteral("0 Years, 0 Months, 0 Weeks and 0 Days"));
    for (TdsPlanner* planner : {form->Planner1, form->Planner2}) {
        EXPECT_EQ(planner->CellWidth(), 32);
        EXPECT_FALSE(planner->ShowOptions().testFlag(soWeekNumbers));
        EXPECT_EQ(planner->CellHeight(), 25);
        EXPECT_FALSE(planner->ShowOptions().testFlag(soToday));
        EXPECT_EQ(planner->FirstDayOfWeek(), dwMonday);
        EXPECT_TRUE(planner->ShowOptions().testFlag(soSaturdays));
        EXPECT_TRUE(planner->ShowOptions().testFlag(soSundays));
        EXPECT_EQ(planner->BorderStyle(), bsSingle);
        EXPECT_EQ(planner->size(), QSize(234, 231));
    }
    EXPECT_EQ(form->GotoDateLeft->geometry(), QRect(9, 281, 98, 28))
        << "3 pixels lower without the today line";
    EXPECT_EQ(form->DateInputRight->geometry(), QRect(388, 281, 98, 28));
    EXPECT_TRUE(form->MondayWeek->isChecked());
    EXPECT_FALSE(form->SundayWeek->isChecked());
    EXPECT_FALSE(form->WEcheck->isChecked());
    EXPECT_FALSE(form->SECheck->isChecked());
    EXPECT_FALSE(form->WeekNumbers->isChecked());
    EXPECT_FALSE(form->TodaysDate->isChecked());
    EXPECT_TRUE(form->Alwaysontop1->isChecked());
    EXPECT_TRUE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(form->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(form->windowTitle().isEmpty());
    EXPECT_EQ(form->pos(), QPoint(522, 143));
    EXPECT_TRUE(form->Panel1->isHidden());
    EXPECT_TRUE(form->DateInputLeft->isHidden());
    EXPECT_TRUE(form->DateInputRight->isHidden());
    EXPECT_TRUE(form->TextFader1->Active());
    EXPECT_EQ(form->ClientArea->size(), QSize(496, 579));
}

TEST_F(Unit2Test, exit_writesExactlyTheStoredValuesAndEnds) {
    auto form = Start();
    form->ExitClickItem->trigger();
    EXPECT_EQ(terminations_, 1);
    QStringList keys = store_->values.keys();
    QStringList expected = ExitValues();
    keys.sort();
    expected.sort();
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(Stored("appver"), QString::fromLatin1(kalendo::kVersion));
    EXPECT_EQ(Stored("StartOfWeek"), QStringLiteral("M"));
    EXPECT_EQ(Stored("left"), QStringLiteral("522"));
    EXPECT_EQ(Stored("top"), QStringLiteral("143"));
    EXPECT_EQ(Stored("WE"), QStringLiteral("0"));
    EXPECT_EQ(Stored("AlwaysOnTop"), QStringLiteral("0"));
    EXPECT_EQ(Stored("PH"), QStringLiteral("1")) << "holidays shown";
    EXPECT_EQ(Stored("PB"), QStringLiteral("0")) << "business days are Monday to Friday";
    EXPECT_EQ(store_->commitCount, 1) << "one open, write and close";
}

TEST_F(Unit2Test, exit_thatCannotWriteAsksAndYesExitsWithoutSaving) {
    auto form = Start();
    store_->failingValue = QStringLiteral("WE"); // access is denied, as in a read-only store
    answers_ = {MessageResult::No, MessageResult::Yes};
    form->ExitClickItem->trigger();
    EXPECT_EQ(terminations_, 0) << "No stays";
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(boxes_[0].text.contains(QStringLiteral("'WE'"))) << boxes_[0].text.toStdString();
    EXPECT_TRUE(store_->values.isEmpty()) << "nothing half-written";

    form->ExitClickItem->trigger();
    EXPECT_EQ(terminations_, 1) << "Yes exits without saving";
}

TEST_F(Unit2Test, closingTheWindow_runsTheExitSequenceAndStaysOpenWhenItCannotWriteAndTheUserSaysNo) {
    auto form = StartShown();
    store_->failingValue = QStringLiteral("WN");
    answers_ = {MessageResult::No};
    EXPECT_FALSE(form->close()) << "a failed write keeps the window";
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(terminations_, 0);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_TRUE(boxes_[0].text.contains(QStringLiteral("'WN'")));

    store_->failingValue.clear();
    form->close();
    EXPECT_EQ(terminations_, 1);
    EXPECT_EQ(Stored("appver"), QString::fromLatin1(kalendo::kVersion));
    EXPECT_TRUE(form->close()) << "once the program is ending, closing is closing";
    EXPECT_EQ(terminations_, 1);
}

TEST_F(Unit2Test, startup_storedOptionsAreApplied) {
    Seed("WN", "1");
    Seed("ST", "1");
    Seed("WE", "1");
    Seed("StartOfWeek", "S");
    Seed("left", "10");
    Seed("top", "20");
    Seed("FI", "77");
    auto form = Start();
    for (TdsPlanner* planner : {form->Planner1, form->Planner2}) {
        EXPECT_EQ(planner->CellWidth(), 28);
        EXPECT_TRUE(planner->ShowOptions().testFlag(soWeekNumbers));
        EXPECT_EQ(planner->CellHeight(), 22);
        EXPECT_TRUE(planner->ShowOptions().testFlag(soToday));
        EXPECT_EQ(planner->size(), QSize(234, 226));
        EXPECT_EQ(planner->FirstDayOfWeek(), dwSunday);
        EXPECT_FALSE(planner->ShowOptions().testFlag(soSaturdays));
        EXPECT_FALSE(planner->ShowOptions().testFlag(soSundays));
    }
    EXPECT_TRUE(form->WEcheck->isChecked());
    EXPECT_TRUE(form->SundayWeek->isChecked());
    EXPECT_FALSE(form->MondayWeek->isChecked());
    EXPECT_EQ(form->GotoDateLeft->y(), 278);
    EXPECT_EQ(form->pos(), QPoint(10, 20));

    form->ExitClick();
    EXPECT_EQ(Stored("FI"), QStringLiteral("77")) << "carried through unchanged";
    EXPECT_EQ(Stored("StartOfWeek"), QStringLiteral("S"));
    EXPECT_EQ(Stored("WN"), QStringLiteral("1"));
}

TEST_F(Unit2Test, startup_alwaysOnTopOneOpensAnOrdinaryWindow) {
    Seed("AlwaysOnTop", "1");
    auto form = Start();
    EXPECT_FALSE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(form->Alwaysontop1->isChecked());
    form->ExitClick();
    EXPECT_EQ(Stored("AlwaysOnTop"), QStringLiteral("1"));
}

TEST_F(Unit2Test, startup_malformedValuesReadAsTheirDefaults) {
    Seed("WE", "abc");
    Seed("WN", "2");
    Seed("ST", "7");
    Seed("AlwaysOnTop", "9");
    auto form = Start();
    EXPECT_EQ(form->WE, 0);
    EXPECT_FALSE(form->WEcheck->isChecked());
    EXPECT_EQ(form->Planner1->CellWidth(), 32) << "WN 2 leaves the layout as designed";
    EXPECT_EQ(form->Planner1->CellHeight(), 22) << "ST 7 leaves the layout as designed";
    EXPECT_TRUE(form->Planner1->ShowOptions().testFlag(soToday));
    EXPECT_EQ(form->GotoDateLeft->y(), 278);
    EXPECT_TRUE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    form->ExitClick();
    EXPECT_EQ(Stored("WE"), QStringLiteral("0"));
    EXPECT_EQ(Stored("WN"), QStringLiteral("2")) << "written back as read";
    EXPECT_EQ(Stored("AlwaysOnTop"), QStringLiteral("9"));
}

TEST_F(Unit2Test, startup_lowerCaseStartOfWeekChangesNothingAndExitRewritesIt) {
    Seed("StartOfWeek", "s");
    auto form = Start();
    EXPECT_TRUE(form->MondayWeek->isChecked());
    EXPECT_FALSE(form->SundayWeek->isChecked());
    form->ExitClick();
    EXPECT_EQ(Stored("StartOfWeek"), QStringLiteral("M"));
}

TEST_F(Unit2Test, startup_bothDatesValueOtherThanOneTicksAndCountsBothDates) {
    Seed("SE", "5");
    auto form = Start();
    EXPECT_TRUE(form->SECheck->isChecked());
    EXPECT_EQ(form->SE, 1);
    EXPECT_EQ(form->DayPanel->text(), QStringLiteral("1 Days"));
    form->ExitClick();
    EXPECT_EQ(Stored("SE"), QStringLiteral("1"));
}

TEST_F(Unit2Test, startup_savedDatesOpenTheCalendarsOnThem) {
    Seed("Cal2", "01/03/2027");
    auto form = Start();
    EXPECT_EQ(form->Planner1->Date(), Date(2026, 12, 7)) << "empty means today";
    EXPECT_EQ(form->Planner2->Date(), Date(2027, 3, 1));
    EXPECT_EQ(form->DayPanel->text(), QStringLiteral("84 Days"));
}

TEST_F(Unit2Test, startup_savedPairInTheWrongOrderShowsTheOrderErrorAtOnce) {
    Seed("Cal1", "10/10/2020");
    Seed("Cal2", "01/01/2020");
    auto form = Start();
    EXPECT_EQ(form->YearPanel->text(), QStringLiteral("--- Date on Left must be before Date on Right ---"));
    EXPECT_EQ(form->YearPanel->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(form->YearPanel->palette().color(QPalette::WindowText), QColor(255, 255, 255));
}

TEST_F(Unit2Test, startup_storedDatesThatNoLongerReadOpenOnToday) {
    const struct {
        const char* meaning;
        const char* text;
    } rows[] = {
        {"not a date", "abc"},
        {"no such day", "31/02/2020"},
        {"before the calendars' range", "31/12/1751"},
        {"after the calendars' range", "01/01/3001"},
    };
    for (const auto& row : rows) {
        store_->values.clear();
        Seed("Cal1", QString::fromLatin1(row.text));
        auto form = Start();
        EXPECT_EQ(form->Planner1->Date(), Date(2026, 12, 7)) << row.meaning;
        EXPECT_EQ(form->DayPanel->text(), QStringLiteral("0 Days")) << row.meaning;
    }
}

TEST_F(Unit2Test, startup_positionOffEveryScreenFallsBackToTheDesignPosition) {
    const QPoint corner =
        QGuiApplication::primaryScreen()->availableGeometry().bottomRight() - QPoint(60, 20);
    for (const QPoint stored : {QPoint(-30000, 40000), corner}) { // a corner is not the menu
        Seed("left", QString::number(stored.x()));
        Seed("top", QString::number(stored.y()));
        EXPECT_EQ(Start()->pos(), QPoint(522, 143)) << stored.x() << "," << stored.y();
    }
}

TEST_F(Unit2Test, span_clickingADayRecomputesThePanelsAndFocusesTheCount) {
    auto form = StartShown();
    QTest::mouseClick(form->Planner2, Qt::LeftButton, Qt::NoModifier,
                      CellCentre(*form->Planner2, Date(2026, 12, 14)));
    EXPECT_EQ(form->Planner2->Date(), Date(2026, 12, 14));
    EXPECT_EQ(form->DayPanel->text(), QStringLiteral("7 Days"));
    EXPECT_EQ(form->WeekPanel->text(), QStringLiteral("1 Weeks and 0 Days"));
    EXPECT_EQ(form->MonthPanel->text(), QStringLiteral("0 Months, 1 Weeks and 0 Days"));
    EXPECT_EQ(form->YearPanel->text(), QStringLiteral("0 Years, 0 Months, 1 Weeks and 0 Days"));
    EXPECT_TRUE(form->NoDays->hasFocus());
}

TEST_F(Unit2Test, span_arrowKeysKeepMovingTheDateWithTheFocusInTheCalendar) {
    auto form = StartShown();
    form->Planner2->setFocus();
    QTest::keyClick(form->Planner2, Qt::Key_Right);
    EXPECT_EQ(form->DayPanel->text(), QStringLiteral("1 Days"));
    ASSERT_TRUE(form->Planner2->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(form->Planner2->Date(), Date(2026, 12, 9)) << "the second key moved the date again";
}

TEST_F(Unit2Test, focus_returningToTheCountSelectsItSoTypingReplacesIt) {
    const struct {
        const char* meaning;
        std::function<void(TForm1&)> action;
    } rows[] = {
        {"a day clicked in a calendar",
         [](TForm1& form) {
             QTest::mouseClick(form.Planner2, Qt::LeftButton, Qt::NoModifier,
                               CellCentre(*form.Planner2, Date(2026, 12, 14)));
         }},
        {"the both-dates box clicked", [](TForm1& form) { QTest::mouseClick(form.SECheck, Qt::LeftButton); }},
        {"Subtract Days clicked",
         [](TForm1& form) { QTest::mouseClick(form.SubtractCheck, Qt::LeftButton); }},
        {"a year button pressed", [](TForm1& form) { QTest::mouseClick(form.Forward1Cal1, Qt::LeftButton); }},
    };
    for (const auto& row : rows) {
        auto form = StartShown();
        form->NoDays->setText(QStringLiteral("12"));
        form->Planner1->setFocus();
        row.action(*form);
        ASSERT_TRUE(form->NoDays->hasFocus()) << row.meaning;
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("5"));
        EXPECT_EQ(form->NoDays->text(), QStringLiteral("5")) << row.meaning;
    }
}

TEST_F(Unit2Test, span_orderErrorLeavesTheOtherPanelsAndClearsWhenPutRight) {
    auto form = StartShown();
    form->Planner2->setFocus();
    QTest::keyClick(form->Planner2, Qt::Key_Right);
    form->Planner2->setFocus();
    QTest::keyClick(form->Planner2, Qt::Key_Left);
    form->Planner2->setFocus();
    QTest::keyClick(form->Planner2, Qt::Key_Left);
    EXPECT_EQ(form->YearPanel->text(), QStringLiteral("--- Date on Left must be before Date on Right ---"));
    EXPECT_EQ(form->DayPanel->text(), QStringLiteral("0 Days")) << "the last good span stays";
    form->Planner2->setFocus();
    QTest::keyClick(form->Planner2, Qt::Key_Right);
    EXPECT_EQ(form->YearPanel->text(), QStringLiteral("0 Years, 0 Months, 0 Weeks and 0 Days"));
    EXPECT_EQ(form->YearPanel->palette().color(QPalette::Window), QColor(0, 0, 128));
}

TEST_F(Unit2Test, span_bothDatesBoxCountsOneMoreDay) {
    auto form = StartShown();
    QTest::mouseClick(form->SECheck, Qt::LeftButton);
    EXPECT_EQ(form->SE, 1);
    EXPECT_EQ(form->DayPanel->text(), QStringLiteral("1 Days"));
    EXPECT_EQ(form->YearPanel->text(), QStringLiteral("0 Years, 0 Months, 0 Weeks and 1 Days"));
    EXPECT_TRUE(form->NoDays->hasFocus());
    QTest::mouseClick(form->SECheck, Qt::LeftButton);
    EXPECT_EQ(form->SE, 0);
    EXPECT_EQ(form->DayPanel->text(), QStringLiteral("0 Days"));
}

TEST_F(Unit2Test, span_calendarRefusesToLeaveTheRange) {
    Seed("Cal1", "01/01/1752");
    Seed("Cal2", "31/12/3000");
    auto form = StartShown();
    form->Planner1->setFocus();
    QTest::keyClick(form->Planner1, Qt::Key_Left);
    EXPECT_EQ(form->Planner1->Date(), Date(1752, 1, 1));
    form->Planner2->setFocus();
    QTest::keyClick(form->Planner2, Qt::Key_Right);
    EXPECT_EQ(form->Planner2->Date(), Date(3000, 12, 31));
    EXPECT_EQ(form->DayPanel->text(), QStringLiteral("456187 Days"));
}

TEST_F(Unit2Test, rollover_onlyACalendarOnTodayMovesAtTwoSecondsToMidnight) {
    Seed("WC", "1");
    Seed("Cal2", "01/01/2027");
    auto form = Start();
    EXPECT_TRUE(form->Timer1.isActive());
    EXPECT_EQ(form->Timer1.interval(), 500);
    clock_->Set(Date(2026, 12, 7) + EncodeTime(23, 59, 57));
    form->Timer1Timer();
    EXPECT_EQ(form->Planner1->Date(), Date(2026, 12, 7));
    clock_->Set(Date(2026, 12, 7) + EncodeTime(23, 59, 58, 400));
    form->Timer1Timer();
    EXPECT_EQ(form->Planner1->Date(), Date(2026, 12, 8));
    EXPECT_EQ(form->Planner2->Date(), Date(2027, 1, 1));
    EXPECT_EQ(form->DayPanel->text(), QStringLiteral("24 Days")) << "the panels follow the roll-over";
    clock_->Set(Date(2026, 12, 7) + EncodeTime(23, 59, 58, 900));
    form->Timer1Timer();
    EXPECT_EQ(form->Planner1->Date(), Date(2026, 12, 8)) << "moved only once";
}

TEST_F(Unit2Test, rollover_isOffUnlessTheStoreTurnsItOn) {
    auto form = Start();
    clock_->Set(Date(2026, 12, 7) + EncodeTime(23, 59, 58));
    form->Timer1Timer();
    EXPECT_EQ(form->Planner1->Date(), Date(2026, 12, 7));
    EXPECT_FALSE(form->Timer1.isActive()) << "an idle window wakes for nothing";
}

TEST_F(Unit2Test, rollover_twelveHourClockRollsOverAtElevenFiftyEightPm) {
    ScopedDateEnvironment us(UnitedStatesSettings(), clock_);
    Seed("WC", "1");
    auto form = Start();
    clock_->Set(Date(2026, 12, 7) + EncodeTime(23, 59, 58));
    form->Timer1Timer();
    EXPECT_EQ(form->Planner1->Date(), Date(2026, 12, 8));
    EXPECT_EQ(form->Planner2->Date(), Date(2026, 12, 8));
}

TEST_F(Unit2Test, dateInput_maskFollowsTheLocaleOrderAndSeparator) {
    EXPECT_EQ(TForm1::DateInputMask(), QStringLiteral("00/00/9999;_"));
    EXPECT_EQ(TForm1::DateInputYearPosition(), 6);
    FormatSettings dotted = UnitedKingdomSettings();
    dotted.shortDateFormat = "dd/mm/yyyy";
    dotted.dateSeparator = ".";
    ScopedDateEnvironment german(dotted, clock_);
    EXPECT_EQ(TForm1::DateInputMask(), QStringLiteral("00.00.9999;_"));
    FormatSettings yearFirst = UnitedKingdomSettings();
    yearFirst.shortDateFormat = "yyyy/mm/dd";
    yearFirst.dateSeparator = "-";
    ScopedDateEnvironment iso(yearFirst, clock_);
    EXPECT_EQ(TForm1::DateInputMask(), QStringLiteral("9999-00-00;_"));
    EXPECT_EQ(TForm1::DateInputYearPosition(), 0);
}

TEST_F(Unit2Test, dateInput_gotoDateOpensTheInputWithTheCalendarsDate) {
    Seed("Cal2", "05/03/2027");
    auto form = StartShown();
    QTest::mouseClick(form->GotoDateRight, Qt::LeftButton);
    EXPECT_TRUE(form->DateInputRight->isVisible());
    EXPECT_FALSE(form->GotoDateRight->isVisible());
    EXPECT_EQ(form->DateInputRight->displayText(), QStringLiteral("05/03/2027"));
    EXPECT_TRUE(form->DateInputRight->hasFocus());
}

TEST_F(Unit2Test, dateInput_enterAcceptsADateAndRecomputesThePanels) {
    auto form = StartShown();
    QTest::mouseClick(form->GotoDateLeft, Qt::LeftButton);
    form->DateInputLeft->setText(QStringLiteral("15/03/2001"));
    QTest::keyClick(form->DateInputLeft, Qt::Key_Return);
    EXPECT_TRUE(boxes_.empty()) << MessageTexts().join(u'|').toStdString();
    EXPECT_EQ(form->Planner1->Date(), Date(2001, 3, 15));
    EXPECT_FALSE(form->DateInputLeft->isVisible());
    EXPECT_TRUE(form->GotoDateLeft->isVisible());
    EXPECT_EQ(form->YearPanel->text(), QStringLiteral("25 Years, 8 Months, 3 Weeks and 2 Days"));
}

TEST_F(Unit2Test, dateInput_yearChecksAndInvalidDates) {
    const struct {
        const char* meaning;
        const char* text;
        const char* message; // null: accepted
        DateTime accepted;
    } rows[] = {
        {"first year", "01/01/1752", nullptr, Date(1752, 1, 1)},
        {"last year", "31/12/3000", nullptr, Date(3000, 12, 31)},
        {"single-digit day and month", "1/2/2000", nullptr, Date(2000, 2, 1)},
        {"year before the range", "01/01/1751", "Cannot go before the year 1752", 0},
        {"year after the range", "01/01/3001", "Cannot go beyond the year 3000", 0},
        {"blank year", "01/01/", "Cannot go before the year 1752", 0},
        {"29 February of a common year", "29/02/2023", "Invalid date, try again!", 0},
        {"half a year", "01/01/20", "Invalid date, try again!", 0},
        {"no day", "/01/2020", "Invalid date, try again!", 0},
    };
    for (const auto& row : rows) {
        boxes_.clear();
        auto form = StartShown();
        QTest::mouseClick(form->GotoDateLeft, Qt::LeftButton);
        form->DateInputLeft->setText(QString::fromLatin1(row.text));
        QTest::keyClick(form->DateInputLeft, Qt::Key_Return);
        if (row.message) {
            ASSERT_EQ(boxes_.size(), 1u) << row.meaning;
            EXPECT_EQ(boxes_[0].text, QString::fromLatin1(row.message)) << row.meaning;
            EXPECT_EQ(boxes_[0].kind, MessageKind::Information) << row.meaning;
            EXPECT_EQ(form->Planner1->Date(), Date(2026, 12, 7)) << row.meaning;
        } else {
            EXPECT_TRUE(boxes_.empty()) << row.meaning;
            EXPECT_EQ(form->Planner1->Date(), row.accepted) << row.meaning;
        }
        EXPECT_FALSE(form->DateInputLeft->isVisible()) << row.meaning << ": the left input closes";
        EXPECT_TRUE(form->GotoDateLeft->isVisible()) << row.meaning;
    }
}

TEST_F(Unit2Test, dateInput_rightInputStaysOpenAfterARangeMessage) {
    auto form = StartShown();
    QTest::mouseClick(form->GotoDateRight, Qt::LeftButton);
    form->DateInputRight->setText(QStringLiteral("01/01/3001"));
    QTest::keyClick(form->DateInputRight, Qt::Key_Return);
    ASSERT_EQ(MessageTexts(), QStringList{QStringLiteral("Cannot go beyond the year 3000")});
    EXPECT_TRUE(form->DateInputRight->isVisible());
    EXPECT_FALSE(form->GotoDateRight->isVisible());
    EXPECT_EQ(form->DateInputRight->displayText(), QStringLiteral("01/01/3001"));
}

TEST_F(Unit2Test, dateInput_leavingTheInputShowsTheButtonAgain) {
    auto form = StartShown();
    QTest::mouseClick(form->GotoDateLeft, Qt::LeftButton);
    ASSERT_TRUE(form->DateInputLeft->hasFocus());
    form->NoDays->setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(form->DateInputLeft->isVisible());
    EXPECT_TRUE(form->GotoDateLeft->isVisible());
    EXPECT_TRUE(form->Planner1->hasFocus());
}

TEST_F(Unit2Test, yearButtons_moveByYearsAndRecomputeThePanels) {
    Seed("Cal1", "15/03/2001");
    Seed("Cal2", "15/03/2021");
    auto form = StartShown();
    QTest::mouseClick(form->Forward10Cal1, Qt::LeftButton);
    EXPECT_EQ(form->Planner1->Date(), Date(2011, 3, 15));
    EXPECT_EQ(form->YearPanel->text(), QStringLiteral("10 Years, 0 Months, 0 Weeks and 0 Days"));
    EXPECT_TRUE(form->NoDays->hasFocus());

    const struct {
        const char* meaning;
        QPushButton* TForm1::*button;
        DateTime expectedLeft;
        DateTime expectedRight;
    } rows[] = {
        {"left back one", &TForm1::Back1Cal1, Date(2010, 3, 15), Date(2021, 3, 15)},
        {"left forward one", &TForm1::Forward1Cal1, Date(2011, 3, 15), Date(2021, 3, 15)},
        {"left back ten", &TForm1::Back10Cal1, Date(2001, 3, 15), Date(2021, 3, 15)},
        {"right back one", &TForm1::Back1Cal2, Date(2001, 3, 15), Date(2020, 3, 15)},
        {"right forward one", &TForm1::Forward1Cal2, Date(2001, 3, 15), Date(2021, 3, 15)},
        {"right forward ten", &TForm1::Forward10Cal2, Date(2001, 3, 15), Date(2031, 3, 15)},
        {"right back ten", &TForm1::Back10Cal2, Date(2001, 3, 15), Date(2021, 3, 15)},
    };
    for (const auto& row : rows) {
        QTest::mouseClick((*form).*(row.button), Qt::LeftButton);
        EXPECT_EQ(form->Planner1->Date(), row.expectedLeft) << row.meaning;
        EXPECT_EQ(form->Planner2->Date(), row.expectedRight) << row.meaning;
    }
}

TEST_F(Unit2Test, yearButtons_clampAtTheRangeAndFromTheTwentyNinthOfFebruary) {
    Seed("Cal1", "29/02/2024");
    Seed("Cal2", "15/06/2995");
    auto form = Start();
    form->Forward1Cal1Click();
    EXPECT_EQ(form->Planner1->Date(), Date(2025, 2, 28));
    form->Forward10Cal2Click();
    EXPECT_EQ(form->Planner2->Date(), Date(3000, 6, 15)) << "stops at 3000";
    form->Forward1Cal2Click();
    EXPECT_EQ(form->Planner2->Date(), Date(3000, 6, 15));
    form->Planner1->SetDate(Date(1755, 1, 1));
    form->Back10Cal1Click();
    EXPECT_EQ(form->Planner1->Date(), Date(1752, 1, 1)) << "stops at 1752";
    form->Back1Cal1Click();
    EXPECT_EQ(form->Planner1->Date(), Date(1752, 1, 1));
}

TEST_F(Unit2Test, addSubtract_tickBoxesChooseTheDirectionTheUnitAndTheColour) {
    auto form = Start();
    form->NoDays->setText(QStringLiteral("5"));
    form->WEcheck->setChecked(false);
    form->SubtractCheckClick();
    EXPECT_EQ(form->SB1->text(), QStringLiteral("Monday 30 November 2026"));
    EXPECT_EQ(form->SB1->palette().color(QPalette::ButtonText), QColor(255, 0, 0));
    EXPECT_EQ(form->WE, 0);
    form->WEcheck->setChecked(true);
    form->AddCheckClick();
    EXPECT_EQ(form->SB1->text(), QStringLiteral("Saturday 12 December 2026"));
    EXPECT_EQ(form->SB1->palette().color(QPalette::ButtonText), QColor(0, 0, 255));
    EXPECT_EQ(form->WE, 1);
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(Unit2Test, addSubtract_activationShowsTheLeftDateInBlue) {
    auto form = StartShown();
    ASSERT_TRUE(form->isActiveWindow());
    EXPECT_EQ(form->SB1->text(), QStringLiteral("Monday 7 December 2026"));
    EXPECT_EQ(form->SB1->palette().color(QPalette::ButtonText), QColor(0, 0, 255));
    EXPECT_TRUE(form->NoDays->hasFocus());
}

TEST_F(Unit2Test, addSubtract_undecodableLongDateIsReportedOnceNotOnEveryActivation) {
    FormatSettings foreign = UnitedKingdomSettings();
    // Every month the same name of two words: 7 September and 7 December 2026 are both Mondays, so
    // the long date names no one date, and the decoder cannot read the name either.
    foreign.longMonthNames.fill("Dez ember");
    ScopedDateEnvironment spaced(foreign, clock_);
    auto form = StartShown();
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].kind, MessageKind::Error);
    EXPECT_TRUE(
        boxes_[0].text.startsWith(QStringLiteral("Unable to decode the date time : Monday 7 Dez ember 2026")))
        << boxes_[0].text.toStdString();
    EXPECT_TRUE(form->SB1->text().isEmpty()) << "the caption keeps its previous text";
    QEvent activation(QEvent::ActivationChange);
    QApplication::sendEvent(form.get(), &activation);
    EXPECT_EQ(boxes_.size(), 1u) << "closing the box re-activates the window: no second box";
    form->SubtractCheck->click();
    EXPECT_EQ(boxes_.size(), 2u) << "a click is a new action and reports again";
}

TEST_F(Unit2Test, addSubtract_onlyAReturnFromAnotherOfTheProgramsWindowsGoesBackToAdd) {
    auto form = StartShown();
    form->NoDays->setText(QStringLiteral("5"));
    QTest::mouseClick(form->SubtractCheck, Qt::LeftButton);
    ASSERT_TRUE(form->SubtractCheck->isChecked());

    // Stay on top changed twice: the same window all along, no return from elsewhere.
    form->Alwaysontop1->trigger();
    form->Alwaysontop1->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->SubtractCheck->isChecked());

    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_TRUE(form->SubtractCheck->isChecked()) << "leaving is no activation";
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_TRUE(form->AddCheck->isChecked()) << "back from another of the program's windows";
    EXPECT_EQ(form->SB1->text(), QStringLiteral("Monday 14 December 2026"));
}

TEST_F(Unit2Test, addSubtract_clickingTheTickedBoxKeepsItTickedAndRecomputes) {
    auto form = StartShown();
    form->NoDays->setText(QStringLiteral("5"));
    QTest::mouseClick(form->AddCheck, Qt::LeftButton);
    EXPECT_TRUE(form->AddCheck->isChecked());
    EXPECT_FALSE(form->SubtractCheck->isChecked());
    EXPECT_EQ(form->SB1->text(), QStringLiteral("Monday 14 December 2026"));
    EXPECT_TRUE(form->NoDays->hasFocus());
    QTest::mouseClick(form->SubtractCheck, Qt::LeftButton);
    EXPECT_TRUE(form->SubtractCheck->isChecked());
    EXPECT_FALSE(form->AddCheck->isChecked());
    EXPECT_EQ(form->SB1->text(), QStringLiteral("Monday 30 November 2026"));
    QTest::mouseClick(form->SubtractCheck, Qt::LeftButton);
    EXPECT_TRUE(form->SubtractCheck->isChecked());
}

TEST_F(Unit2Test, addSubtract_enterOnATickBoxRunsItsClickWithoutToggling) {
    auto form = StartShown();
    form->NoDays->setText(QStringLiteral("5"));
    QTest::keyClick(form->SubtractCheck, Qt::Key_Return);
    EXPECT_TRUE(form->SubtractCheck->isChecked());
    EXPECT_FALSE(form->AddCheck->isChecked());
    EXPECT_EQ(form->SB1->text(), QStringLiteral("Monday 30 November 2026"));
    QTest::keyClick(form->WEcheck, Qt::Key_Enter);
    EXPECT_FALSE(form->WEcheck->isChecked()) << "Enter does not toggle";
    QTest::keyClick(form->SECheck, Qt::Key_Return);
    EXPECT_FALSE(form->SECheck->isChecked());
    EXPECT_EQ(form->SE, 0);
}

TEST_F(Unit2Test, addSubtract_weekEndBoxInSubtractModeRecomputesInRedAndDropsTheHighlight) {
    auto form = StartShown();
    form->NoDays->setText(QStringLiteral("5"));
    form->SubtractCheckClick();
    QTest::mouseClick(form->WEcheck, Qt::LeftButton);
    EXPECT_EQ(form->WE, 1);
    EXPECT_EQ(form->SB1->text(), QStringLiteral("Wednesday 2 December 2026"));
    EXPECT_EQ(form->SB1->palette().color(QPalette::ButtonText), QColor(255, 0, 0));
    for (TdsPlanner* planner : {form->Planner1, form->Planner2}) {
        EXPECT_FALSE(planner->ShowOptions().testFlag(soSaturdays));
        EXPECT_FALSE(planner->ShowOptions().testFlag(soSundays));
    }
    EXPECT_TRUE(form->NoDays->hasFocus());
}

TEST_F(Unit2Test, addSubtract_typingChangesNothingUntilAskedAndOnlyDigitsPass) {
    auto form = StartShown();
    form->NoDays->selectAll();
    QTest::keyClicks(form->NoDays, QStringLiteral("1a-2 3x456"));
    EXPECT_EQ(form->NoDays->text(), QStringLiteral("12345")) << "at most five digits";
    EXPECT_EQ(form->SB1->text(), QStringLiteral("Monday 7 December 2026"));
    QTest::keyClick(form->NoDays, Qt::Key_Backspace);
    EXPECT_EQ(form->NoDays->text(), QStringLiteral("1234"));
    form->AddCheckClick();
    EXPECT_EQ(form->SB1->text(), QStringLiteral("Friday 29 August 2031"));
}

TEST_F(Unit2Test, addSubtract_subtractWithoutWeekEndsIsStoredAtExit) {
    auto form = Start();
    form->WEcheck->setChecked(false);
    form->SubtractCheckClick();
    form->ExitClick();
    EXPECT_EQ(Stored("WE"), QStringLiteral("0"));
    auto again = Start();
    EXPECT_FALSE(again->WEcheck->isChecked());
}

TEST_F(Unit2Test, resultButton_putsTheDateItShowsIntoTheRightCalendar) {
    auto form = StartShown();
    form->NoDays->setText(QStringLiteral("5"));
    form->AddCheckClick();
    ASSERT_EQ(form->SB1->text(), QStringLiteral("Monday 14 December 2026"));
    QTest::mouseClick(form->SB1, Qt::LeftButton);
    EXPECT_EQ(form->Planner2->Date(), Date(2026, 12, 14)) << "business days, as shown";
    EXPECT_EQ(form->DayPanel->text(), QStringLiteral("7 Days")) << "the panels follow";
    form->SubtractCheckClick();
    form->NoDays->setText(QStringLiteral("9")); // typed, not yet computed: the button still shows 5
    form->SB1Click();
    EXPECT_EQ(form->Planner2->Date(), Date(2026, 11, 30));
    EXPECT_EQ(form->YearPanel->text(), QStringLiteral("--- Date on Left must be before Date on Right ---"));
}

TEST_F(Unit2Test, resultButton_stopsAtTheEndsOfTheCalendarsRange) {
    const struct {
        const char* meaning;
        DateTime left;
        bool subtract;
        DateTime expected;
        Qt::Key inward; // a key that moves the date back into the range
        int inwardStep;
    } rows[] = {
        {"adding past 3000", Date(2990, 6, 1), false, Date(3000, 12, 31), Qt::Key_Left, -1},
        {"subtracting before 1752", Date(1760, 6, 1), true, Date(1752, 1, 1), Qt::Key_Right, 1},
        {"landing on the last day", Date(3000, 12, 31) - 99999, false, Date(3000, 12, 31), Qt::Key_Left, -1},
    };
    for (const auto& row : rows) {
        auto form = StartShown();
        form->Planner1->SetDate(row.left);
        form->WEcheck->setChecked(true);
        form->NoDays->setText(QStringLiteral("99999"));
        if (row.subtract)
            form->SubtractCheckClick();
        else
            form->AddCheckClick();
        form->SB1Click();
        EXPECT_EQ(form->Planner2->Date(), row.expected) << row.meaning;
        QTest::keyClick(form->Planner2, row.inward);
        EXPECT_EQ(form->Planner2->Date(), row.expected + row.inwardStep)
            << row.meaning << ": the calendar still moves";
    }
}

TEST_F(Unit2Test, defaults_firstDayOfWeekItemsAreARadioPairThatToggles) {
    auto form = Start();
    const QActionGroup* group = form->SundayWeek->actionGroup();
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(form->MondayWeek->actionGroup(), group);
    EXPECT_TRUE(group->isExclusive()) << "drawn with radio marks";
    form->SundayWeek->trigger();
    EXPECT_TRUE(form->SundayWeek->isChecked());
    EXPECT_FALSE(form->MondayWeek->isChecked());
    EXPECT_EQ(form->Planner1->FirstDayOfWeek(), dwSunday);
    EXPECT_EQ(form->Planner2->FirstDayOfWeek(), dwSunday);
    form->SundayWeek->trigger();
    EXPECT_TRUE(form->MondayWeek->isChecked());
    EXPECT_EQ(form->Planner2->FirstDayOfWeek(), dwMonday);
    form->MondayWeek->trigger();
    EXPECT_TRUE(form->SundayWeek->isChecked());
    EXPECT_EQ(form->Planner1->FirstDayOfWeek(), dwSunday);
    form->ExitClick();
    EXPECT_EQ(Stored("StartOfWeek"), QStringLiteral("S"));
}

TEST_F(Unit2Test, defaults_weekNumbersAndTodayLineKeepTheCalendarSize) {
    auto form = Start();
    form->WeekNumbers->trigger();
    form->TodaysDate->trigger();
    for (TdsPlanner* planner : {form->Planner1, form->Planner2}) {
        EXPECT_TRUE(planner->ShowOptions().testFlag(soWeekNumbers));
        EXPECT_EQ(planner->CellWidth(), 28);
        EXPECT_TRUE(planner->ShowOptions().testFlag(soToday));
        EXPECT_EQ(planner->CellHeight(), 22);
        EXPECT_EQ(planner->size(), QSize(234, 226));
    }
    EXPECT_EQ(form->WN, 1);
    EXPECT_EQ(form->ST, 1);
    EXPECT_EQ(form->GotoDateLeft->y(), 281) << "only the start moves the Goto buttons";
    form->WeekNumbers->trigger();
    EXPECT_EQ(form->Planner1->CellWidth(), 32);
    EXPECT_FALSE(form->Planner2->ShowOptions().testFlag(soWeekNumbers));
    EXPECT_EQ(form->WN, 0);
    EXPECT_FALSE(form->WeekNumbers->isChecked());
}

TEST_F(Unit2Test, defaults_stayOnTopOffIsStoredAsOne) {
    auto form = Start();
    form->Alwaysontop1->trigger();
    EXPECT_FALSE(form->Alwaysontop1->isChecked());
    EXPECT_FALSE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(form->AlwaysOnTop, 1);
    form->ExitClick();
    EXPECT_EQ(Stored("AlwaysOnTop"), QStringLiteral("1"));
    auto again = Start();
    EXPECT_FALSE(again->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(Unit2Test, defaults_weekItemsFollowTheStoredMenuValue) {
    const struct {
        const char* meaning;
        const char* wf;
        bool visible;
    } rows[] = {{"WF 2 hides", "2", false}, {"WF 1 shows", "1", true}, {"WF 0 leaves", "0", true}};
    for (const auto& row : rows) {
        Seed("WF", QString::fromLatin1(row.wf));
        auto form = Start();
        emit form->Setup1->aboutToShow();
        EXPECT_EQ(form->SundayWeek->isVisible(), row.visible) << row.meaning;
        EXPECT_EQ(form->MondayWeek->isVisible(), row.visible) << row.meaning;
        EXPECT_EQ(form->WeekNumbers->isVisible(), row.visible) << row.meaning;
        EXPECT_TRUE(form->Alwaysontop1->isVisible()) << row.meaning;
        EXPECT_TRUE(form->TodaysDate->isVisible()) << row.meaning;
    }
}

TEST_F(Unit2Test, minimise_withoutANotificationAreaMinimisesNormally) {
    TCoolTrayIcon::OverrideTrayAvailable(false);
    auto form = StartShown();
    form->Minimize1->trigger();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->isMinimized());
    EXPECT_EQ(form->TrayIcon1, nullptr);
    TCoolTrayIcon::OverrideTrayAvailable(std::nullopt);
}

TEST_F(Unit2Test, minimise_hidesIntoTheIconAndAClickBringsItBack) {
    TCoolTrayIcon::OverrideTrayAvailable(true);
    auto form = StartShown();
    form->move(100, 120);
    form->Minimize1->trigger();
    ASSERT_NE(form->TrayIcon1, nullptr);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->isMinimized()) << "hidden, not minimised: an iconify would race the hiding";
    EXPECT_TRUE(form->TrayIcon1->IconVisible());
    EXPECT_EQ(form->TrayIcon1->Hint(), (u' ' + QString::fromLatin1(kalendo::kVersionedName) + u' '));
    emit form->TrayIcon1->OnClick();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());
    EXPECT_FALSE(form->TrayIcon1->IconVisible());
    EXPECT_EQ(form->pos(), QPoint(100, 120));
    TCoolTrayIcon::OverrideTrayAvailable(std::nullopt);
}

// Counts the paint events that reach the watched widgets.
class PaintCounter final : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
    int paints = 0;
};

TEST_F(Unit2Test, minimise_nothingPaintsWhileTheWindowIsInTheIcon) {
    TCoolTrayIcon::OverrideTrayAvailable(true);
    auto form = StartShown();
    PaintCounter counter;
    for (QWidget* widget :
         std::initializer_list<QWidget*>{form->TextFader1, form->ClientArea, form->Planner1})
        widget->installEventFilter(&counter);
    form->Minimize1->trigger();
    ASSERT_FALSE(form->isVisible());
    // Two whole lines with their fades, and a date change from code.
    for (int tick = 0; tick < 60; ++tick)
        form->TextFader1->FaderTick();
    form->Planner1->SetDate(Date(2026, 12, 9));
    form->RecalcSpan();
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
    emit form->TrayIcon1->OnClick();
    QCoreApplication::processEvents();
    EXPECT_GT(counter.paints, 0) << "the counter sees paints once the window is back";
    TCoolTrayIcon::OverrideTrayAvailable(std::nullopt);
}

TEST_F(Unit2Test, minimise_iconMenuHasItsItemsAndExitRunsTheExitSequence) {
    TCoolTrayIcon::OverrideTrayAvailable(true);
    auto form = StartShown();
    form->Minimize1->trigger();
    ASSERT_NE(form->PopupMenu1, nullptr);
    QStringList captions;
    for (QAction* action : form->PopupMenu1->actions())
        captions << (action->isSeparator() ? "-" : action->text());
    EXPECT_EQ(captions, (QStringList{"Restore", "-", "About", "-", "Exit"}));
    form->PopupMenu1->actions().at(4)->trigger();
    EXPECT_EQ(terminations_, 1);
    EXPECT_EQ(Stored("appver"), QString::fromLatin1(kalendo::kVersion));
    EXPECT_FALSE(form->TrayIcon1->IconVisible());
    TCoolTrayIcon::OverrideTrayAvailable(std::nullopt);
}

TEST_F(Unit2Test, secondaryWindows_openAtTheirOffsets) {
    auto form = Start();
    QWidget about, help, easter;
    form->SetAboutBox(&about);
    form->SetHelpFact(&help);
    form->SetEasterForm(&easter);
    form->move(200, 100);
    form->About1->trigger();
    form->About2->trigger();
    form->EasterCalculations1->trigger();
    ASSERT_EQ(shownWindows_.size(), 3u);
    EXPECT_EQ(shownWindows_[0], std::make_pair(static_cast<QWidget*>(&about), QPoint(265, 195)));
    EXPECT_EQ(shownWindows_[1], std::make_pair(static_cast<QWidget*>(&help), QPoint(200, 100)));
    EXPECT_EQ(shownWindows_[2], std::make_pair(static_cast<QWidget*>(&easter), QPoint(285, 245)));
}

TEST_F(Unit2Test, saveDates_todayIsStoredEmptyAndOtherDatesAsShortDates) {
    auto form = Start();
    form->Planner1->SetDate(Date(2001, 3, 1));
    form->move(300, 200);
    answers_ = {MessageResult::Ok};
    form->SaveDates2->trigger();
    EXPECT_EQ(Stored("Cal1"), QStringLiteral("01/03/2001"));
    EXPECT_TRUE(store_->values.contains(QStringLiteral("Cal2")));
    EXPECT_EQ(Stored("Cal2"), QString());
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[0].text, QStringLiteral("Are you sure you want to save dates?"));
    EXPECT_EQ(boxes_[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(boxes_[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(boxes_[0].topLeft, QPoint(420, 400));
    EXPECT_EQ(boxes_[1].text, QStringLiteral("Dates successfully saved..."));
    EXPECT_EQ(boxes_[1].topLeft, QPoint(440, 400));

    form->ExitClick();
    EXPECT_EQ(Stored("Cal1"), QStringLiteral("01/03/2001")) << "exit leaves the dates alone";

    clock_->Set(Date(2027, 1, 9) + EncodeTime(8, 0, 0));
    auto later = Start();
    EXPECT_EQ(later->Planner1->Date(), Date(2001, 3, 1));
    EXPECT_EQ(later->Planner2->Date(), Date(2027, 1, 9)) << "an empty date is the day of the start";
}

TEST_F(Unit2Test, saveDates_cancelledLeavesTheStoreAlone) {
    Seed("Cal1", "05/05/2005");
    auto form = Start();
    form->move(300, 200);
    answers_ = {MessageResult::Cancel};
    form->SaveDatesNow1Click();
    EXPECT_EQ(Stored("Cal1"), QStringLiteral("05/05/2005"));
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[1].text, QStringLiteral("Save aborted!!!"));
    EXPECT_EQ(boxes_[1].topLeft, QPoint(475, 400));
}

TEST_F(Unit2Test, saveDates_failedWriteIsReportedInsteadOfSuccess) {
    auto form = Start();
    store_->failingValue = QStringLiteral("Cal1");
    answers_ = {MessageResult::Ok};
    form->SaveDates2->trigger();
    ASSERT_EQ(boxes_.size(), 2u) << "the failure and nothing else";
    EXPECT_EQ(boxes_[1].kind, MessageKind::Error);
    EXPECT_TRUE(boxes_[1].text.startsWith(QStringLiteral("The dates were not saved")))
        << boxes_[1].text.toStdString();
    EXPECT_TRUE(boxes_[1].text.contains(QStringLiteral("'Cal1'")));
}

TEST_F(Unit2Test, print_cancelledConfirmationOrDialogPrintsNothing) {
    auto form = Start();
    form->move(300, 200);
    int dialogs = 0;
    form->SetPrintDialog([&](QPrinter&) {
        ++dialogs;
        return false;
    });
    answers_ = {MessageResult::Cancel};
    form->PrintResults1->trigger();
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[0].text, QStringLiteral("This will print a screen capture of Kalendo!"));
    EXPECT_EQ(boxes_[0].topLeft, QPoint(380, 413));
    EXPECT_EQ(boxes_[1].text, QStringLiteral("Print aborted!!!"));
    EXPECT_EQ(boxes_[1].topLeft, QPoint(470, 414));
    EXPECT_EQ(dialogs, 0);

    boxes_.clear();
    answers_ = {MessageResult::Ok};
    form->PrintResults1->trigger();
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(boxes_.size(), 1u) << "a cancelled print dialog shows nothing";
}

TEST_F(Unit2Test, print_putsTheClientAreaOnOnePageAtItsPhysicalSize) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    auto form = Start();
    form->SetPrintDialog([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setResolution(300);
        return true;
    });
    answers_ = {MessageResult::Ok};
    form->PrintResults1->trigger();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    EXPECT_EQ(content.count("/Type /Page\n") + content.count("/Type /Page\r"), 1) << "one page";
    EXPECT_TRUE(content.contains("/Width 496")) << "the picture at screen resolution";
    EXPECT_TRUE(content.contains("/Height 579"));
}

TEST_F(Unit2Test, painting_panelsAndBackgroundsInTheirColours) {
    Seed("Cal1", "10/10/2020");
    Seed("Cal2", "01/01/2020");
    auto form = Start();
    const QImage image = form->ClientArea->grab().toImage();
    EXPECT_EQ(image.pixelColor(3, 300), QColor(166, 202, 240)) << "sky blue client area";
    EXPECT_EQ(image.pixelColor(20, 140), QColor(192, 220, 192)) << "money green add/subtract panel";
    EXPECT_EQ(image.pixelColor(12, 187), QColor(0, 0, 128)) << "navy Days panel";
    EXPECT_EQ(image.pixelColor(14, 248), QColor(255, 0, 0)) << "red Years panel with the order error";
    auto anyPixel = [&](QRect area, auto predicate) {
        for (int x = area.left(); x <= area.right(); ++x)
            for (int y = area.top(); y <= area.bottom(); ++y)
                if (predicate(image.pixelColor(x, y))) return true;
        return false;
    };
    // Text edges are anti-aliased; the strokes' cores reach the pure colour's neighbourhood.
    EXPECT_TRUE(anyPixel(QRect(10, 247, 477, 22), [](QColor c) {
        return c.red() > 230 && c.green() > 230 && c.blue() > 230;
    })) << "white text on the red Years panel";
    EXPECT_FALSE(anyPixel(QRect(10, 186, 165, 22), [](QColor c) { return c != QColor(0, 0, 128); }))
        << "the Days panel stays empty: the order error leaves the other panels alone";

    form->Planner2->SetDate(Date(2021, 1, 1));
    form->RecalcSpan();
    const QImage fixed = form->ClientArea->grab().toImage();
    bool yellowText = false;
    for (int x = 10; x < 175 && !yellowText; ++x)
        for (int y = 186; y < 208 && !yellowText; ++y) {
            const QColor c = fixed.pixelColor(x, y);
            yellowText = c.red() > 220 && c.green() > 220 && c.blue() < 60;
        }
    EXPECT_EQ(fixed.pixelColor(14, 248), QColor(0, 0, 128)) << "navy again once the order is right";
    EXPECT_TRUE(yellowText) << "yellow text in the Days panel";
}

TEST_F(Unit2Test, screenshots_ofTheMainWindow) {
    QDir().mkpath(QStringLiteral(KALENDO_SCREENSHOT_DIR));
    auto save = [](TForm1& form, const char* name) {
        EXPECT_TRUE(
            form.grab().save(QStringLiteral(KALENDO_SCREENSHOT_DIR "/%1.png").arg(QLatin1String(name))));
    };
    {
        Seed("Cal2", "25/12/2026");
        auto form = StartShown();
        form->NoDays->setText(QStringLiteral("5"));
        form->AddCheckClick();
        for (int tick = 0; tick < 26; ++tick)
            form->TextFader1->FaderTick(); // the first credit line shown
        save(*form, "main-result");
        form->TodaysDate->trigger();
        form->WeekNumbers->trigger();
        save(*form, "main-today-weeknumbers");
        form->SundayWeek->trigger();
        form->WeekNumbers->trigger();
        save(*form, "main-sunday-first");
    }
    {
        store_->values.clear();
        Seed("Cal1", "10/10/2020");
        Seed("Cal2", "01/01/2020");
        auto form = StartShown();
        save(*form, "main-order-error");
    }
}

// Every control the keyboard reaches, each result and the calendars' own buttons are named, in
// the Easter window too; no two names are alike, so the two sides of a pair tell themselves apart.
TEST_F(Unit2Test, accessibility_everyControlHasANameOfItsOwn) {
    auto form = StartShown();
    TEasterForm easter;
    for (QWidget* window : std::initializer_list<QWidget*>{form.get(), &easter}) {
        QStringList names;
        for (QWidget* w : window->findChildren<QWidget*>())
            if ((w->focusPolicy() & Qt::TabFocus) || qobject_cast<QLineEdit*>(w) ||
                qobject_cast<TdsMonthButton*>(w) || qobject_cast<TdsYearSpinner*>(w) ||
                w == form->TextFader1 || (qobject_cast<QLabel*>(w) && w->parent() == form->ClientArea))
                names << QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
        EXPECT_TRUE(!names.contains(QString()) && names.removeDuplicates() == 0)
            << names.join(u'|').toStdString();
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(form.get())->text(QAccessible::Name), kVersionedName);
}

std::vector<std::pair<QObject*, QAccessible::Event>> told;

TEST_F(Unit2Test, accessibility_tabReachesTheResultButtonItsKeysActAndChangedResultsAreTold) {
    auto form = StartShown();
    // Qt tells only while its platform's accessibility is active, as a screen reader makes it.
    QPlatformAccessibility* platform = QGuiApplicationPrivate::platformIntegration()->accessibility();
    platform->setActive(true);
    QAccessible::installUpdateHandler(
        [](QAccessibleEvent* event) { told.emplace_back(event->object(), event->type()); });
    form->NoDays->setText(QStringLiteral("5"));
    form->AddCheckClick();
    form->WEcheck->setFocus(Qt::TabFocusReason);
    QTest::keyClick(form->WEcheck, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form->SB1);
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return}) {
        form->Planner2->SetDate(Date(2026, 1, 1));
        QTest::keyClick(form->SB1, key);
        EXPECT_NE(form->Planner2->Date(), Date(2026, 1, 1));
    }
    form->TypeDateLeft1Click();
    QTest::keyClicks(form->DateTextEntry1->Edit, QStringLiteral("next friday"));
    QAccessible::installUpdateHandler(nullptr);
    platform->setActive(false);
    for (auto expected : {std::pair<QObject*, QAccessible::Event>{form->SB1, QAccessible::NameChanged},
                          {form->DayPanel, QAccessible::NameChanged},
                          {form->DayPanel, QAccessible::DescriptionChanged},
                          {form->YearPanel, QAccessible::NameChanged},
                          {form->DateTextEntry1->Edit, QAccessible::DescriptionChanged}})
        EXPECT_NE(std::find(told.begin(), told.end(), expected), told.end()) << expected.second;
}

// The main window with a named-dates table of its own: a few United Kingdom rows, as the shipped
// table has them (a substitute day when Boxing Day falls on a Saturday; Easter Monday moving).
class Unit2HolidaysTest : public Unit2Test {
protected:
    Unit2HolidaysTest() {
        WriteTable("[United Kingdom]\n"
                   "Easter Monday, 2026/04/06\n"
                   "Christmas Day, 2026/12/25\n"
                   "Boxing Day, 2026/12/26\n"
                   "Boxing Day (substitute day), 2026/12/28\n"
                   "Mother's Day, 2026/03/15 observance\n"
                   "Easter Monday, 2027/03/29\n"
                   "[France]\n"
                   "Christmas Day, 2026/12/25\n");
        SetNamedDatesSource(directory_.path().toStdString(), "United Kingdom");
    }
    ~Unit2HolidaysTest() override { SetNamedDatesSource("", ""); }

    void WriteTable(const char* text) {
        QFile file(directory_.filePath(QStringLiteral("DateScan.DAT")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    QTemporaryDir directory_;
};

TEST_F(Unit2HolidaysTest, bothCalendarsMarkTheCountrysHolidaysOfTheMonthTheyShow) {
    auto form = StartShown();
    for (TdsPlanner* planner : {form->Planner1, form->Planner2}) {
        EXPECT_EQ(planner->HolidayName(Date(2026, 12, 25)), QStringLiteral("Christmas Day"));
        EXPECT_EQ(planner->HolidayName(Date(2026, 12, 28)), QStringLiteral("Boxing Day (substitute day)"));
        EXPECT_EQ(planner->HolidayName(Date(2026, 12, 24)), QString());
    }
    // Moving holidays land on their day in every year the calendar is moved to.
    form->Planner1->SetDate(Date(2026, 4, 1));
    EXPECT_EQ(form->Planner1->HolidayName(Date(2026, 4, 6)), QStringLiteral("Easter Monday"));
    EXPECT_EQ(form->Planner1->HolidayName(Date(2026, 3, 15)), QString()) << "an observance is no holiday";
    QTest::keyClick(form->Planner1, Qt::Key_PageUp, Qt::ControlModifier); // a year back
    form->Planner1->SetYear(2027);
    form->Planner1->SetDate(Date(2027, 3, 1));
    EXPECT_EQ(form->Planner1->HolidayName(Date(2027, 3, 29)), QStringLiteral("Easter Monday"));
    EXPECT_EQ(form->Planner1->HolidayName(Date(2027, 4, 6)), QString())
        << "last year's date of a moving holiday";
}

TEST_F(Unit2HolidaysTest, aHolidaysCellNamesItInItsTooltip) {
    auto form = StartShown();
    const QPoint cell = CellCentre(*form->Planner2, Date(2026, 12, 25));
    QHelpEvent help(QEvent::ToolTip, cell, form->Planner2->mapToGlobal(cell));
    QApplication::sendEvent(form->Planner2, &help);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Christmas Day"));
    QToolTip::hideText();
}

TEST_F(Unit2HolidaysTest, showPublicHolidays_turnsTheMarksOffAndIsRemembered) {
    auto form = StartShown();
    ASSERT_TRUE(form->ShowHolidays1->isEnabled());
    EXPECT_TRUE(form->ShowHolidays1->isChecked());
    form->ShowHolidays1->trigger();
    EXPECT_FALSE(form->ShowHolidays1->isChecked());
    EXPECT_EQ(form->Planner1->HolidayName(Date(2026, 12, 25)), QString());
    EXPECT_EQ(form->Planner2->HolidayName(Date(2026, 12, 25)), QString());
    form->ExitClick();
    EXPECT_EQ(Stored("PH"), QStringLiteral("0"));

    auto again = StartShown();
    EXPECT_FALSE(again->ShowHolidays1->isChecked());
    EXPECT_EQ(again->Planner1->HolidayName(Date(2026, 12, 25)), QString());
    again->ShowHolidays1->trigger();
    EXPECT_EQ(again->Planner1->HolidayName(Date(2026, 12, 25)), QStringLiteral("Christmas Day"));
}

TEST_F(Unit2HolidaysTest, businessDays_skipTheHolidaysOnlyWhenAskedAndTheResultLineSaysSo) {
    Seed("Cal1", "21/12/2026"); // Monday before Christmas
    auto form = StartShown();
    form->NoDays->setText(QStringLiteral("5"));
    form->AddCheckClick();
    EXPECT_EQ(form->SB1->text(), QStringLiteral("Monday 28 December 2026")) << "Monday to Friday by default";
    EXPECT_FALSE(form->SkipHolidays1->isChecked());

    form->SkipHolidays1->trigger();
    EXPECT_EQ(form->SB1->text(),
              QStringLiteral("Wednesday 30 December 2026 (public holidays of United Kingdom skipped)"));
    form->SubtractCheckClick();
    form->NoDays->setText(QStringLiteral("1"));
    form->Planner1->SetDate(Date(2026, 12, 29));
    form->SubtractCheckClick();
    EXPECT_EQ(form->SB1->text(),
              QStringLiteral("Thursday 24 December 2026 (public holidays of United Kingdom skipped)"));

    form->WEcheck->click(); // calendar days: nothing to skip
    EXPECT_EQ(form->SB1->text(), QStringLiteral("Monday 28 December 2026"));

    form->WEcheck->click();
    form->Planner1->SetDate(Date(2150, 1, 5));
    form->SubtractCheckClick();
    EXPECT_EQ(form->SB1->text(), QStringLiteral("Friday 2 January 2150 (holidays known 2026-2027)"));

    form->ExitClick();
    EXPECT_EQ(Stored("PB"), QStringLiteral("1"));
}

TEST_F(Unit2HolidaysTest, daysPanelTooltip_countsTheBusinessDaysBetweenTheDates) {
    Seed("Cal1", "21/12/2026");
    Seed("Cal2", "04/01/2027");
    auto form = StartShown();
    EXPECT_EQ(form->DayPanel->toolTip(), QStringLiteral(" 10 business days (Monday to Friday) "));
    form->SECheck->click();
    EXPECT_EQ(form->DayPanel->toolTip(), QStringLiteral(" 11 business days (Monday to Friday) "));
    form->SkipHolidays1->trigger();
    EXPECT_EQ(form->DayPanel->toolTip(),
              QStringLiteral(" 9 business days (Monday to Friday, less public holidays of United Kingdom) "));
    form->Planner2->SetDate(Date(2026, 12, 22));
    form->RecalcSpan();
    EXPECT_EQ(form->DayPanel->toolTip(),
              QStringLiteral(" 2 business days (Monday to Friday, less public holidays of United Kingdom) "));
}

TEST_F(Unit2HolidaysTest, aCountryWithoutASectionHasNoHolidaysAndCannotAskForThem) {
    SetNamedDatesSource(directory_.path().toStdString(), "Italy");
    auto form = StartShown();
    EXPECT_FALSE(form->ShowHolidays1->isEnabled());
    EXPECT_FALSE(form->SkipHolidays1->isEnabled());
    EXPECT_EQ(form->Planner1->HolidayName(Date(2026, 12, 25)), QString());
    form->NoDays->setText(QStringLiteral("5"));
    form->AddCheckClick();
    EXPECT_EQ(form->SB1->text(), QStringLiteral("Monday 14 December 2026"));
}

TEST_F(Unit2HolidaysTest, aDamagedTableIsReportedOnceAndEveryOtherRowStillWorks) {
    WriteTable("[United Kingdom]\n"
               "Christmas Day, 2026/12/25\n"
               "Boxing Day, 2026/xx/26\n"
               "Boxing Day (substitute day), 2026/12/28\n");
    std::vector<std::string> reports;
    const NamedDatesMessageHook saved =
        SetNamedDatesMessageHook([&](const std::string& report) { reports.push_back(report); });
    auto form = StartShown();
    for (int activation = 0; activation < 3; ++activation) {
        form->AddCheckClick();
        form->RecalcSpan();
    }
    EXPECT_EQ(reports.size(), 1u);
    EXPECT_NE(reports.front().find("line 3"), std::string::npos) << reports.front();
    EXPECT_EQ(form->Planner1->HolidayName(Date(2026, 12, 25)), QStringLiteral("Christmas Day"));
    EXPECT_EQ(form->Planner1->HolidayName(Date(2026, 12, 28)), QStringLiteral("Boxing Day (substitute day)"));
    EXPECT_TRUE(boxes_.empty()) << "nothing stops the start";
    SetNamedDatesMessageHook(saved);
}

TEST_F(Unit2HolidaysTest, freeTextEntry_showsWhatItReadsAndEnterSetsTheCalendar) {
    auto form = StartShown();
    QTest::keyClick(form.get(), Qt::Key_R, Qt::ControlModifier);
    TDateTextEntry& entry = *form->DateTextEntry1;
    ASSERT_TRUE(entry.isVisible());
    EXPECT_TRUE(entry.Edit->hasFocus());
    EXPECT_EQ(entry.Prompt->text(), QStringLiteral("Right date:"));
    EXPECT_EQ(form->GotoDateRight->geometry(), QRect(388, 281, 98, 28)) << "nothing of the layout moves";

    struct Row {
        const char* typed;
        const char* reading;
    };
    for (const Row& row :
         {Row{"next friday", "Friday 18 December 2026"}, Row{"3 weeks ago", "Monday 16 November 2026"},
          Row{"christmas day", "Friday 25 December 2026"}, Row{"hello", "No date in that"},
          Row{"1 January 1700", "Not between 1752 and 3000"}, Row{"", "Type a date in words"},
          Row{"day after tomorrow", "Wednesday 9 December 2026"}}) {
        entry.Edit->clear();
        QTest::keyClicks(entry.Edit, QString::fromLatin1(row.typed));
        EXPECT_EQ(entry.ReadingLine->text(), QString::fromLatin1(row.reading)) << row.typed;
    }
    QTest::keyClicks(entry.Edit,
                     QStringLiteral("one two three four five six seven eight nine ten eleven twelve "
                                    "thirteen fourteen fifteen sixteen seventeen eighteen nineteen twenty"));
    EXPECT_EQ(entry.ReadingLine->text(), QStringLiteral("No date in that"));
    EXPECT_TRUE(boxes_.empty()) << "no message box while typing";

    entry.Edit->clear();
    QTest::keyClicks(entry.Edit, QStringLiteral("hello"));
    QTest::keyClick(entry.Edit, Qt::Key_Return);
    EXPECT_TRUE(entry.isVisible()) << "Enter without a date keeps the entry";

    entry.Edit->clear();
    QTest::keyClicks(entry.Edit, QStringLiteral("next friday"));
    QTest::keyClick(entry.Edit, Qt::Key_Return);
    EXPECT_FALSE(entry.isVisible());
    EXPECT_EQ(form->Planner2->Date(), Date(2026, 12, 18));
    EXPECT_EQ(form->Planner1->Date(), Date(2026, 12, 7));
    EXPECT_EQ(form->DayPanel->text(), QStringLiteral("11 Days"));
    EXPECT_TRUE(form->NoDays->hasFocus());
}

TEST_F(Unit2HolidaysTest, freeTextEntry_escapeLeavesEverythingAsItWas) {
    auto form = StartShown();
    const QString days = form->DayPanel->text();
    form->TypeDateLeft1->trigger();
    TDateTextEntry& entry = *form->DateTextEntry1;
    EXPECT_EQ(entry.Prompt->text(), QStringLiteral("Left date:"));
    QTest::keyClicks(entry.Edit, QStringLiteral("tomorrow"));
    QTest::keyClick(entry.Edit, Qt::Key_Escape);
    EXPECT_FALSE(entry.isVisible());
    EXPECT_EQ(form->Planner1->Date(), Date(2026, 12, 7));
    EXPECT_EQ(form->DayPanel->text(), days);
    EXPECT_TRUE(form->NoDays->hasFocus());

    form->TypeDateLeft1->trigger();
    QTest::keyClicks(entry.Edit, QStringLiteral("tomorrow"));
    form->Planner2->setFocus(Qt::MouseFocusReason); // another control of the window
    EXPECT_FALSE(entry.isVisible());
    EXPECT_EQ(form->Planner1->Date(), Date(2026, 12, 7));
    form->TypeDateLeft1->trigger();
    QTest::keyClicks(entry.Edit, QStringLiteral("tomorrow"));
    QTest::mouseClick(entry.Prompt, Qt::LeftButton);
    EXPECT_TRUE(entry.isVisible()) << "a click on the entry itself";
    QTest::mouseClick(form->ClientArea, Qt::LeftButton, {}, QPoint(248, 400)); // between the calendars
    EXPECT_FALSE(entry.isVisible());
    EXPECT_EQ(form->Planner1->Date(), Date(2026, 12, 7));
}

TEST_F(Unit2HolidaysTest, copy_putsTheFourSpanTextsAndTheResultLineOnTheClipboard) {
    Seed("Cal2", "14/12/2026");
    auto form = StartShown();
    ASSERT_TRUE(form->NoDays->hasFocus());
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(form->NoDays, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("7 Days\n1 Weeks and 0 Days\n0 Months, 1 Weeks and 0 Days\n"
                             "0 Years, 0 Months, 1 Weeks and 0 Days\nMonday 7 December 2026\n"));
    form->MoveCalendarTo(*form->Planner1, Date(2026, 12, 15)); // the panels keep the span above
    QTest::keyClick(form->NoDays, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("--- Date on Left must be before Date on Right ---\nMonday 7 December 2026\n"));
}

} // namespace
} // namespace kalendo::app
