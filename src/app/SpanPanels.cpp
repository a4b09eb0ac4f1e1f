#include "app/SpanPanels.h"

#include "app/DesignColours.h"
#include "dates/HolidayTable.h"
#include "span/DateSpan.h"

#include <QLabel>

namespace kalendo::app {

namespace {

void SetPanel(QLabel& panel, const QString& text, bool error) {
    SetColours(panel, error ? kRed : kNavy, error ? kWhite : kYellow);
    panel.setText(text);
}

} // namespace

TSpanPanels::TSpanPanels(QLabel& days, QLabel& weeks, QLabel& months, QLabel& years)
    : days_(days), weeks_(weeks), months_(months), years_(years) {}

void TSpanPanels::Show(DateTime left, DateTime right, bool bothDates, const HolidayTable* skippedHolidays,
                       const QString& placeName) {
    SetColours(years_, kNavy, kYellow);
    const SpanTexts span = ComputeSpan(left, right, bothDates);
    orderError_ = span.orderError;
    if (span.orderError) {
        SetPanel(years_, QString::fromLatin1(kSpanOrderError), true);
        return;
    }
    SetPanel(days_, QString::fromStdString(span.days), false);
    const std::int64_t businessDays =
        skippedHolidays != nullptr ? SpanBusinessDays(left, right, bothDates, skippedHolidays->DaysOff())
                                   : SpanBusinessDays(left, right, bothDates);
    const QString businessText =
        QStringLiteral(" %1 business day%2 (Monday to Friday%3) ")
            .arg(businessDays)
            .arg(businessDays == 1 ? QString() : QStringLiteral("s"))
            .arg(skippedHolidays == nullptr ? QString()
                 : placeName.isEmpty()      ? QStringLiteral(", less public holidays")
                                            : QStringLiteral(", less public holidays of %1").arg(placeName));
    days_.setToolTip(businessText);
    // Its description too, which, unlike a tooltip, tells assistive technology when it changes.
    if (days_.accessibleDescription() != businessText.trimmed())
        days_.setAccessibleDescription(businessText.trimmed());
    SetPanel(weeks_, QString::fromStdString(span.weeks), false);
    SetPanel(months_, QString::fromStdString(span.months), false);
    SetPanel(years_, QString::fromStdString(span.years), false);
}

QStringList TSpanPanels::Texts() const {
    if (orderError_) return {years_.text()};
    return {days_.text(), weeks_.text(), months_.text(), years_.text()};
}

} // namespace kalendo::app
