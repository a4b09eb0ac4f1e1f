#include "dates/FormatSettings.h"

#include <algorithm>
#include <cctype>

namespace kalendo {

namespace {

FormatSettings EnglishNames() {
    FormatSettings s;
    s.shortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    s.longMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                        "July",    "August",   "September", "October", "November", "December"};
    s.shortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    s.longDayNames = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    s.dateSeparator = "/";
    s.timeSeparator = ":";
    s.amDesignator = "AM";
    s.pmDesignator = "PM";
    return s;
}

std::string Normalised(std::string_view name) {
    std::string out;
    for (char c : name) {
        if (c == '.' || c == '@') break; // "en_GB.UTF-8", "en_GB@euro"
        out += c == '-' ? '_' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

} // namespace

FormatSettings UnitedKingdomSettings() {
    FormatSettings s = EnglishNames();
    s.shortDateFormat = "dd/mm/yyyy";
    s.longDateFormat = "dd mmmm yyyy";
    s.longTimeFormat = "hh:nn:ss";
    s.firstDayOfWeek = dwMonday;
    s.countryName = "United Kingdom";
    return s;
}

FormatSettings UnitedStatesSettings() {
    FormatSettings s = EnglishNames();
    s.shortDateFormat = "m/d/yyyy";
    s.longDateFormat = "dddd, mmmm d, yyyy";
    s.longTimeFormat = "h:nn:ss AMPM";
    s.firstDayOfWeek = dwSunday;
    s.countryName = "United States";
    return s;
}

std::optional<FormatSettings> BuiltInSettings(std::string_view localeName) {
    const std::string name = Normalised(localeName);
    if (name == "en_gb" || name == "en" || name == "c" || name == "posix") return UnitedKingdomSettings();
    if (name == "en_us") return UnitedStatesSettings();
    return std::nullopt;
}

} // namespace kalendo
