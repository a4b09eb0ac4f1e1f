#pragma once

#include <QByteArray>
#include <QString>

#include <filesystem>
#include <optional>

namespace kalendo::platform {

// The path as the operating system's file calls take it: UTF-16 on Windows, the locale's bytes
// elsewhere.
std::filesystem::path NativeFilePath(const QString& path);

// Replaces the file at path with content, all or nothing: the content goes to a new file beside
// it, is flushed and synced to the disk, and only then renamed over the old one, so a full disk,
// a read-only file or folder, or a crash leaves the old file byte for byte. A file without any
// write permission counts as read-only even for an administrator: someone made it so on purpose.
// Missing folders are created. Returns nothing on success, else the cause in plain words
// ("the disk is full"), without the path.
std::optional<QString> ReplaceFileContents(const QString& path, const QByteArray& content);

// The check ReplaceFileContents makes before it writes: nothing but a file in the way, the file
// not read-only, its folder there (made when missing). The cause in plain words, or nothing.
std::optional<QString> ReplaceableFileProblem(const QString& path);

// Plain words for an operating-system error number (errno), as ReplaceFileContents gives them.
QString FileErrorCause(int errorNumber);

} // namespace kalendo::platform
