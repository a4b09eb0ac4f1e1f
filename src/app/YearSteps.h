#pragma once

#include "dates/DateTime.h"

namespace kalendo::app {

// A year at a time, as the year buttons always moved (29 February becomes 28 February in the
// first common year and stays there), and never out of the calendars' range: a step that would
// leave it stops at its end.
DateTime YearsMoved(int year, int month, int day, int years);

} // namespace kalendo::app
