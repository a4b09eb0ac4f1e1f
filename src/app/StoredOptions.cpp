#include "app/StoredOptions.h"

#include "app/HolidayChoice.h"
#include "app/Unit2.h"
#include "platform/SettingsStore.h"

#include <array>

namespace kalendo::app {

namespace {

std::int32_t NonZeroIsOne(std::int32_t stored) { return stored != 0 ? 1 : 0; }
std::int32_t OnlyOneIsOne(std::int32_t stored) { return stored == 1 ? 1 : 0; }

// Older versions leave the options they do not know alone, so PH and PB default to what the
// window did before them: holidays shown, business days Monday to Friday.
const std::array kOptions{
    StoredOption{"WN", &TForm1::WN, 0, nullptr},
    StoredOption{"WF", &TForm1::WF, 0, nullptr},
    StoredOption{"WE", &TForm1::WE, 0, nullptr},
    StoredOption{"SE", &TForm1::SE, 0, NonZeroIsOne},
    StoredOption{"WC", &TForm1::WC, 0, nullptr},
    StoredOption{"ST", &TForm1::ST, 0, nullptr},
    StoredOption{"FI", &TForm1::FI, 0, nullptr},
    StoredOption{"AUP", &TForm1::AUP, 0, nullptr},
    StoredOption{"MUP", &TForm1::MUP, 0, nullptr},
    StoredOption{"AlwaysOnTop", &TForm1::AlwaysOnTop, 0, nullptr},
    StoredOption{"PH", &TForm1::PH, 1, NonZeroIsOne},
    StoredOption{"PB", &TForm1::PB, 0, OnlyOneIsOne},
};

QString CleanOwnDaysOff(const QString& stored) { return OwnDaysOffText(ReadHolidayChanges(stored, {})); }
QString CleanWorkedDays(const QString& stored) { return WorkedDaysText(ReadHolidayChanges({}, stored)); }

// The place of the public holidays and the user's changes to its list.
const std::array kTextOptions{
    StoredTextOption{"HolidayPlace", &TForm1::HolidayPlace, CleanPlaceCode},
    StoredTextOption{"OwnDaysOff", &TForm1::OwnDaysOff, CleanOwnDaysOff},
    StoredTextOption{"WorkedDays", &TForm1::WorkedDays, CleanWorkedDays},
};

} // namespace

std::span<const StoredOption> StoredOptions() { return kOptions; }
std::span<const StoredTextOption> StoredTextOptions() { return kTextOptions; }

void ReadStoredOptions(platform::SettingsKey& key, TForm1& form) {
    for (const StoredOption& option : kOptions) {
        const std::int32_t stored = key.ReadInteger(QString::fromLatin1(option.name), option.defaultValue);
        form.*option.field = option.clean != nullptr ? option.clean(stored) : stored;
    }
    for (const StoredTextOption& option : kTextOptions) {
        const QString stored = key.ReadString(QString::fromLatin1(option.name), QString());
        form.*option.field = option.clean != nullptr ? option.clean(stored) : stored;
    }
}

void WriteStoredOptions(platform::SettingsKey& key, const TForm1& form) {
    for (const StoredOption& option : kOptions)
        key.WriteInteger(QString::fromLatin1(option.name), form.*option.field);
    for (const StoredTextOption& option : kTextOptions)
        key.WriteString(QString::fromLatin1(option.name), form.*option.field);
}

} // namespace kalendo::app
