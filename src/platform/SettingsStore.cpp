#include "platform/SettingsStore.h"

#include "dates/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QVariant>

#include <limits>
#include <utility>

namespace kalendo::platform {

namespace {

QString KeyDisplayName() {
    return QStringLiteral("%1\\%2").arg(QLatin1String(kSettingsKeyPath), QLatin1String(kSettingsSubkey));
}

[[noreturn]] void ThrowWriteFailure(const QString& valueName, const QString& reason) {
    throw Error(QStringLiteral("Failed to set data for '%1' in %2: %3")
                    .arg(valueName, KeyDisplayName(), reason)
                    .toStdString());
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

QString StatusReason(QSettings::Status status) {
    return status == QSettings::FormatError ? QStringLiteral("the data could not be stored")
                                            : QStringLiteral("the settings store cannot be written");
}

// Writes the INI file through a scratch copy: QSettings keeps unwritten changes in a
// process-wide cache and retries them, blocking on the lock, on the next open of the same file.
// A scratch file that is used once keeps a failed write from ever reaching the real file.
void CommitToIniFile(const QString& filePath, const QStringList& names, const QMap<QString, QString>& values,
                     int lockTimeoutMs) {
    const QString& firstName = names.front();
    const QFileInfo target(filePath);
    if (!QDir().mkpath(target.absolutePath()))
        ThrowWriteFailure(firstName,
                          QStringLiteral("the folder %1 cannot be created").arg(target.absolutePath()));
    if (target.exists() && !target.isWritable())
        ThrowWriteFailure(firstName, QStringLiteral("the file %1 is read-only").arg(filePath));

    QLockFile lock(filePath + QStringLiteral(".lock"));
    if (!lock.tryLock(lockTimeoutMs)) {
        if (lock.error() == QLockFile::LockFailedError)
            ThrowWriteFailure(firstName, QStringLiteral("the settings are in use by another program"));
        ThrowWriteFailure(firstName,
                          QStringLiteral("the folder %1 is not writable").arg(target.absolutePath()));
    }

    QTemporaryDir scratchDir;
    if (!scratchDir.isValid())
        ThrowWriteFailure(firstName, QStringLiteral("no temporary folder is available"));
    const QString scratchPath = scratchDir.filePath(QStringLiteral("settings.ini"));
    {
        // Carry over what the old file holds that still parses; a corrupt remainder is dropped,
        // so a damaged store is repaired by the next write instead of blocking every write.
        QSettings scratch(scratchPath, QSettings::IniFormat);
        if (target.exists()) {
            const QSettings old(filePath, QSettings::IniFormat);
            for (const QString& name : old.allKeys())
                scratch.setValue(name, old.value(name));
        }
        for (const QString& name : names)
            scratch.setValue(name, values.value(name));
        scratch.sync();
        if (scratch.status() != QSettings::NoError)
            ThrowWriteFailure(firstName, StatusReason(scratch.status()));
    }
    QFile scratchFile(scratchPath);
    if (!scratchFile.open(QIODevice::ReadOnly))
        ThrowWriteFailure(firstName, QStringLiteral("the temporary copy cannot be read"));
    const QByteArray content = scratchFile.readAll();

    QSaveFile out(filePath);
    if (!out.open(QIODevice::WriteOnly)) ThrowWriteFailure(firstName, out.errorString());
    if (out.write(content) != content.size() || !out.commit())
        ThrowWriteFailure(firstName, out.errorString());
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
    void Commit(const QStringList& names, const QMap<QString, QString>& values) override {
        reader_.reset();
        auto settings = OpenSettings(iniFilePath_);
        if (!IsRegistry(*settings)) {
            const QString fileName = settings->fileName();
            settings.reset();
            CommitToIniFile(fileName, names, values, lockTimeoutMs_);
            return;
        }
        // The registry sets each value at once and has no shared cache to worry about.
        for (const QString& name : names) {
            settings->setValue(name, values.value(name));
            settings->sync();
            if (settings->status() != QSettings::NoError)
                ThrowWriteFailure(name, StatusReason(settings->status()));
        }
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
    void Commit(const QStringList& names, const QMap<QString, QString>& values) override {
        if (!store_.failingValue.isEmpty() && names.contains(store_.failingValue))
            ThrowWriteFailure(store_.failingValue, QStringLiteral("access is denied"));
        for (const QString& name : names)
            store_.values.insert(name, values.value(name));
        ++store_.commitCount;
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

void SettingsKey::Close() {
    if (pendingNames_.isEmpty()) return;
    const QStringList names = std::exchange(pendingNames_, {});
    const QMap<QString, QString> values = std::exchange(pendingValues_, {});
    Commit(names, values);
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
