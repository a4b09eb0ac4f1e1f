#include "platform/LocaleAdapter.h"

#include "dates/DateEnvironment.h"
#include "dates/DateStringTranslater.h"
#include "dates/HolidayPlaces.h"
#include "dates/NamedDatesLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>

#include <cctype>

namespace kalendo::platform {

namespace {

// Copies a Qt quoted literal ('text', with '' for a quote) as a quoted literal of ours.
int CopyQuoted(const QString& in, int at, std::string& out) {
    QString literal;
    int i = at + 1;
    while (i < in.size()) {
        if (in[i] == u'\'') {
            if (i + 1 < in.size() && in[i + 1] == u'\'') {
                literal += u'\'';
                i += 2;
                continue;
            }
            ++i;
            break;
        }
        literal += in[i++];
    }
    if (literal.contains(u'"')) literal.remove(u'"');
    out += '"' + literal.toStdString() + '"';
    return i;
}

// A run of one repeated letter ("MMMM"), or of separator characters up to the next letter or quote.
int RunLength(const QString& in, int at) {
    int end = at + 1;
    if (in[at].isLetter()) {
        while (end < in.size() && in[end] == in[at])
            ++end;
    } else {
        while (end < in.size() && !in[end].isLetter() && in[end] != u'\'')
            ++end;
    }
    return end - at;
}

} // namespace

TranslatedDateFormat TranslateQtDateFormat(const QString& qt) {
    TranslatedDateFormat result;
    int i = 0;
    while (i < qt.size()) {
        const QChar c = qt[i];
        if (c == u'\'') {
            i = CopyQuoted(qt, i, result.format);
            continue;
        }
        const int n = RunLength(qt, i);
        if (c == u'd') {
            result.format += std::string(static_cast<std::size_t>(n), 'd');
        } else if (c == u'M' || c == u'L') {
            result.format += std::string(static_cast<std::size_t>(n), 'm');
        } else if (c == u'y') {
            result.format += "yyyy";
        } else if (c.isLetter()) {
            // Letters with no meaning in a date format are dropped rather than shown raw.
        } else {
            // The first run of non-letters between fields is the date separator; every run that
            // equals it becomes "/", which the formatter turns back into the separator.
            const std::string run = qt.mid(i, n).toStdString();
            if (result.separator.empty() && !result.format.empty()) result.separator = run;
            result.format += run == result.separator ? "/" : run;
        }
        i += n;
    }
    if (result.separator.empty()) result.separator = "/";
    return result;
}

std::string TranslateQtTimeFormat(const QString& qt) {
    std::string out;
    int i = 0;
    while (i < qt.size()) {
        const QChar c = qt[i];
        if (c == u'\'') {
            i = CopyQuoted(qt, i, out);
            continue;
        }
        const int n = RunLength(qt, i);
        if (c == u'h' || c == u'H') {
            out += n >= 2 ? "hh" : "h";
        } else if (c == u'm') {
            out += n >= 2 ? "nn" : "n";
        } else if (c == u's') {
            out += n >= 2 ? "ss" : "s";
        } else if (c == u'a' || c == u'A') {
            // "AP"/"ap" (one designator) or a lone "A"/"a".
            out += "AMPM";
            if (i + 1 < qt.size() && (qt[i + 1] == u'p' || qt[i + 1] == u'P')) ++i;
        } else if (c == u't' || c == u'z') {
            // Time zone and milliseconds: drop, with the blank or separator before them.
            while (!out.empty() && !std::isalnum(static_cast<unsigned char>(out.back())))
                out.pop_back();
        } else if (c.isLetter()) {
        } else {
            out += qt.mid(i, n).toStdString();
        }
        i += n;
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

FormatSettings FormatSettingsFromLocale(const QLocale& locale) {
    if (locale.language() == QLocale::C) return UnitedKingdomSettings();

    FormatSettings s;
    const TranslatedDateFormat shortDate = TranslateQtDateFormat(locale.dateFormat(QLocale::ShortFormat));
    s.shortDateFormat = shortDate.format;
    s.dateSeparator = shortDate.separator;
    s.longDateFormat = TranslateQtDateFormat(locale.dateFormat(QLocale::LongFormat)).format;

    const QString shortTime = locale.timeFormat(QLocale::ShortFormat);
    s.timeSeparator = ":";
    for (QChar c : shortTime) {
        if (!c.isLetter() && c != u' ' && c != u'\'') {
            s.timeSeparator = QString(c).toStdString();
            break;
        }
    }
    s.longTimeFormat = TranslateQtTimeFormat(locale.timeFormat(QLocale::LongFormat));
    s.amDesignator = locale.amText().toStdString();
    s.pmDesignator = locale.pmText().toStdString();

    for (int m = 1; m <= 12; ++m) {
        s.shortMonthNames[static_cast<std::size_t>(m - 1)] =
            locale.monthName(m, QLocale::ShortFormat).toStdString();
        s.longMonthNames[static_cast<std::size_t>(m - 1)] =
            locale.monthName(m, QLocale::LongFormat).toStdString();
    }
    // Qt counts days Monday = 1 .. Sunday = 7; the date services count Sunday first.
    for (int d = 0; d < 7; ++d) {
        const int qtDay = d == 0 ? 7 : d;
        s.shortDayNames[static_cast<std::size_t>(d)] =
            locale.dayName(qtDay, QLocale::ShortFormat).toStdString();
        s.longDayNames[static_cast<std::size_t>(d)] =
            locale.dayName(qtDay, QLocale::LongFormat).toStdString();
    }
    s.firstDayOfWeek = static_cast<TDayOfWeek>(static_cast<int>(locale.firstDayOfWeek()) - 1);
    s.countryName = QLocale::territoryToString(locale.territory()).toStdString();
    return s;
}

namespace {

// Where the named-dates file and the holiday data are looked for, in order.
NamedDatesFolders SearchedFolders() {
    NamedDatesFolders folders = NamedDatesFoldersFromEnvironment();
#if defined(Q_OS_WIN)
    const QString root = qEnvironmentVariable("SystemRoot", QStringLiteral("C:\\Windows"));
    folders.systemDirectory = (root + QStringLiteral("/System32")).toStdU16String();
#endif
    // Without an application object Qt knows no program folder (and warns when asked).
    if (QCoreApplication::instance() != nullptr)
        folders.programDirectory = QCoreApplication::applicationDirPath().toStdU16String();
    return folders;
}

} // namespace

void InstallDateEnvironment() { InstallDateEnvironment(QLocale()); }

void InstallDateEnvironment(const QLocale& locale) {
    SetCurrentFormatSettings(FormatSettingsFromLocale(locale));
    SetCurrentClock(std::make_shared<SystemClock>());
    // The named-dates section follows the locale's country name, so only the folder is given.
    SetNamedDatesSource(NamedDatesDirectory().toStdString(), {});
    SetHolidayDataDirectory(FindHolidayDataDirectory(SearchedFolders()));
}

QString NamedDatesDirectory() {
    const NamedDatesFolders folders = SearchedFolders();
    // UTF-16 both ways, so no folder name depends on the C library's locale.
    return QDir::toNativeSeparators(QString::fromStdU16String(FindNamedDatesDirectory(folders).u16string()));
}

} // namespace kalendo::platform
