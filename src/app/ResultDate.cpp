#include "app/ResultDate.h"

#include "dates/DateEnvironment.h"
#include "dates/DateFormat.h"
#include "dates/HolidayTable.h"
#include "dates/VorlanDates.h"

namespace kalendo::app {

namespace {

constexpr const char* kLongDateForm = "dddd d mmmm yyyy";

} // namespace

std::optional<std::int32_t> ParseCount(const QString& text) {
    QString digits = text;
    const bool negative = digits.startsWith(u'-');
    if (negative) digits.remove(0, 1);
    if (digits.isEmpty()) return 0;
    bool ok = false;
    const int value = digits.toInt(&ok);
    if (!ok || digits.size() > 5 || digits.front() == u'+' || digits.front() == u'-') return std::nullopt;
    return negative ? -value : value;
}

std::optional<ResultDate> ComputeResultDate(const ResultDateRequest& request) {
    const FormatSettings& settings = CurrentFormatSettings();
    // The start is the left date as the locale's long date decoded back, and the result is
    // shown as what its short date reads back as: the line then says exactly what the
    // decoder and the short-date reader make of the dates, in every locale, and an undecodable
    // long date is reported instead of quietly computed from.
    const DateTime start = DecodeDateText(FormatDateTime(kLongDateForm, request.left, settings));
    const std::optional<std::int32_t> count = ParseCount(request.countText);
    if (!count) return std::nullopt;
    const std::string_view unit = request.weekends ? "D" : "B";
    const HolidayTable* skipped = request.weekends ? nullptr : request.skippedHolidays;
    const DateTime result = skipped != nullptr ? AddToDate(unit, *count, start, skipped->DaysOff())
                                               : AddToDate(unit, *count, start);
    const DateTime shown = StrToDate(FormatDateLongYear(result), settings);
    QString caption = QString::fromStdString(FormatDateTime(kLongDateForm, shown, settings));
    if (skipped == nullptr) return ResultDate{shown, caption};
    // Beyond the table's years there is nothing to skip, and the line says so.
    const std::optional<YearRange> years = skipped->CoveredYears();
    const bool known =
        years && years->Contains(DecodeDate(start).year) && years->Contains(DecodeDate(result).year);
    // The line names the list it counted with, so nobody counts with the wrong one unknowingly.
    caption += known ? (request.placeName.isEmpty()
                            ? QStringLiteral(" (public holidays skipped)")
                            : QStringLiteral(" (public holidays of %1 skipped)").arg(request.placeName))
                     : QStringLiteral(" (holidays known %1-%2)")
                           .arg(years ? years->first : 0)
                           .arg(years ? years->last : 0);
    return ResultDate{shown, caption};
}

} // namespace kalendo::app
