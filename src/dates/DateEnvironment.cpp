#include "dates/DateEnvironment.h"

#include <utility>

namespace kalendo {

namespace {

FormatSettings& SettingsSlot() {
    static FormatSettings settings = UnitedKingdomSettings();
    return settings;
}

std::shared_ptr<const Clock>& ClockSlot() {
    static std::shared_ptr<const Clock> clock = std::make_shared<SystemClock>();
    return clock;
}

} // namespace

const FormatSettings& CurrentFormatSettings() { return SettingsSlot(); }

void SetCurrentFormatSettings(FormatSettings settings) { SettingsSlot() = std::move(settings); }

const Clock& CurrentClock() { return *ClockSlot(); }

void SetCurrentClock(std::shared_ptr<const Clock> clock) {
    ClockSlot() = clock ? std::move(clock) : std::make_shared<SystemClock>();
}

ScopedDateEnvironment::ScopedDateEnvironment(FormatSettings settings, std::shared_ptr<const Clock> clock)
    : savedSettings_(CurrentFormatSettings()), savedClock_(ClockSlot()) {
    SetCurrentFormatSettings(std::move(settings));
    SetCurrentClock(std::move(clock));
}

ScopedDateEnvironment::~ScopedDateEnvironment() {
    SetCurrentFormatSettings(std::move(savedSettings_));
    SetCurrentClock(std::move(savedClock_));
}

} // namespace kalendo
