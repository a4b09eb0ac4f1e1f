#pragma once

#include "dates/DateTime.h"
#include "dates/FormatSettings.h"

#include <array>
#include <string>

namespace kalendo {

// Easter Day (whole day) of a year in the proleptic Gregorian calendar, by Oudin's integer
// computus. Meant for 1000..3000; throws Error(kInvalidDateEncode) outside the years 1..9999.
DateTime EasterSunday(int year);

// A movable feast that hangs on Easter Day: its label, the start of its line, and its distance
// from Easter Day in days.
struct EasterFeast {
    const char* label;
    const char* prefix;
    int offsetDays;
};

// The seven feasts in window order, Shrove Tuesday first.
const std::array<EasterFeast, 7>& EasterFeasts();

// The seven lines of the Easter window: each prefix followed by the date as "dddd d mmmm".
std::array<std::string, 7> EasterLines(int year, const FormatSettings& settings);

} // namespace kalendo
