#include "platform/LocaleAdapter.h"

#include "dates/DateEnvironment.h"
#include "dates/DateFormat.h"
#include "dates/DateStringTranslater.h"
#include "dates/Error.h"
#include "dates/NamedDatesLocation.h"
#include "dates/VorlanDates.h"
#include "dates/VorlanDecodeDate.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace kalendo::platform {
namespace {

TEST(LocaleAdapter, translatesQtDateLettersAndFindsTheSeparator) {
    struct Row {
        const char* qt;
        const char* format;
        const char* separator;
    };
    const Row rows[] = {
        {"dd/MM/yyyy", "dd/mm/yyyy", "/"},
        // two-digit years widened
        {"M/d/yy", "m/d/yyyy", "/"},
        {"dd.MM.yyyy", "dd/mm/yyyy", "."},
        {"yyyy-MM-dd", "yyyy/mm/dd", "-"},
        {"d MMMM yyyy", "d/mmmm/yyyy", " "},
        {"dddd, d 'de' MMMM", "dddd/d \"de\" mmmm", ", "},
    };
    for (const Row& row : rows) {
        const TranslatedDateFormat t = TranslateQtDateFormat(QString::fromLatin1(row.qt));
        EXPECT_EQ(t.format, row.format) << row.qt;
        EXPECT_EQ(t.separator, row.separator) << row.qt;
    }
}

TEST(LocaleAdapter, translatesQtTimeLettersAndDropsTheZone) {
    EXPECT_EQ(TranslateQtTimeFormat("HH:mm:ss t"), "hh:nn:ss");
    EXPECT_EQ(TranslateQtTimeFormat("h:mm:ss AP t"), "h:nn:ss AMPM");
    EXPECT_EQ(TranslateQtTimeFormat("h:mm:ss ap"), "h:nn:ss AMPM");
    EXPECT_EQ(TranslateQtTimeFormat("HH:mm:ss.zzz"), "hh:nn:ss");
}

TEST(LocaleAdapter, britishAndAmericanLocalesGiveTheRollOverTexts) {
    const DateTime lastSeconds = EncodeTime(23, 59, 58);
    const FormatSettings uk = FormatSettingsFromLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
    EXPECT_EQ(uk.shortDateFormat, "dd/mm/yyyy");
    EXPECT_EQ(uk.dateSeparator, "/");
    EXPECT_EQ(FormatTime(uk.longTimeFormat, lastSeconds, uk), "23:59:58");
    EXPECT_EQ(uk.firstDayOfWeek, dwMonday);
    EXPECT_EQ(uk.longDayNames[0], "Sunday");
    EXPECT_EQ(uk.longMonthNames[11], "December");
    EXPECT_EQ(uk.countryName, "United Kingdom");

    const FormatSettings us = FormatSettingsFromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(DateOrderOf(us.shortDateFormat), doMonthDayYear);
    EXPECT_EQ(FormatTime(us.longTimeFormat, lastSeconds, us), "11:59:58 PM");
    EXPECT_EQ(us.firstDayOfWeek, dwSunday);
}

TEST(LocaleAdapter, shortDatesRoundTripThroughTheParser) {
    for (const QLocale& locale :
         {QLocale(QLocale::English, QLocale::UnitedKingdom), QLocale(QLocale::English, QLocale::UnitedStates),
          QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::Swedish, QLocale::Sweden)}) {
        const FormatSettings s = FormatSettingsFromLocale(locale);
        for (DateTime d : {EncodeDate(1752, 1, 1), EncodeDate(2001, 3, 1), EncodeDate(3000, 12, 31)}) {
            const std::string text = DateToStr(d, s);
            EXPECT_EQ(TryStrToDate(text, s), d) << locale.name().toStdString() << " " << text;
        }
    }
}

const std::shared_ptr<FixedClock> kWednesday9December2026 =
    std::make_shared<FixedClock>(EncodeDate(2026, 12, 9) + EncodeTime(14, 25, 30));

// DecodeDateText's answer: the date, or the error text.
std::string DecodeDateTextAnswer(const std::string& text) {
    try {
        return std::to_string(DecodeDateText(text));
    } catch (const Error& error) {
        return error.what();
    }
}

// The add/subtract panel writes the left date in the long date form and decodes it, then shows
// its result through the short date with a four-digit year read back by the short date parser;
// the dates are saved as short dates. All three must give the date back in every locale: year
// first ones, names with blanks, dots, digits or decoder words, short dates with text of their own.
TEST(LocaleAdapter, everyLocale_readsBackTheAddSubtractPanelsDates) {
    std::vector<DateTime> dates = {EncodeDate(1752, 1, 1), EncodeDate(2000, 2, 29), EncodeDate(2028, 2, 29),
                                   EncodeDate(3000, 12, 31)};
    for (int month = 1; month <= 12; ++month)
        dates.push_back(EncodeDate(2026, month, MonthDays(2026, month)));
    for (int day = 7; day <= 13; ++day)
        dates.push_back(EncodeDate(2026, 12, day)); // Monday to Sunday

    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    ASSERT_GT(locales.size(), 300);
    std::vector<std::string> failures;
    for (const QLocale& locale : locales) {
        const FormatSettings settings = FormatSettingsFromLocale(locale);
        const ScopedDateEnvironment environment(settings, kWednesday9December2026);
        const std::string name = locale.name().toStdString();
        for (const DateTime date : dates) {
            const std::string longDate = FormatDateTime("dddd d mmmm yyyy", date, settings);
            const std::string decoded = DecodeDateTextAnswer(longDate);
            if (decoded != std::to_string(date))
                failures.push_back(name + " \"" + longDate + "\" decodes to " + decoded);
            const std::string shown = FormatDateLongYear(date);
            if (TryStrToDate(shown, settings) != date)
                failures.push_back(name + " result \"" + shown + "\" does not read back");
            const std::string saved = DateToStr(date, settings);
            if (TryStrToDate(saved, settings) != date)
                failures.push_back(name + " saved \"" + saved + "\" does not read back");
        }
    }
    for (std::size_t i = 0; i < failures.size() && i < 5; ++i)
        ADD_FAILURE() << failures[i];
    EXPECT_EQ(failures.size(), 0U);
}

// Under Qt's own English tables the long date form's reader answers as the decoder would: the
// British and American results of DecodeDateText stay as they were before it.
TEST(LocaleAdapter, britishAndAmericanLocales_decodeAsTheDecoderAlone) {
    for (const QLocale& locale : {QLocale(QLocale::English, QLocale::UnitedKingdom),
                                  QLocale(QLocale::English, QLocale::UnitedStates)}) {
        const FormatSettings settings = FormatSettingsFromLocale(locale);
        const ScopedDateEnvironment environment(settings, kWednesday9December2026);
        std::vector<std::string> texts = {"Monday 7 December 2026",
                                          "Tuesday 7 December 2026",
                                          "monday 7 december 2026",
                                          "Monday 07 December 2026",
                                          "Mon 7 Dec 2026",
                                          "Monday 7 December 26",
                                          "7 December 2026",
                                          "12/7/2026",
                                          "next Friday",
                                          "3 days ago"};
        // Every weekday across the calendars' range, each also under the next day's name.
        for (DateTime d = kSerialOf1Jan1752; d <= kSerialOf31Dec3000; d += 31) {
            texts.push_back(FormatDateTime("dddd d mmmm yyyy", d, settings));
            texts.push_back(settings.longDayNames[static_cast<std::size_t>(DayOfWeek(d) % 7)] +
                            FormatDateTime(" d mmmm yyyy", d, settings));
        }
        int differences = 0;
        for (const std::string& text : texts) {
            TVorlanDecodeDate decoder;
            decoder.SetDateToDecode(text);
            const std::string alone = decoder.ValidDateTime() ? std::to_string(decoder.DecodedDate())
                                                              : kUnableToDecodeMessage + text;
            if (DecodeDateTextAnswer(text) != alone && differences++ < 3)
                ADD_FAILURE() << locale.name().toStdString() << " \"" << text
                              << "\": " << DecodeDateTextAnswer(text) << " instead of " << alone;
        }
        EXPECT_EQ(differences, 0) << locale.name().toStdString();
    }
}

TEST(LocaleAdapter, theCLocaleFallsBackToTheBritishTable) {
    const FormatSettings c = FormatSettingsFromLocale(QLocale::c());
    EXPECT_EQ(c.shortDateFormat, "dd/mm/yyyy");
    EXPECT_EQ(c.longMonthNames[0], "January");
}

// Sets $KALENDO_DATA_DIR for one test and puts back what it was.
class DataDirectory : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = qgetenv("KALENDO_DATA_DIR");
        hadValue_ = qEnvironmentVariableIsSet("KALENDO_DATA_DIR");
    }
    void TearDown() override {
        if (hadValue_)
            qputenv("KALENDO_DATA_DIR", saved_);
        else
            qunsetenv("KALENDO_DATA_DIR");
    }
    static QString Native(const std::filesystem::path& path) {
        return QDir::toNativeSeparators(QString::fromStdU16String(path.u16string()));
    }
    static void PutFileIn(const QString& folder) {
        std::ofstream(std::filesystem::path(folder.toStdU16String()) / "DateScan.DAT")
            << "[United Kingdom]\n";
    }

private:
    QByteArray saved_;
    bool hadValue_ = false;
};

TEST_F(DataDirectory, aUsersOwnFolderInKalendoDataDirWins) {
    QTemporaryDir own;
    ASSERT_TRUE(own.isValid());
    PutFileIn(own.path());
    qputenv("KALENDO_DATA_DIR", own.path().toUtf8());
    EXPECT_EQ(NamedDatesDirectory(), QDir::toNativeSeparators(own.path()));
}

TEST_F(DataDirectory, aProgramOfTheBuildTreeFindsTheShippedTable) {
    QTemporaryDir empty;
    qputenv("KALENDO_DATA_DIR", empty.path().toUtf8());
    EXPECT_EQ(NamedDatesDirectory(), Native(SourceTreeDataDirectory()));
}

TEST_F(DataDirectory, anInstalledTableBesideTheProgramComesBeforeTheSourceTree) {
    qunsetenv("KALENDO_DATA_DIR");
    // The install layout bin/../share/kalendo, made beside this test's own folder for the test.
    const QString share = QCoreApplication::applicationDirPath() + QStringLiteral("/../share");
    const QString installed = share + QStringLiteral("/kalendo");
    ASSERT_TRUE(QDir().mkpath(installed));
    PutFileIn(installed);
    EXPECT_EQ(NamedDatesDirectory(), QDir::toNativeSeparators(QDir::cleanPath(installed)));
    QDir(share).removeRecursively();
    EXPECT_EQ(NamedDatesDirectory(), Native(SourceTreeDataDirectory()));
}

TEST_F(DataDirectory, installDateEnvironmentPointsNamedDatesAndHolidaysAtTheTable) {
    qunsetenv("KALENDO_DATA_DIR");
    const ScopedDateEnvironment restoresTheSettingsAndClock(UnitedKingdomSettings(), nullptr);
    const std::string savedDirectory = SharedDateStringTranslater().DataDirectory();
    const std::string savedCountry = SharedDateStringTranslater().CountryName();
    InstallDateEnvironment(QLocale(QLocale::English, QLocale::NewZealand));
    EXPECT_EQ(QString::fromStdString(SharedDateStringTranslater().DataDirectory()), NamedDatesDirectory());
    const std::shared_ptr<const HolidayTable> holidays = NamedDatesHolidays();
    ASSERT_NE(holidays, nullptr);
    ASSERT_EQ(holidays->Holidays().On(EncodeDate(2026, 2, 6)).size(), 1U);
    EXPECT_EQ(holidays->Holidays().On(EncodeDate(2026, 2, 6))[0].Name, "Waitangi Day");
    SetNamedDatesSource(savedDirectory, savedCountry);
}

} // namespace
} // namespace kalendo::platform
