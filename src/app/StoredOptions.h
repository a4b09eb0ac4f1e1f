#pragma once

#include <QString>

#include <cstdint>
#include <span>

namespace kalendo::platform {
class SettingsKey;
}

namespace kalendo::app {

class TForm1;

// One integer option the main window keeps in the settings store under its field's name. A new
// option is one more row in StoredOptions() and one more field of TForm1.
struct StoredOption {
    const char* name;
    std::int32_t TForm1::*field;
    std::int32_t defaultValue;
    // Turns a stored value into one the window understands; null keeps it as stored.
    std::int32_t (*clean)(std::int32_t stored);
};

// One text option, kept the same way; older versions leave these alone.
struct StoredTextOption {
    const char* name;
    QString TForm1::*field;
    // Turns a stored value into one the window understands (a damaged value into ""); null keeps it.
    QString (*clean)(const QString& stored);
};

// Every integer option, in the order the exit sequence writes them. The window's position,
// the start of the week, the version and the saved dates are stored beside them.
std::span<const StoredOption> StoredOptions();
// Every text option, written after the integers.
std::span<const StoredTextOption> StoredTextOptions();

// Start-up: each field from the store, its default when missing or malformed, then cleaned
// (the text options too, "" when missing).
void ReadStoredOptions(platform::SettingsKey& key, TForm1& form);
// Exit: each field as it is, the integers and then the texts.
void WriteStoredOptions(platform::SettingsKey& key, const TForm1& form);

} // namespace kalendo::app
