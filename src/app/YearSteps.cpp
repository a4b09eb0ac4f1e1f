#include "app/YearSteps.h"

#include "app/DesignColours.h"

#include <algorithm>

namespace kalendo::app {

DateTime YearsMoved(int year, int month, int day, int years) {
    const int step = years > 0 ? 1 : -1;
    for (int i = 0; i != years; i += step) {
        if (year + step < kFirstYear || year + step > kLastYear) break;
        year += step;
        day = std::min(day, MonthDays(year, month));
    }
    return EncodeDate(year, month, day);
}

} // namespace kalendo::app
