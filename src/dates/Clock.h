#pragma once

#include "dates/DateTime.h"

namespace kalendo {

// The current local date and time. Every "today" in the libraries comes from a Clock, so tests
// and the command line can fix it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime Now() const = 0;
    DateTime Today() const { return DateOf(Now()); }
};

// The machine's local time.
class SystemClock final : public Clock {
public:
    DateTime Now() const override;
};

// A clock that stands still at a given moment until told otherwise.
class FixedClock final : public Clock {
public:
    explicit FixedClock(DateTime now) : now_(now) {}
    DateTime Now() const override { return now_; }
    void Set(DateTime now) { now_ = now; }

private:
    DateTime now_;
};

} // namespace kalendo
