#pragma once

#include "dates/DateTime.h"
#include "dates/HolidayDataFile.h"

#include <QString>

#include <optional>

namespace kalendo::app {

// The user's choice of public holidays as the settings store keeps it, in text values that
// older versions leave alone:
//  - the place's code, "GB-ENG" ("" = not chosen yet: the country of the user's locale);
//  - own days off, "2026-12-24 Company closure;2026-12-31 Bridge day";
//  - worked days, "2026-12-28;2027-01-04".
// Reading drops whatever is damaged (a bad date, a day outside 1752 to 3000, a repeat) and keeps
// the rest, so a damaged value never stops the start.
QString CleanPlaceCode(const QString& stored);
HolidayChanges ReadHolidayChanges(const QString& ownDaysOff, const QString& workedDays);
QString OwnDaysOffText(const HolidayChanges& changes);
QString WorkedDaysText(const HolidayChanges& changes);

// Why an own day off cannot be added, as one plain line; nullopt when it can.
std::optional<QString> OwnDayOffRefusal(const HolidayChanges& changes, DateTime date, const QString& name);

} // namespace kalendo::app
