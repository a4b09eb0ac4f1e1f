#include "app/CountryHolidays.h"
#include "app/HolidayChoice.h"
#include "app/PublicHolidaysDialog.h"
#include "app/QStringPrinter.h"
#include "app/TypedDateField.h"
#include "app/Unit2.h"
#include "dates/DateEnvironment.h"
#include "dates/HolidayPlaces.h"
#include "platform/SettingsStore.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace kalendo::app {
namespace {

DateTime Date(int year, int month, int day) { return EncodeDate(year, month, day); }

TEST(HolidayChoiceText, damagedParts_areDroppedAndTheRestKept) {
    const HolidayChanges changes = ReadHolidayChanges(
        QStringLiteral("2026-12-31 Bridge day;2026-12-24 Company; closure;2026-13-01 Bad month;junk;"
                       "2026-12-24 Again;1700-01-01 Too early;2026-12-30 "),
        QStringLiteral("2026-12-28;x;2026-12-28;3001-01-01"));
    EXPECT_EQ(OwnDaysOffText(changes), QStringLiteral("2026-12-24 Company;2026-12-31 Bridge day"));
    EXPECT_EQ(WorkedDaysText(changes), QStringLiteral("2026-12-28"));
    EXPECT_EQ(ReadHolidayChanges(OwnDaysOffText(changes), WorkedDaysText(changes)), changes);
    EXPECT_EQ(CleanPlaceCode(QStringLiteral("gb-eng")), QStringLiteral("GB-ENG"));
    for (const char* damaged : {"", "G", "GB ENG", "United Kingdom;", "GB-ENG-X-Y"})
        EXPECT_EQ(CleanPlaceCode(QString::fromLatin1(damaged)), QString()) << damaged;
}

TEST(HolidayChoiceText, ownDayOff_outsideTheYearsOrTwiceOrNamelessIsRefused) {
    HolidayChanges changes;
    changes.ownDaysOff.push_back({Date(2026, 12, 24), "Company closure"});
    const QString name = QStringLiteral("Bridge day");
    EXPECT_EQ(OwnDayOffRefusal(changes, Date(2026, 12, 31), name), std::nullopt);
    EXPECT_TRUE(OwnDayOffRefusal(changes, Date(1751, 12, 31), name));
    EXPECT_TRUE(OwnDayOffRefusal(changes, Date(3001, 1, 1), name));
    EXPECT_EQ(OwnDayOffRefusal(changes, Date(2026, 12, 24), name),
              QStringLiteral("2026-12-24 is already one of your days off."));
    EXPECT_TRUE(OwnDayOffRefusal(changes, Date(2026, 12, 31), QStringLiteral("  ")));
}

// The main window on the shipped holiday data.
class PublicHolidaysTest : public ::testing::Test {
protected:
    PublicHolidaysTest() {
        SetHolidayDataDirectory(std::filesystem::path(KALENDO_TEST_DATA_DIR) / ".." / ".." / "data" /
                                "holidays");
    }
    ~PublicHolidaysTest() override { SetHolidayDataDirectory({}); }

    std::unique_ptr<TForm1> Start() {
        auto form = std::make_unique<TForm1>(store_);
        form->SetTerminator([] {});
        form->show();
        return form;
    }
    void Seed(const char* name, const QString& value) {
        store_->values.insert(QString::fromLatin1(name), value);
    }
    QString Stored(const char* name) const { return store_->values.value(QString::fromLatin1(name)); }
    static TPublicHolidaysDialog* OpenDialog(TForm1& form, QAction* item) {
        item->trigger();
        return form.findChild<TPublicHolidaysDialog*>();
    }

    ScopedDateEnvironment environment_{
        UnitedKingdomSettings(), std::make_shared<FixedClock>(Date(2026, 8, 24) + EncodeTime(12, 0, 0))};
    std::shared_ptr<platform::MemorySettingsStore> store_ = std::make_shared<platform::MemorySettingsStore>();
};

TEST_F(PublicHolidaysTest, regionChosenFromTheKeyboard_appliesToCalendarsAndBusinessDays) {
    Seed("HolidayPlace", QStringLiteral("DE"));
    Seed("PB", QStringLiteral("1"));
    auto form = Start();
    form->NoDays->setText(QStringLiteral("10"));
    form->AddCheckClick();
    EXPECT_EQ(form->Planner1->HolidayName(Date(2026, 8, 31)), QString());

    auto* dialog = OpenDialog(*form, form->PublicHolidays1);
    ASSERT_NE(dialog, nullptr);
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    QTest::keyClick(dialog->Country->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(dialog->Country->lineEdit(), QStringLiteral("united kingdom"));
    QTest::keyClick(dialog->Country->lineEdit(), Qt::Key_Tab);
    EXPECT_EQ(dialog->Country->currentText(), QStringLiteral("United Kingdom"));
    ASSERT_TRUE(dialog->Region->hasFocus());
    QTest::keyClicks(dialog->Region, QStringLiteral("England"));
    EXPECT_EQ(form->SB1->text(),
              QStringLiteral("Monday 7 September 2026 (public holidays of Germany skipped)"))
        << "nothing changes before OK";
    QTest::keyClick(dialog->Region, Qt::Key_Return);

    EXPECT_EQ(form->Planner1->HolidayName(Date(2026, 8, 31)), QStringLiteral("Summer Bank Holiday"));
    EXPECT_EQ(form->SB1->text(),
              QStringLiteral("Tuesday 8 September 2026 (public holidays of England skipped)"));
    form->ExitClick();
    EXPECT_EQ(Stored("HolidayPlace"), QStringLiteral("GB-ENG"));
}

TEST_F(PublicHolidaysTest, skippingAWholeCountrysHolidays_asksForTheRegionFirst) {
    Seed("HolidayPlace", QStringLiteral("GB"));
    auto form = Start();
    auto* dialog = OpenDialog(*form, form->SkipHolidays1);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(form->SkipHolidays1->isChecked()) << "not before the answer";
    dialog->accept(); // the whole country stays an answer
    EXPECT_TRUE(form->SkipHolidays1->isChecked());
    EXPECT_EQ(form->PB, 1);
}

TEST_F(PublicHolidaysTest, storedChanges_areAppliedAndDamagedPartsCleanedAway) {
    Seed("HolidayPlace", QStringLiteral("GB-ENG;"));
    Seed("OwnDaysOff", QStringLiteral("2026-08-28 Company closure;2026-02-30 Bad"));
    Seed("WorkedDays", QStringLiteral("2026-08-31;soon"));
    auto form = Start();
    EXPECT_EQ(form->Planner1->HolidayName(Date(2026, 8, 28)), QStringLiteral("Company closure"));
    form->ExitClick();
    EXPECT_EQ(Stored("HolidayPlace"), QString()) << "a damaged place falls back to the locale's country";
    EXPECT_EQ(Stored("OwnDaysOff"), QStringLiteral("2026-08-28 Company closure"));
    EXPECT_EQ(Stored("WorkedDays"), QStringLiteral("2026-08-31"));
}

TEST_F(PublicHolidaysTest, anOwnDayTypedInOneGoIsAdded_andAStoredOneRefusedWithTheWindowOpen) {
    Seed("HolidayPlace", QStringLiteral("GB-ENG"));
    Seed("OwnDaysOff", QStringLiteral("2026-11-30 Staff day"));
    auto form = Start();
    auto* dialog = OpenDialog(*form, form->PublicHolidays1);
    ASSERT_NE(dialog, nullptr);
    QTest::keyClicks(dialog->OwnDate, QStringLiteral("2026-12-24"));
    EXPECT_EQ(dialog->OwnDateReading->text(), QStringLiteral("Thursday 24 December 2026"));
    QTest::keyClicks(dialog->OwnName, QStringLiteral("Company closure"));
    QTest::mouseClick(dialog->AddOwn, Qt::LeftButton);
    ASSERT_EQ(dialog->OwnDays->count(), 2);
    EXPECT_EQ(dialog->OwnDays->item(1)->text(), QStringLiteral("Thu 24 Dec 2026  Company closure"));
    QTest::keyClick(dialog->OwnDate, Qt::Key_Up);
    EXPECT_EQ(dialog->OwnDate->text(), QStringLiteral("2026-12-25"));

    dialog->OwnDate->SetDate(Date(2026, 11, 30));
    dialog->OwnName->setText(QStringLiteral("Again"));
    QTest::keyClick(dialog->OwnName, Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->Refusal->text(), QStringLiteral("2026-11-30 is already one of your days off."));
    EXPECT_EQ(dialog->OwnDays->count(), 2);
    QTest::keyClick(dialog->OwnName, Qt::Key_Escape);
    form->ExitClick();
    EXPECT_EQ(Stored("OwnDaysOff"), QStringLiteral("2026-11-30 Staff day")) << "Escape keeps nothing";
}

} // namespace
} // namespace kalendo::app
