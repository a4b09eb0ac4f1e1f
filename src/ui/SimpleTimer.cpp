#include "ui/SimpleTimer.h"

#include <limits>

namespace kalendo {

namespace {
int runningTimers = 0;
} // namespace

TSimpleTimer::TSimpleTimer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
}

TSimpleTimer::~TSimpleTimer() { Stop(true); }

void TSimpleTimer::SetInterval(unsigned milliseconds) {
    if (milliseconds == interval_) return;
    interval_ = milliseconds;
    if (!running_) return;
    if (interval_ == 0)
        Stop(true);
    else
        Start();
}

void TSimpleTimer::SetEnabled(bool value) {
    if (value)
        Start();
    else
        Stop(true);
}

void TSimpleTimer::SetOnTimer(std::function<void()> handler) {
    onTimer_ = std::move(handler);
    if (!onTimer_ && running_) Stop(true);
}

bool TSimpleTimer::Start() {
    if (interval_ == 0) return false;
    if (running_) Stop(false);
    // QTimer takes an int; longer periods than it can hold are held at its limit.
    const auto limit = static_cast<unsigned>(std::numeric_limits<int>::max());
    timer_.start(static_cast<int>(interval_ > limit ? limit : interval_));
    enabled_ = true;
    running_ = true;
    ++runningTimers;
    return true;
}

void TSimpleTimer::Stop(bool disable) {
    if (disable) enabled_ = false;
    if (!running_) return;
    timer_.stop();
    running_ = false;
    --runningTimers;
}

void TSimpleTimer::Tick() {
    if (autoDisable_) Stop(true);
    if (onTimer_) onTimer_();
}

int TSimpleTimer::RunningCount() { return runningTimers; }

} // namespace kalendo
