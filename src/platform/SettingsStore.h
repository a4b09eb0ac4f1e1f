#pragma once

#include "KalendoVersion.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>

namespace kalendo::platform {

// Where the program keeps its settings: the key below the user's settings root and its subkey.
inline constexpr char kSettingsKeyPath[] = "Software\\Marrowby";
inline constexpr char kSettingsOrganisation[] = "Marrowby";
inline constexpr const char* kSettingsSubkey = kVersionedName;

// How long a write waits for another process that holds the store's lock.
inline constexpr int kSettingsLockTimeoutMs = 3000;

// Values longer than this are not something the program wrote: they read as the default.
inline constexpr int kMaxSettingsTextLength = 256;

// The decimal integer a stored text holds: optional sign, digits, nothing else, within 32 bits.
std::optional<std::int32_t> ParseSettingsInteger(const QString& text);

// True for text the program could have written: printable characters only, not too long.
bool IsPlainSettingsText(const QString& text);

// Every value this version of Kalendo reads or writes. A write keeps these from the old store
// before any value it does not know.
inline constexpr const char* kKalendoSettingsNames[] = {
    "Cal1", "Cal2", "StartOfWeek", "appver", "left", "top", "WN",          "WF", "WE",
    "SE",   "WC",   "ST",          "FI",     "AUP",  "MUP", "AlwaysOnTop", "PH", "PB"};

// Why a commit stored nothing. The store is then exactly as it was before.
struct SettingsWriteFailure {
    QString location;  // the settings file's path, or the registry key
    QString cause;     // in plain words, without the location: "the disk is full"
    QStringList names; // the values that were not stored, in the order written

    // "Kalendo could not save its settings to <location>: <cause>. The settings saved before are
    // kept."
    QString Text() const;
};

// One use of the subkey, from opening to Close(). Reads never fail: a missing, malformed or
// foreign value gives the default. Writes are collected and committed together, so a later
// reader sees either all of them or none, and a commit is done only once the values are on the
// disk; a commit that fails changes nothing.
class SettingsKey {
public:
    virtual ~SettingsKey() = default;

    virtual QString ReadString(const QString& name, const QString& defaultValue) = 0;
    std::int32_t ReadInteger(const QString& name, std::int32_t defaultValue);

    void WriteString(const QString& name, const QString& value);
    void WriteInteger(const QString& name, std::int32_t value);

    // Commits the writes and says why when they could not be stored; either way the key has no
    // pending writes afterwards. A key without writes commits nothing.
    [[nodiscard]] std::optional<SettingsWriteFailure> TryClose();
    // TryClose() for callers that let the error report show a failure: throws kalendo::Error
    // with the failure's text.
    void Close();

protected:
    // Stores every pending value at once, or nothing and says why.
    virtual std::optional<SettingsWriteFailure> Commit(const QStringList& names,
                                                       const QMap<QString, QString>& values) = 0;

private:
    QStringList pendingNames_; // in the order written, for the error text
    QMap<QString, QString> pendingValues_;
};

// The per-user store. OpenKey() opens the subkey kSettingsSubkey of "Software\Marrowby",
// creating it on the first write.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::unique_ptr<SettingsKey> OpenKey() = 0;
};

// QSettings in the platform's native format (the registry under the current user on Windows,
// an INI file in the user's configuration folder elsewhere), or a given INI file.
class NativeSettingsStore final : public SettingsStore {
public:
    NativeSettingsStore();
    explicit NativeSettingsStore(QString iniFilePath);
    std::unique_ptr<SettingsKey> OpenKey() override;

    // The file behind the store (empty where the store is not a file).
    QString FileName() const;

    // How long a write waits for another process holding the lock (tests shorten it).
    void SetLockTimeout(int milliseconds) { lockTimeoutMs_ = milliseconds; }

private:
    QString iniFilePath_;
    int lockTimeoutMs_ = kSettingsLockTimeoutMs;
};

// Values in memory, for tests. A value can be made to fail on write, as a read-only store would.
class MemorySettingsStore final : public SettingsStore {
public:
    std::unique_ptr<SettingsKey> OpenKey() override;

    QMap<QString, QString> values;
    QString failingValue; // writing this name fails (empty: no failure)
    QString failureCause = QStringLiteral("access is denied");
    int commitCount = 0;
};

} // namespace kalendo::platform
