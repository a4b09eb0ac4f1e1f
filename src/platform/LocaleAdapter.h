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
// the decoder read its named dates from NamedDatesDirectory().
void InstallDateEnvironment();
void InstallDateEnvironment(const QLocale& locale);

// Where the named-dates file "DateScan.DAT" is looked for: the Windows system folder there, a
// system-wide data folder elsewhere ($KALENDO_DATA_DIR when set, else /usr/share/kalendo).
QString NamedDatesDirectory();

} // namespace kalendo::platform
