#include "cli/CliArguments.h"

#include <gtest/gtest.h>

#include <limits>

namespace kalendo::cli {
namespace {

const FixedClock kClock(ComposeDateTime(EncodeDate(2026, 12, 7), EncodeTime(15, 30, 0)));

TEST(CliArguments, dateArgumentsInTheirThreeForms) {
    EXPECT_EQ(ParseDateArgument("2026-12-07", kClock), EncodeDate(2026, 12, 7));
    EXPECT_EQ(ParseDateArgument("today", kClock), EncodeDate(2026, 12, 7)) << "today is the whole day";
    EXPECT_EQ(ParseDateArgument("0001-01-01", kClock), EncodeDate(1, 1, 1));
    EXPECT_EQ(ParseDateArgument("9999-12-31", kClock), EncodeDate(9999, 12, 31));
    const std::optional<DateTime> withTime = ParseDateArgument("1899-12-29T06:00:00", kClock);
    ASSERT_TRUE(withTime);
    EXPECT_EQ(DecodeDate(*withTime), (CivilDate{1899, 12, 29}));
    EXPECT_EQ(DecodeTime(*withTime), (TimeOfDay{6, 0, 0, 0}));
}

TEST(CliArguments, malformedDatesAreRefused) {
    for (const char* bad :
         {"", "2026-1-07", "2026-12-7", "26-12-07", "2026/12/07", "2026-13-01", "2026-02-29", "0000-01-01",
          "2026-12-07T24:00:00", "2026-12-07T10:60:00", "2026-12-07 10:00:00", "2026-12-07T10:00",
          "+026-12-07", "2026-12-0x", "Today", "2026-12-07T10:00:00Z", "-001-12-07"})
        EXPECT_FALSE(ParseDateArgument(bad, kClock).has_value()) << bad;
}

TEST(CliArguments, integersWithinTheirRange) {
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(ParseInteger("-5", lo, hi), -5);
    EXPECT_EQ(ParseInteger("+5", lo, hi), 5);
    EXPECT_EQ(ParseInteger("2147483647", lo, hi), hi);
    EXPECT_EQ(ParseInteger("-2147483648", lo, hi), lo);
    for (const char* bad : {"", "+", "-", "2147483648", "-2147483649", "99999999999999999999", "1.5", "5 ",
                            " 5", "0x10", "+-5", "++5", "1e3"})
        EXPECT_FALSE(ParseInteger(bad, lo, hi).has_value()) << bad;
    EXPECT_FALSE(ParseInteger("999", 1000, 3000).has_value());
}

TEST(CliArguments, isoTextShowsTheTimeOnlyWhenThereIsOne) {
    EXPECT_EQ(IsoText(0.0), "1899-12-30");
    EXPECT_EQ(IsoText(EncodeDate(2026, 12, 7)), "2026-12-07");
    EXPECT_EQ(IsoText(ComposeDateTime(EncodeDate(1899, 12, 29), 0.25)), "1899-12-29T06:00:00");
    EXPECT_EQ(IsoText(ComposeDateTime(EncodeDate(1, 1, 1), EncodeTime(23, 59, 59))), "0001-01-01T23:59:59");
    EXPECT_TRUE(IsEncodableDay(EncodeDate(9999, 12, 31) + 0.5));
    EXPECT_FALSE(IsEncodableDay(EncodeDate(9999, 12, 31) + 1));
    EXPECT_FALSE(IsEncodableDay(EncodeDate(1, 1, 1) - 1));
    EXPECT_FALSE(IsEncodableDay(std::numeric_limits<double>::quiet_NaN()));
}

TEST(CliArguments, jsonStringsAreAlwaysValid) {
    struct Row {
        const char* meaning;
        std::string text;
        const char* expected;
    };
    const Row rows[] = {
        {"plain text", "Monday 7 December", "\"Monday 7 December\""},
        {"quotes and backslashes", "a\"b\\c", R"("a\"b\\c")"},
        {"control characters", std::string("a\nb\tc\x01", 6) + std::string(1, '\0'),
         R"("a\nb\tc\u0001\u0000")"},
        {"UTF-8 passes",
         "d\xC3\xA9"
         "cembre \xE2\x82\xAC \xF0\x9F\x93\x85",
         "\"d\xC3\xA9"
         "cembre \xE2\x82\xAC \xF0\x9F\x93\x85\""},
        {"a stray continuation byte", "a\x80z", R"("a\ufffdz")"},
        {"a cut sequence at the end", "a\xE2\x82", R"("a\ufffd\ufffd")"},
        {"an overlong form", "\xC0\xAF", R"("\ufffd\ufffd")"},
        {"a surrogate", "\xED\xA0\x80", R"("\ufffd\ufffd\ufffd")"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(JsonString(row.text), row.expected) << row.meaning;
    EXPECT_EQ(JsonNumber(46363), "46363");
    EXPECT_EQ(JsonNumber(-1.25), "-1.25");
    EXPECT_EQ(JsonNumber(-0.0), "0");
}

TEST(CliArguments, quotedArgumentsStayOnOneShortLine) {
    EXPECT_EQ(Quoted("a\nb\x1b"), "'a?b?'");
    EXPECT_EQ(Quoted(std::string(100, 'x')), "'" + std::string(40, 'x') + "...'");
}

TEST(CliArguments, environmentLocaleFallsBackToTheUnitedKingdomTable) {
    EXPECT_EQ(SettingsForEnvironmentLocale("en_US.UTF-8").shortDateFormat,
              UnitedStatesSettings().shortDateFormat);
    for (const char* name : {"", "C", "POSIX", "C.UTF-8", "en_GB.UTF-8", "de_DE.UTF-8", "\xff"})
        EXPECT_EQ(SettingsForEnvironmentLocale(name).shortDateFormat, UnitedKingdomSettings().shortDateFormat)
            << name;
}

TEST(CliArguments, everyCountryOfTheNamedDatesTableIsReachedFromALocaleName) {
    const struct {
        const char* locale;
        const char* country;
        const char* shortDateFormat;
    } rows[] = {
        {"en_GB", "United Kingdom", "dd/mm/yyyy"}, {"en_IE", "Ireland", "dd/mm/yyyy"},
        {"en_US", "United States", "m/d/yyyy"},    {"en_CA", "Canada", "dd/mm/yyyy"},
        {"fr_CA", "Canada", "dd/mm/yyyy"},         {"en_AU", "Australia", "dd/mm/yyyy"},
        {"en_NZ", "New Zealand", "dd/mm/yyyy"},    {"en_ZA", "South Africa", "dd/mm/yyyy"},
        {"en_IN", "India", "dd/mm/yyyy"},          {"de_DE.UTF-8", "Germany", "dd/mm/yyyy"},
        {"fr_FR@euro", "France", "dd/mm/yyyy"},    {"nl-NL", "Netherlands", "dd/mm/yyyy"},
        {"sv_se", "Sweden", "dd/mm/yyyy"},         {"ja_JP.eucJP", "Japan", "dd/mm/yyyy"},
        {"en", "United Kingdom", "dd/mm/yyyy"},    {"C", "United Kingdom", "dd/mm/yyyy"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.locale);
        const std::optional<FormatSettings> settings = SettingsForLocaleName(row.locale);
        ASSERT_TRUE(settings);
        EXPECT_EQ(settings->countryName, row.country);
        EXPECT_EQ(settings->shortDateFormat, row.shortDateFormat);
        EXPECT_EQ(SettingsForEnvironmentLocale(row.locale).countryName, row.country);
    }
    for (const char* name : {"de", "xx_YY", "de_", "_DE_", "", "en_GBR"})
        EXPECT_FALSE(SettingsForLocaleName(name)) << name;
    EXPECT_EQ(CountryOfLocaleName("pt_BR"), "BR") << "a country of the holiday data goes by its code";
    EXPECT_EQ(SettingsForEnvironmentLocale("de_AT.UTF-8").countryName, "AT");
    EXPECT_EQ(SettingsForEnvironmentLocale("en_YY.UTF-8").countryName, "United Kingdom")
        << "a country the data does not know";
}

} // namespace
} // namespace kalendo::cli
