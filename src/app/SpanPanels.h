#pragma once

#include "dates/DateTime.h"

#include <QStringList>

class QLabel;

namespace kalendo {
class HolidayTable;
}

namespace kalendo::app {

// The four panels that show the span between the calendars' dates.
class TSpanPanels {
public:
    TSpanPanels(QLabel& days, QLabel& weeks, QLabel& months, QLabel& years);

    // Shows the span; the days panel's tooltip counts business days, skipping the given
    // holidays too when there are any (and naming their place). Dates in the wrong order leave
    // the other panels as they were and say so in the years panel.
    void Show(DateTime left, DateTime right, bool bothDates, const HolidayTable* skippedHolidays,
              const QString& placeName = {});
    // The texts that are current: the four, days first, or only the order error's line when the
    // other panels still show the span before it.
    QStringList Texts() const;

private:
    QLabel& days_;
    QLabel& weeks_;
    QLabel& months_;
    QLabel& years_;
    bool orderError_ = false;
};

} // namespace kalendo::app
