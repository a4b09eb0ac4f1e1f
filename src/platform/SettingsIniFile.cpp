#include "platform/SettingsIniFile.h"

#include "platform/SettingsStore.h"

#include <QFileInfo>
#include <QSettings>
#include <QVariant>

namespace kalendo::platform {

namespace {

bool IsWellFormedPart(QStringView part) {
    if (part.isEmpty() || part.size() > 64) return false;
    const auto isLetter = [](QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); };
    if (!isLetter(part[0])) return false;
    for (const QChar c : part)
        if (!isLetter(c) && !(c >= u'0' && c <= u'9') && c != u'_') return false;
    return true;
}

// A value in double quotes reads back as one text whatever it holds (commas, semicolons, blanks
// at either end); a leading "@" is doubled, since QSettings reads "@Name(...)" as an object.
QByteArray QuotedValue(const QString& value) {
    QByteArray text = value.toUtf8();
    if (text.startsWith('@')) text.prepend('@');
    QByteArray quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

} // namespace

bool IsWellFormedSettingsName(const QString& name) {
    const qsizetype slash = name.indexOf(u'/');
    if (slash < 0) return IsWellFormedPart(name);
    const QStringView group = QStringView(name).left(slash);
    return IsWellFormedPart(group) && group.compare(u"General", Qt::CaseInsensitive) != 0 &&
           IsWellFormedPart(QStringView(name).mid(slash + 1));
}

QMap<QString, QString> KeptSettings(const QString& iniFilePath, const QStringList& known) {
    QMap<QString, QString> kept;
    if (!QFileInfo(iniFilePath).isFile()) return kept;
    const QSettings old(iniFilePath, QSettings::IniFormat);
    const auto plainText = [&](const QString& name) -> std::optional<QString> {
        const QVariant value = old.value(name);
        if (value.typeId() != QMetaType::QString || !IsPlainSettingsText(value.toString()))
            return std::nullopt;
        return value.toString();
    };
    for (const QString& name : known)
        if (const std::optional<QString> text = plainText(name)) kept.insert(name, *text);
    int foreign = 0;
    for (const QString& name : old.allKeys()) {
        if (foreign == kMaxForeignSettings) break;
        if (known.contains(name) || !IsWellFormedSettingsName(name)) continue;
        if (const std::optional<QString> text = plainText(name)) {
            kept.insert(name, *text);
            ++foreign;
        }
    }
    return kept;
}

QByteArray SettingsIniText(const QMap<QString, QString>& values) {
    QMap<QString, QByteArray> sections; // by group; "" for the names without one
    for (auto value = values.constBegin(); value != values.constEnd(); ++value) {
        const qsizetype slash = value.key().indexOf(u'/');
        const QString group = slash < 0 ? QString() : value.key().left(slash);
        sections[group] += value.key().mid(slash + 1).toUtf8() + '=' + QuotedValue(value.value()) + '\n';
    }
    QByteArray text;
    for (auto section = sections.constBegin(); section != sections.constEnd(); ++section) {
        if (!text.isEmpty()) text += '\n';
        text += '[' + (section.key().isEmpty() ? QByteArray("General") : section.key().toUtf8()) + "]\n";
        text += section.value();
    }
    return text;
}

} // namespace kalendo::platform
