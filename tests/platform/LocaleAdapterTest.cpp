#include "platform/LocaleAdapter.h"

#include "dates/DateFormat.h"

#include <QLocale>

#include <gtest/gtest.h>

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

} // namespace
} // namespace kalendo::platform
