#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kalendo {

// TDayOfWeek: the type of a calendar's first day of the week.
enum TDayOfWeek : int { dwMonday = 0, dwTuesday, dwWednesday, dwThursday, dwFriday, dwSaturday, dwSunday };

// The user's locale as the date services see it. Format strings use this system's letters
// (d, m for month, y, h, n for minutes, s, am/pm), not Qt's; texts are UTF-8.
struct FormatSettings {
    std::string shortDateFormat;                 // e.g. "dd/mm/yyyy"
    std::string longDateFormat;                  // e.g. "dddd d mmmm yyyy"
    std::string dateSeparator;                   // what "/" in a format stands for
    std::string timeSeparator;                   // what ":" in a time format stands for
    std::string longTimeFormat;                  // e.g. "hh:nn:ss"
    std::string amDesignator;                    // e.g. "AM"
    std::string pmDesignator;                    // e.g. "PM"
    std::array<std::string, 12> shortMonthNames; // January first
    std::array<std::string, 12> longMonthNames;
    std::array<std::string, 7> shortDayNames; // Sunday first
    std::array<std::string, 7> longDayNames;
    TDayOfWeek firstDayOfWeek = dwMonday;
    // English name of the user's country, as it heads a section of the named-dates file.
    std::string countryName;
};

// Built-in English tables, used by tests and when the platform gives no usable locale.
FormatSettings UnitedKingdomSettings(); // dd/mm/yyyy, "/", hh:nn:ss, Monday first
FormatSettings UnitedStatesSettings();  // m/d/yyyy, "/", h:nn:ss AM/PM, Sunday first
// "en_GB", "en-GB", "en_US", ... (case-insensitive); nullopt for names without a table.
std::optional<FormatSettings> BuiltInSettings(std::string_view localeName);

} // namespace kalendo
