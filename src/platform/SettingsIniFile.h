#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

namespace kalendo::platform {

// How many values unknown to this version a write carries over from the old file: enough for
// any other version's own, few enough that a damaged file cannot stay large.
inline constexpr int kMaxForeignSettings = 64;

// A name some version of Kalendo could have written: a letter, then letters, digits or "_", at
// most 64 characters, with at most one group in front ("Group/Name", the group not "General").
bool IsWellFormedSettingsName(const QString& name);

// The values of an INI settings file worth keeping when it is written again: those with
// well-formed names and plain text, the names in known first, then at most kMaxForeignSettings
// others. Anything else in the file (garbage lines, lists, serialised objects) is dropped, so a
// damaged store is repaired by the next write. A missing or unreadable file keeps nothing.
QMap<QString, QString> KeptSettings(const QString& iniFilePath, const QStringList& known);

// The INI text QSettings reads back as exactly these values: "[General]" with the names
// without a group, then a section per group. Every name must be well formed and every value
// plain text.
QByteArray SettingsIniText(const QMap<QString, QString>& values);

} // namespace kalendo::platform
