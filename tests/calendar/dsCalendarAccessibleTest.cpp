#include "calendar/dsCalendarAccessible.h"

#include "app/QStringPrinter.h"
#include "calendar/dsCalendar.h"
#include "dates/DateEnvironment.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <gtest/gtest.h>

namespace kalendo {
namespace {

struct Heard {
    QAccessible::Event type;
    int child;
    bool operator==(const Heard&) const = default;
};
std::vector<Heard> heard;

// Assistive technology as the calendar sees it: active, and every event written down.
class CalendarAccessibleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallCalendarAccessibility();
        QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
            heard.push_back({event->type(), event->child()});
        });
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
    }

    std::shared_ptr<FixedClock> clock = std::make_shared<FixedClock>(EncodeDate(2025, 9, 17));
    ScopedDateEnvironment environment{UnitedKingdomSettings(), clock};
    QWidget window;
    TdsPlanner* cal = new TdsPlanner;
    QLineEdit* other = new QLineEdit;

    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(cal);
        layout->addWidget(other);
        cal->SetFirstDayOfWeek(dwMonday);
        cal->Holidays().Add(25, 12, QStringLiteral("Christmas Day"));
        cal->SetDate(EncodeDate(2025, 9, 10));
        window.show();
        window.activateWindow();
        cal->setFocus();
        QApplication::processEvents();
        heard.clear();
    }

    QAccessibleInterface* Table() const { return QAccessible::queryAccessibleInterface(cal); }
    QString Name(QAccessibleInterface* part) const {
        return part ? part->text(QAccessible::Name) : QString();
    }
    int IndexOfSelected() const {
        return Table()->indexOfChild(Table()->tableInterface()->selectedCells().value(0));
    }
};

TEST_F(CalendarAccessibleTest, theCalendarIsATableOfNamedDaysUnderTheDayNames) {
    QAccessibleInterface* table = Table();
    ASSERT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(Name(table), QStringLiteral("September 2025"));
    EXPECT_EQ(table->tableInterface()->rowCount(), 6);
    EXPECT_EQ(table->tableInterface()->columnCount(), 7);
    EXPECT_EQ(table->childCount(), 7 * 7 + 2) << "header row, six weeks, the two month buttons";
    EXPECT_EQ(Name(table->child(0)), QStringLiteral("Monday"));
    EXPECT_EQ(Name(table->child(49)), QStringLiteral("Next month"));
    EXPECT_EQ(Name(table->tableInterface()->selectedCells().value(0)),
              QStringLiteral("Wednesday 10 September 2025"));
    struct Row {
        const char* what;
        DateTime shown;
        int row, column;
        const char* name;
    } rows[] = {
        {"a leading day", EncodeDate(2025, 9, 10), 0, 0, "Monday 25 August 2025"},
        {"today", EncodeDate(2025, 9, 10), 3, 2, "Wednesday 17 September 2025, today"},
        {"a Saturday", EncodeDate(2025, 9, 10), 1, 5, "Saturday 6 September 2025, week-end"},
        {"a holiday", EncodeDate(2026, 12, 1), 3, 4, "Friday 25 December 2026, holiday: Christmas Day"},
        {"both", EncodeDate(2022, 12, 1), 3, 6, "Sunday 25 December 2022, holiday: Christmas Day, week-end"},
    };
    for (const Row& r : rows) {
        cal->SetDate(r.shown);
        EXPECT_EQ(Name(table->tableInterface()->cellAt(r.row, r.column)), QString::fromUtf8(r.name))
            << r.what;
    }
}

TEST_F(CalendarAccessibleTest, everyCellIsFoundAgainByItsIndexWithAndWithoutWeekNumbers) {
    for (bool weekNumbers : {false, true}) {
        cal->SetShowOptions(weekNumbers ? kDefaultShowOptions | soWeekNumbers : kDefaultShowOptions);
        for (int cell = 0; cell < 42; ++cell) {
            QAccessibleInterface* day = Table()->tableInterface()->cellAt(cell / 7, cell % 7);
            EXPECT_EQ(Table()->child(Table()->indexOfChild(day)), day) << cell << " weeks " << weekNumbers;
            EXPECT_EQ(day->tableCellInterface()->rowIndex() * 7 + day->tableCellInterface()->columnIndex(),
                      cell);
        }
    }
    QAccessibleInterface* firstDay = Table()->tableInterface()->cellAt(0, 0);
    EXPECT_EQ(Name(Table()->child(0)), QStringLiteral("Week"));
    EXPECT_EQ(Name(firstDay->tableCellInterface()->rowHeaderCells().value(0)), QStringLiteral("Week 35"));
    EXPECT_EQ(Name(firstDay->tableCellInterface()->columnHeaderCells().value(0)), QStringLiteral("Monday"));
}

TEST_F(CalendarAccessibleTest, theSelectedDayHasTheFocus_andDateMonthAndFocusChangesAreAnnounced) {
    QAccessibleInterface* selected = Table()->tableInterface()->selectedCells().value(0);
    EXPECT_TRUE(selected->state().selected && selected->state().focused);
    EXPECT_EQ(Table()->focusChild(), selected);
    const int before = IndexOfSelected();
    QTest::keyClick(cal, Qt::Key_Right);
    const int after = IndexOfSelected();
    EXPECT_EQ(heard, (std::vector<Heard>{{QAccessible::SelectionRemove, before},
                                         {QAccessible::Selection, after},
                                         {QAccessible::Focus, after}}));
    heard.clear();
    QTest::keyClick(cal, Qt::Key_PageUp);
    EXPECT_EQ(heard.front(), (Heard{QAccessible::NameChanged, -1}));
    EXPECT_EQ(heard.back(), (Heard{QAccessible::Focus, IndexOfSelected()}));
    EXPECT_EQ(Name(Table()), QStringLiteral("October 2025"));
    other->setFocus();
    EXPECT_FALSE(Table()->tableInterface()->selectedCells().value(0)->state().focused);
    heard.clear();
    cal->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(heard.back(), (Heard{QAccessible::Focus, IndexOfSelected()})) << "the day after the calendar";
}

TEST_F(CalendarAccessibleTest, pressingADayChoosesItAsAClickDoes) {
    int reported = 0;
    QObject::connect(cal, &TdsCalendar::OnDateChange, [&] { ++reported; });
    Table()->tableInterface()->cellAt(4, 0)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    EXPECT_EQ(cal->Date(), EncodeDate(2025, 9, 22));
    EXPECT_EQ(reported, 1);
}

} // namespace
} // namespace kalendo
