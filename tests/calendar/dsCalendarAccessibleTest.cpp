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
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(Name(table), QStringLiteral("September 2025"));
    EXPECT_EQ(table->tableInterface()->rowCount(), 6);
    EXPECT_EQ(table->tableInterface()->columnCount(), 7);
    EXPECT_EQ(table->childCount(), 7 * 7 + 2) << "header row, six weeks, the two month buttons";
    EXPECT_EQ(Name(table->child(0)), QStringLiteral("Monday"));
    EXPECT_EQ(table->child(0)->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(Name(table->child(49)), QStringLiteral("Next month"));
    EXPECT_EQ(table->indexOfChild(table->child(50)), 50);

    struct Row {
        const char* what;
        DateTime shown;
        int row, column;
        const char* name;
    } rows[] = {
        {"a leading day of August", EncodeDate(2025, 9, 10), 0, 0, "Monday 25 August 2025"},
        {"the first of the month", EncodeDate(2025, 9, 10), 1, 0, "Monday 1 September 2025"},
        {"today", EncodeDate(2025, 9, 10), 3, 2, "Wednesday 17 September 2025, today"},
        {"a Saturday", EncodeDate(2025, 9, 10), 1, 5, "Saturday 6 September 2025, week-end"},
        {"a holiday", EncodeDate(2026, 12, 1), 3, 4, "Friday 25 December 2026, holiday: Christmas Day"},
        {"a holiday on a Sunday", EncodeDate(2022, 12, 1), 3, 6,
         "Sunday 25 December 2022, holiday: Christmas Day, week-end"},
    };
    for (const Row& r : rows) {
        cal->SetDate(r.shown);
        QAccessibleInterface* cell = table->tableInterface()->cellAt(r.row, r.column);
        ASSERT_NE(cell, nullptr) << r.what;
        EXPECT_EQ(Name(cell), QString::fromUtf8(r.name)) << r.what;
        EXPECT_EQ(cell->role(), QAccessible::Cell) << r.what;
    }
}

TEST_F(CalendarAccessibleTest, everyCellIsFoundAgainByItsIndexWithAndWithoutWeekNumbers) {
    for (bool weekNumbers : {false, true}) {
        cal->SetShowOptions(weekNumbers ? kDefaultShowOptions | soWeekNumbers : kDefaultShowOptions);
        QAccessibleInterface* table = Table();
        for (int row = 0; row < 6; ++row) {
            for (int column = 0; column < 7; ++column) {
                QAccessibleInterface* cell = table->tableInterface()->cellAt(row, column);
                const int index = table->indexOfChild(cell);
                EXPECT_EQ(table->child(index), cell) << row << "," << column << " weeks " << weekNumbers;
                EXPECT_EQ(cell->tableCellInterface()->rowIndex(), row);
                EXPECT_EQ(cell->tableCellInterface()->columnIndex(), column);
                EXPECT_EQ(cell->parent(), table);
            }
        }
    }
    QAccessibleInterface* firstDay = Table()->tableInterface()->cellAt(0, 0);
    EXPECT_EQ(Name(Table()->child(0)), QStringLiteral("Week"));
    EXPECT_EQ(Name(firstDay->tableCellInterface()->rowHeaderCells().value(0)), QStringLiteral("Week 35"));
    EXPECT_EQ(Name(firstDay->tableCellInterface()->columnHeaderCells().value(0)), QStringLiteral("Monday"));
    EXPECT_EQ(Table()->childCount(), 7 * 8 + 2);
}

TEST_F(CalendarAccessibleTest, theSelectedDayIsSelectedAndFocusedWhileTheCalendarHasTheFocus) {
    QAccessibleInterface* selected = Table()->tableInterface()->selectedCells().value(0);
    EXPECT_EQ(Name(selected), QStringLiteral("Wednesday 10 September 2025"));
    EXPECT_TRUE(selected->state().selected);
    EXPECT_TRUE(selected->state().focused);
    EXPECT_EQ(Table()->focusChild(), selected);
    EXPECT_FALSE(Table()->tableInterface()->cellAt(2, 3)->state().selected);
    other->setFocus();
    EXPECT_FALSE(selected->state().focused);
    EXPECT_EQ(Table()->focusChild(), nullptr);
}

TEST_F(CalendarAccessibleTest, dateMonthAndFocusChangesAreAnnounced) {
    const int before = IndexOfSelected();
    QTest::keyClick(cal, Qt::Key_Right);
    const int after = IndexOfSelected();
    ASSERT_EQ(after, before + 1);
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_EQ(heard[0].type, QAccessible::SelectionRemove);
    EXPECT_EQ(heard[0].child, before);
    EXPECT_EQ(heard[1].type, QAccessible::Selection);
    EXPECT_EQ(heard[1].child, after);
    EXPECT_EQ(heard[2].type, QAccessible::Focus);
    EXPECT_EQ(heard[2].child, after);

    heard.clear();
    QTest::keyClick(cal, Qt::Key_PageUp);
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.front().type, QAccessible::NameChanged);
    EXPECT_EQ(Name(Table()), QStringLiteral("October 2025"));
    EXPECT_EQ(heard.back().type, QAccessible::Focus);
    EXPECT_EQ(heard.back().child, IndexOfSelected());

    other->setFocus();
    heard.clear();
    cal->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.back().type, QAccessible::Focus) << "the day is announced after the calendar";
    EXPECT_EQ(heard.back().child, IndexOfSelected());
}

TEST_F(CalendarAccessibleTest, pressingADayChoosesItAsAClickDoes) {
    int reported = 0;
    QObject::connect(cal, &TdsCalendar::OnDateChange, [&] { ++reported; });
    QAccessibleInterface* cell = Table()->tableInterface()->cellAt(4, 0);
    cell->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(cal->Date(), EncodeDate(2025, 9, 22));
    EXPECT_EQ(reported, 1);
}

} // namespace
} // namespace kalendo
