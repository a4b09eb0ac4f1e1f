#include "easter/Easter.h"

#include "dates/DateFormat.h"
#include "dates/Error.h"

namespace kalendo {

DateTime EasterSunday(int year) {
    // Outside the encoder's years the date cannot be held (and h + 1 could reach zero below).
    if (year < 1 || year > 9999) throw Error(kInvalidDateEncode);
    // Oudin's algorithm (1940) in integer form; every value is non-negative for the years in
    // use except l, which goes down to -6.
    const int g = year % 19;                                          // golden number - 1, 0..18
    const int c = year / 100;                                         // century
    const int h = (c - c / 4 - (8 * c + 13) / 25 + 19 * g + 15) % 30; // 0..29
    // Days from 21 March to the paschal full moon, 0..28.
    const int i = h - (h / 28) * (1 - (h / 28) * (29 / (h + 1)) * ((21 - g) / 11));
    const int j = (year + year / 4 + i + 2 - c + c / 4) % 7; // weekday of the full moon, 0 = Sunday
    const int l = i - j;                                     // -6..28
    const int month = 3 + (l + 40) / 44;
    const int day = l + 28 - 31 * (month / 4);
    return EncodeDate(year, month, day);
}

const std::array<EasterFeast, 7>& EasterFeasts() {
    static const std::array<EasterFeast, 7> feasts = {{
        {"ShroveTuesday", "Shrove Tuesday is on ", -47},
        {"AshWednesday", "Ash Wednesday is on ", -46},
        {"PalmSunday", "Palm Sunday is on ", -7},
        {"GoodFriday", "Good Friday is on ", -2},
        {"EasterDay", "Easter Day is on ", 0},
        {"EasterMonday", "Easter Monday is on ", 1},
        {"AscensionDay", "Ascension Day is on ", 39},
    }};
    return feasts;
}

std::array<std::string, 7> EasterLines(int year, const FormatSettings& settings) {
    const DateTime easter = EasterSunday(year);
    std::array<std::string, 7> lines;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const EasterFeast& feast = EasterFeasts()[n];
        lines[n] = feast.prefix + FormatDateTime("dddd d mmmm", easter + feast.offsetDays, settings);
    }
    return lines;
}

} // namespace kalendo
