#include "platform/SettingsStore.h"

#include "dates/Error.h"
#include "platform/FileReplacement.h"
#include "platform/SettingsIniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QVariant>

#include <limits>
#include <utility>

namespace kalendo::platform {

namespace {

QString KeyDisplayName() {
    return QStringLiteral("HKEY_CURRENT_USER\\%1\\%2")
        .arg(QLatin1String(kSettingsKeyPath), QLatin1String(kSettingsSubkey));
}

std::unique_ptr<QSettings> OpenSettings(const QString& iniFilePath) {
    if (iniFilePath.isEmpty())
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                           QLatin1String(kSettingsOrganisation),
                                           QLatin1String(kSettingsSubkey));
    return std::make_unique<QSettings>(iniFilePath, QSettings::IniFormat);
}

bool IsRegistry([[maybe_unused]] const QSettings& settings) {
#ifdef Q_OS_WIN
    return settings.format() == QSettings::NativeFormat;
#else
    return false;
#endif
}

QStringList KalendoSettingsNames() {
    QStringList names;
    for (const char* name : kKalendoSettingsNames)
        names.append(QLatin1String(name));
    return names;
}

// What keeps another writer out: the lock file beside the settings file. A lock that cannot be
// made for want of room or rights is a write that cannot be made; the cause is found by trying
// one, since QLockFile does not say it.
QString LockProblem(const QLockFile& lock, const QString& filePath) {
    if (lock.error() == QLockFile::LockFailedError)
        return QStringLiteral("the settings are in use by another program");
    const QString probe = filePath + QStringLiteral(".probe");
    std::optional<QString> cause = ReplaceFileContents(probe, QByteArray("\n"));
    QFile::remove(probe);
    return cause.value_or(QStringLiteral("its lock file %1 cannot be made")
                              .arg(QDir::toNativeSeparators(filePath + QStringLiteral(".lock"))));
}

// Writes the whole INI file anew beside the old one and renames it over it only when it is on
// the disk (QSettings' own writing loses the old file when the disk fills, and keeps unwritten
// changes in a process-wide cache that retries them later). The new file holds the old file's
// well-formed values with the pending ones over them, so a damaged store is repaired.
std::optional<SettingsWriteFailure> CommitToIniFile(const QString& filePath, const QStringList& names,
                                                    const QMap<QString, QString>& values, int lockTimeoutMs) {
    const auto failure = [&](const QString& cause) {
        return SettingsWriteFailure{QDir::toNativeSeparators(filePath), cause, names};
    };
    // The lock needs the folder; an impossible file is found out before waiting for it.
    if (const std::optional<QString> problem = ReplaceableFileProblem(filePath)) return failure(*problem);
    QLockFile lock(filePath + QStringLiteral(".lock"));
    if (!lock.tryLock(lockTimeoutMs)) return failure(LockProblem(lock, filePath));

    QMap<QString, QString> content = KeptSettings(filePath, KalendoSettingsNames());
    for (const QString& name : names)
        content.insert(name, values.value(name));
    if (const std::optional<QString> problem = ReplaceFileContents(filePath, SettingsIniText(content)))
        return failure(*problem);
    return std::nullopt;
}

class NativeSettingsKey final : public SettingsKey {
public:
    NativeSettingsKey(QString iniFilePath, int lockTimeoutMs)
        : iniFilePath_(std::move(iniFilePath)), lockTimeoutMs_(lockTimeoutMs) {}

    QString ReadString(const QString& name, const QString& defaultValue) override {
        if (!reader_) reader_ = OpenSettings(iniFilePath_);
        const QVariant value = reader_->value(name);
        // Lists, serialised variants, byte arrays and registry numbers are not what we wrote.
        if (!value.isValid() || value.typeId() != QMetaType::QString) return defaultValue;
        QString text = value.toString();
        return IsPlainSettingsText(text) ? text : defaultValue;
    }

protected:
    std::optional<SettingsWriteFailure> Commit(const QStringList& names,
                                               const QMap<QString, QString>& values) override {
        reader_.reset();
        auto settings = OpenSettings(iniFilePath_);
        if (!IsRegistry(*settings)) {
            const QString fileName = settings->fileName();
            settings.reset();
            return CommitToIniFile(fileName, names, values, lockTimeoutMs_);
        }
        // The registry sets each value at once and has no shared cache to worry about.
        for (const QString& name : names) {
            settings->setValue(name, values.value(name));
            settings->sync();
            if (settings->status() != QSettings::NoError)
                return SettingsWriteFailure{
                    KeyDisplayName(),
                    QStringLiteral("the value '%1' cannot be set (access is denied)").arg(name), names};
        }
        return std::nullopt;
    }

private:
    QString iniFilePath_;
    int lockTimeoutMs_;
    std::unique_ptr<QSettings> reader_;
};

class MemorySettingsKey final : public SettingsKey {
public:
    explicit MemorySettingsKey(MemorySettingsStore& store) : store_(store) {}

    QString ReadString(const QString& name, const QString& defaultValue) override {
        const auto found = store_.values.constFind(name);
        if (found == store_.values.constEnd() || !IsPlainSettingsText(*found)) return defaultValue;
        return *found;
    }

protected:
    std::optional<SettingsWriteFailure> Commit(const QStringList& names,
                                               const QMap<QString, QString>& values) override {
        if (!store_.failingValue.isEmpty() && names.contains(store_.failingValue))
            return SettingsWriteFailure{QStringLiteral("the test store"),
                                        QStringLiteral("the value '%1' cannot be set (%2)")
                                            .arg(store_.failingValue, store_.failureCause),
                                        names};
        for (const QString& name : names)
            store_.values.insert(name, values.value(name));
        ++store_.commitCount;
        return std::nullopt;
    }

private:
    MemorySettingsStore& store_;
};

} // namespace

std::optional<std::int32_t> ParseSettingsInteger(const QString& text) {
    if (text.isEmpty() || text.size() > 12) return std::nullopt;
    qsizetype position = 0;
    const bool negative = text[0] == u'-';
    if (negative || text[0] == u'+') position = 1;
    if (position == text.size()) return std::nullopt;
    std::int64_t magnitude = 0; // at most 11 digits: no overflow in 64 bits
    for (; position < text.size(); ++position) {
        const char16_t c = text[position].unicode();
        if (c < u'0' || c > u'9') return std::nullopt;
        magnitude = magnitude * 10 + (c - u'0');
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

bool IsPlainSettingsText(const QString& text) {
    if (text.size() > kMaxSettingsTextLength) return false;
    for (const QChar c : text)
        if (!c.isPrint() || c == QChar::ReplacementCharacter) return false;
    return true;
}

std::int32_t SettingsKey::ReadInteger(const QString& name, std::int32_t defaultValue) {
    return ParseSettingsInteger(ReadString(name, QString())).value_or(defaultValue);
}

void SettingsKey::WriteString(const QString& name, const QString& value) {
    if (!pendingValues_.contains(name)) pendingNames_.append(name);
    pendingValues_.insert(name, value);
}

void SettingsKey::WriteInteger(const QString& name, std::int32_t value) {
    WriteString(name, QString::number(value));
}

QString SettingsWriteFailure::Text() const {
    return QStringLiteral(
               "Kalendo could not save its settings to %1: %2. The settings saved before are kept.")
        .arg(location, cause);
}

std::optional<SettingsWriteFailure> SettingsKey::TryClose() {
    if (pendingNames_.isEmpty()) return std::nullopt;
    const QStringList names = std::exchange(pendingNames_, {});
    const QMap<QString, QString> values = std::exchange(pendingValues_, {});
    return Commit(names, values);
}

void SettingsKey::Close() {
    if (const std::optional<SettingsWriteFailure> failure = TryClose())
        throw Error(failure->Text().toStdString());
}

NativeSettingsStore::NativeSettingsStore() = default;

NativeSettingsStore::NativeSettingsStore(QString iniFilePath) : iniFilePath_(std::move(iniFilePath)) {}

std::unique_ptr<SettingsKey> NativeSettingsStore::OpenKey() {
    return std::make_unique<NativeSettingsKey>(iniFilePath_, lockTimeoutMs_);
}

QString NativeSettingsStore::FileName() const {
    auto settings = OpenSettings(iniFilePath_);
    return IsRegistry(*settings) ? QString() : settings->fileName();
}

std::unique_ptr<SettingsKey> MemorySettingsStore::OpenKey() {
    return std::make_unique<MemorySettingsKey>(*this);
}

} // namespace kalendo::platform
