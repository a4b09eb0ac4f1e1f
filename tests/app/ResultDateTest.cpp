#include "app/ResultDate.h"

#include "app/QStringPrinter.h"
#include "dates/DateEnvironment.h"
#include "dates/DateFormat.h"
#include "dates/HolidayTable.h"
#include "platform/LocaleAdapter.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <memory>

namespace kalendo::app {
namespace {

DateTime Date(int year, int month, int day) { return EncodeDate(year, month, day); }

// The line, checked to begin with the date the result button would set.
std::optional<QString> Caption(const ResultDateRequest& request) {
    const std::optional<ResultDate> result = ComputeResultDate(request);
    if (!result) return std::nullopt;
    EXPECT_TRUE(result->caption.startsWith(
        FormatDateTime("dddd d mmmm yyyy", result->date, CurrentFormatSettings()).c_str()));
    return result->caption;
}

class ResultDateTest : public ::testing::Test {
protected:
    std::shared_ptr<FixedClock> clock_ =
        std::make_shared<FixedClock>(Date(2026, 12, 7) + EncodeTime(12, 0, 0));
    ScopedDateEnvironment environment_{UnitedKingdomSettings(), clock_};
};

TEST_F(ResultDateTest, addsAndSubtractsCalendarOrBusinessDays) {
    const HolidayTable christmas(NamedDatesFileSection{
        true,
        {{Date(2026, 12, 25), "Christmas Day", false, 1}, {Date(2026, 12, 28), "Boxing Day", false, 2}},
        {}});
    const struct {
        const char* meaning;
        DateTime left;
        const char* count; // "-" in front subtracts
        bool weekends;
        const char* shown;
        const HolidayTable* skipped = nullptr;
    } rows[] = {
        {"add with week-ends", Date(2026, 12, 7), "5", true, "Saturday 12 December 2026"},
        {"add business days", Date(2026, 12, 7), "5", false, "Monday 14 December 2026"},
        {"subtract with week-ends", Date(2026, 12, 7), "-5", true, "Wednesday 2 December 2026"},
        {"subtract business days", Date(2026, 12, 7), "-5", false, "Monday 30 November 2026"},
        {"zero from a Saturday, business days", Date(2026, 12, 12), "0", false, "Saturday 12 December 2026"},
        {"one business day on from a Saturday", Date(2026, 12, 12), "1", false, "Monday 14 December 2026"},
        {"one business day back from a Saturday", Date(2026, 12, 12), "-1", false, "Friday 11 December 2026"},
        {"empty count is zero", Date(2026, 12, 7), "-", false, "Monday 7 December 2026"},
        {"largest count", Date(2000, 1, 1), "99999", true, "Wednesday 15 October 2273"},
        {"back past the calendars' start", Date(1752, 1, 1), "-1", true, "Friday 31 December 1751"},
        {"business days over skipped holidays", Date(2026, 12, 7), "14", false,
         "Tuesday 29 December 2026 (public holidays skipped)", &christmas},
        {"business days back over skipped holidays", Date(2026, 12, 29), "-1", false,
         "Thursday 24 December 2026 (public holidays skipped)", &christmas},
    };
    for (const auto& row : rows) {
        const std::optional<QString> caption =
            Caption({row.left, QString::fromLatin1(row.count), row.weekends, row.skipped, {}});
        EXPECT_EQ(caption, std::optional<QString>(QString::fromLatin1(row.shown))) << row.meaning;
    }
}

TEST_F(ResultDateTest, aCountThatIsNoNumberLeavesTheLineAlone) {
    for (const char* count : {"123456", "+5", "--5", "5a"})
        EXPECT_EQ(Caption({Date(2026, 12, 7), QString::fromLatin1(count), true, nullptr, {}}), std::nullopt)
            << count;
}

TEST_F(ResultDateTest, worksInYearFirstLocalesAndWhereNamesOrShortDatesCarryTextOfTheirOwn) {
    const DateTime monday = Date(2026, 12, 7);
    for (const char* name : {"sv_SE", "ja_JP", "zh_CN", "ko_KR", "hu_HU", "cy_GB", "ca_ES", "bg_BG"}) {
        const FormatSettings settings =
            platform::FormatSettingsFromLocale(QLocale(QString::fromLatin1(name)));
        const ScopedDateEnvironment locale(settings, clock_);
        const auto longDate = [&](DateTime date) {
            return std::optional(QString::fromStdString(FormatDateTime("dddd d mmmm yyyy", date, settings)));
        };
        EXPECT_EQ(Caption({monday, QStringLiteral("0"), false, nullptr, {}}), longDate(monday)) << name;
        EXPECT_EQ(Caption({monday, QStringLiteral("5"), true, nullptr, {}}), longDate(monday + 5)) << name;
        EXPECT_EQ(Caption({monday, QStringLiteral("-5"), false, nullptr, {}}), longDate(monday - 7)) << name;
    }
}

} // namespace
} // namespace kalendo::app
