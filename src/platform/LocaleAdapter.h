#pragma once

#include "dates/FormatSettings.h"

#include <QString>

class QLocale;

namespace kalendo::platform {

// Fills the date services' locale settings from a QLocale. Qt's format letters are translated
// into this program's (M becomes m for the month, mm after an hour becomes nn for minutes, AP
// becomes AMPM; time-zone and millisecond letters are dropped). Short dates always carry a
// four-digit year: a two-digit year cannot be typed into the date mask and would move a saved
// 1752 to 1952. The C/POSIX locale, which has no names of its own, gets the United Kingdom table.
FormatSettings FormatSettingsFromLocale(const QLocale& locale);

// Translates one Qt date format ("dd/MM/yyyy") into this program's letters with "/" standing
// for the separator it returns ("dd/mm/yyyy", "/").
struct TranslatedDateFormat {
    std::string format;
    std::string separator;
};
TranslatedDateFormat TranslateQtDateFormat(const QString& qtFormat);
std::string TranslateQtTimeFormat(const QString& qtFormat);

// Makes the date services use the given locale (by default the user's) and the system clock, and
// the decoder read its named dates from NamedDatesDirectory(); the holiday data is the first
// "holidays" folder of the same search order.
void InstallDateEnvironment();
void InstallDateEnvironment(const QLocale& locale);

// The folder of the named-dates file "DateScan.DAT": the first that holds it of
// $KALENDO_DATA_DIR, the Windows system folder (on Windows), ../share/kalendo beside the
// program's folder (an install) and the source tree's data/ (a program run from the build tree).
// Empty when none does, and then named dates and holidays are simply not found.
QString NamedDatesDirectory();

} // namespace kalendo::platform
