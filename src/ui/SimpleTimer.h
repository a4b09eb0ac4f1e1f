#pragma once

#include <QTimer>

#include <functional>

namespace kalendo {

// A light timer for the notification icon: an interval, an on/off switch and one handler, with
// the option to stop itself after the first tick. Tests call Tick() instead of waiting.
class TSimpleTimer {
public:
    TSimpleTimer();
    ~TSimpleTimer();
    TSimpleTimer(const TSimpleTimer&) = delete;
    TSimpleTimer& operator=(const TSimpleTimer&) = delete;

    // Milliseconds; 0 means the timer cannot run.
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned milliseconds);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool AutoDisable() const { return autoDisable_; }
    void SetAutoDisable(bool value) { autoDisable_ = value; }
    void SetOnTimer(std::function<void()> handler);
    bool HasOnTimer() const { return static_cast<bool>(onTimer_); }

    // Starts (or restarts) the timer; false with an interval of 0.
    bool Start();
    // Stops the timer and, when asked, marks it disabled.
    void Stop(bool disable);
    bool Running() const { return running_; }

    // What a tick does: stop first when AutoDisable is set, then call the handler.
    void Tick();

    // Timers running over the whole program, so an idle program can be seen to be idle.
    static int RunningCount();

private:
    unsigned interval_ = 1000;
    bool enabled_ = false;
    bool autoDisable_ = false;
    bool running_ = false;
    std::function<void()> onTimer_;
    QTimer timer_;
};

} // namespace kalendo
