#include "app/CountryHolidays.h"

#include "dates/DateStringTranslater.h"
#include "dates/HolidayTable.h"

namespace kalendo::app {

void TCountryHolidays::Load() { table_ = NamedDatesHolidays(); }

const HolidayTable* TCountryHolidays::Table() const {
    return table_ != nullptr && table_->SectionFound() ? table_.get() : nullptr;
}

QString TCountryHolidays::NamesOn(DateTime date) const {
    const HolidayTable* table = Table();
    if (table == nullptr) return {};
    QString names;
    for (const NamedDay& holiday : table->Holidays().On(date)) {
        if (!names.isEmpty()) names += QStringLiteral(", ");
        names += QString::fromStdString(holiday.Name);
    }
    return names;
}

} // namespace kalendo::app
