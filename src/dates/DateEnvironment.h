#pragma once

#include "dates/Clock.h"
#include "dates/FormatSettings.h"

#include <memory>

namespace kalendo {

// The locale settings and clock that the shared date services use. The program fills them at
// start from the platform; tests and the command line set their own. Single-threaded, like the
// rest of the program.
const FormatSettings& CurrentFormatSettings();
void SetCurrentFormatSettings(FormatSettings settings);

const Clock& CurrentClock();
void SetCurrentClock(std::shared_ptr<const Clock> clock);

// Restores the previous settings and clock when it goes out of scope (for tests).
class ScopedDateEnvironment {
public:
    ScopedDateEnvironment(FormatSettings settings, std::shared_ptr<const Clock> clock);
    ~ScopedDateEnvironment();
    ScopedDateEnvironment(const ScopedDateEnvironment&) = delete;
    ScopedDateEnvironment& operator=(const ScopedDateEnvironment&) = delete;

private:
    FormatSettings savedSettings_;
    std::shared_ptr<const Clock> savedClock_;
};

} // namespace kalendo
