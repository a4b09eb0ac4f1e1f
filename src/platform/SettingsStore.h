#pragma once

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
inline constexpr char kSettingsSubkey[] = "Kalendo v2.74";

// How long a write waits for another process that holds the store's lock.
inline constexpr int kSettingsLockTimeoutMs = 3000;

// Values longer than this are not something the program wrote: they read as the default.
inline constexpr int kMaxSettingsTextLength = 256;

// The decimal integer a stored text holds: optional sign, digits, nothing else, within 32 bits.
std::optional<std::int32_t> ParseSettingsInteger(const QString& text);

// True for text the program could have written: printable characters only, not too long.
bool IsPlainSettingsText(const QString& text);

// One use of the subkey, from opening to Close(). Reads never fail: a missing, malformed or
// foreign value gives the default. Writes are collected and committed together by Close(), so
// a later reader sees either all of them or none; a commit that fails throws kalendo::Error
// naming the key and the value.
class SettingsKey {
public:
    virtual ~SettingsKey() = default;

    virtual QString ReadString(const QString& name, const QString& defaultValue) = 0;
    std::int32_t ReadInteger(const QString& name, std::int32_t defaultValue);

    void WriteString(const QString& name, const QString& value);
    void WriteInteger(const QString& name, std::int32_t value);

    // Commits the writes; a second Close() or a key without writes does nothing.
    void Close();

protected:
    // Stores every pending value at once or throws kalendo::Error.
    virtual void Commit(const QStringList& names, const QMap<QString, QString>& values) = 0;

private:
    QStringList pendingNames_; // in the order written, for the error text
    QMap<QString, QString> pendingValues_;
};

// The per-user store. OpenKey() opens the subkey "Kalendo v2.74" of "Software\Marrowby",
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
    int commitCount = 0;
};

} // namespace kalendo::platform
