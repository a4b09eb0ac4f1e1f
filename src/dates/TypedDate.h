#pragma once

#include "dates/DateTime.h"

#include <string_view>

namespace kalendo {

// What a line of free text typed for a calendar reads as.
struct TypedDateReading {
    enum Kind {
        kEmpty,      // nothing typed yet
        kDate,       // a date within the bounds
        kOutOfRange, // a date, but outside the bounds
        kNoDate,     // no date the decoder can read
    };
    Kind kind = kEmpty;
    DateTime date = 0.0; // the whole day, for kDate and kOutOfRange
};

// Reads an ISO 8601 date ("2027-01-15") as such, before anything else; any other text as the
// free-text decoder does (relative phrases, named dates, a time of day on today), keeping the
// whole day. Never throws and never shows the decoder's own message:
// the text is read afresh at every keystroke.
TypedDateReading ReadTypedDate(std::string_view text, DateTime minDate, DateTime maxDate);

} // namespace kalendo
