#include "dates/Clock.h"

#include "dates/OperatingSystem.h"

#include <chrono>
#include <ctime>

namespace kalendo {

DateTime SystemClock::Now() const {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto msec = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
    const std::tm local = os::LocalTime(seconds);
    return ComposeDateTime(EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
                           EncodeTime(local.tm_hour, local.tm_min, local.tm_sec, msec < 0 ? 0 : msec));
}

} // namespace kalendo
