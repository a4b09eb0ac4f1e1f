#include "platform/LocaleAdapter.h"

#include "dates/DateEnvironment.h"
#include "dates/DateFormat.h"
#include "dates/DateStringTranslater.h"
#include "dates/NamedDatesLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace kalendo::platform {
namespace {

TEST(LocaleAdapter, translatesQtDateLettersAndFindsTheSeparator) {
    struct Row { const char* qt; const char* format; const char* separator; };
    const Row rows[] = {
        {"dd/MM/yyyy", "dd/mm/yyyy", "/"},
        {"M/d/yy", "m/d/yyyy", "/"},            // two-digit years widened
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
    for (const QLocale& locale : {QLocale(QLocale::English, QLocale::UnitedKingdom),
                                  QLocale(QLocale::English, QLocale::UnitedStates),
                                  QLocale(QLocale::German, QLocale::Germany),
                                  QLocale(QLocale::Swedish, QLocale::Sweden)}) {
        const FormatSettings s = FormatSettingsFromLocale(locale);
        for (DateTime d : {EncodeDate(1752, 1, 1), EncodeDate(2001, 3, 1), EncodeDate(3000, 12, 31)}) {
            const std::string text = DateToStr(d, s);
            EXPECT_EQ(TryStrToDate(text, s), d) << locale.name().toStdString() << " " << text;
        }
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
