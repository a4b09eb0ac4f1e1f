#include "platform/FileReplacement.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <QSaveFile>
#else
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kalendo::platform {

namespace {

// A link is followed, so the file it names is replaced and the link stays.
QFileInfo FollowedLink(const QString& path) {
    const QFileInfo file(path);
    return file.isSymLink() ? QFileInfo(file.symLinkTarget()) : file;
}

// Why the file may not be written, if it may not. A file nobody may write was made read-only on
// purpose, which an administrator's rights do not undo.
std::optional<QString> WriteProtection(const QFileInfo& file) {
    constexpr QFile::Permissions kAnyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
#ifndef Q_OS_WIN
    if (::access(QFile::encodeName(file.absoluteFilePath()).constData(), W_OK) != 0 && errno == EROFS)
        return FileErrorCause(EROFS);
#endif
    if (!file.isWritable() || (file.permissions() & kAnyWrite) == 0)
        return QStringLiteral("the file is read-only");
    return std::nullopt;
}

std::optional<QString> MakeFolder(const QString& folder) {
    std::error_code error;
    std::filesystem::create_directories(NativeFilePath(folder), error);
    if (!error) return std::nullopt;
    // A file where a folder of the path should be reads as "exists" or "not a folder".
    if (error == std::errc::file_exists || error == std::errc::not_a_directory)
        return QStringLiteral("a file is in the way where its folder should be");
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted)
        return QStringLiteral("its folder cannot be created there (permission denied)");
    return FileErrorCause(error.value());
}

#ifdef Q_OS_WIN

// The store itself is the registry here; a settings file is written only when one is asked for.
// QSaveFile leaves a failed flush unchecked in commit(), so the flush is checked first.
std::optional<QString> WriteAndRename(const QString& path, const QByteArray& content) {
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return out.errorString();
    if (out.write(content) != content.size() || !out.flush()) {
        const QString cause = out.errorString();
        out.cancelWriting();
        return cause;
    }
    if (!out.commit()) return out.errorString();
    return std::nullopt;
}

#else

// Creating the new file is the first thing that needs the folder to be writable.
QString FolderCause(int errorNumber) {
    if (errorNumber == EACCES || errorNumber == EPERM)
        return QStringLiteral("the folder it is in is not writable (permission denied)");
    return FileErrorCause(errorNumber);
}

std::optional<QString> WriteAndRename(const QString& path, const QByteArray& content) {
    const QByteArray finalName = QFile::encodeName(path);
    QByteArray newName;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        newName = finalName + ".new-" + QByteArray::number(QRandomGenerator::global()->generate(), 16);
        fd = ::open(newName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return FolderCause(errno);
    }
    if (fd < 0) return FileErrorCause(EEXIST);

    // Keeps the error of the step that failed; closing and removing the new file may set others.
    const auto abandon = [&](int errorNumber) {
        if (fd >= 0) ::close(fd);
        ::unlink(newName.constData());
        return FileErrorCause(errorNumber);
    };
    struct stat old {};
    if (::stat(finalName.constData(), &old) == 0 && ::fchmod(fd, old.st_mode & 07777) != 0)
        return abandon(errno);
    for (qsizetype written = 0; written < content.size();) {
        const ssize_t count =
            ::write(fd, content.constData() + written, static_cast<std::size_t>(content.size() - written));
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return abandon(errno);
        written += count;
    }
    // The disk may take the bytes into its cache and find no room for them only now.
    if (::fsync(fd) != 0) return abandon(errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) return abandon(errno);
    if (::rename(newName.constData(), finalName.constData()) != 0) return abandon(errno);

    // The rename itself reaches the disk with the folder; a file system that cannot sync a folder
    // has the new file in place all the same.
    const QByteArray folderName = QFile::encodeName(QFileInfo(path).absolutePath());
    const int folder = ::open(folderName.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return std::nullopt;
}

#endif

} // namespace

std::filesystem::path NativeFilePath(const QString& path) {
#ifdef Q_OS_WIN
    return {path.toStdWString()};
#else
    return {QFile::encodeName(path).toStdString()};
#endif
}

QString FileErrorCause(int errorNumber) {
    switch (errorNumber) {
    case ENOSPC:
        return QStringLiteral("the disk is full");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("the disk space allowed to this user is used up");
#endif
    case EROFS:
        return QStringLiteral("the disk is read-only");
    case EACCES:
    case EPERM:
        return QStringLiteral("permission is denied");
    case EIO:
        return QStringLiteral("the disk reported an input/output error");
    case EISDIR:
        return QStringLiteral("a folder is in the way where the file should be");
    case ENOTDIR:
        return QStringLiteral("a file is in the way where its folder should be");
    case ENOENT:
        return QStringLiteral("its folder does not exist");
    case ENAMETOOLONG:
        return QStringLiteral("its name is too long");
    default:
        break;
    }
    QString text = QString::fromLocal8Bit(std::strerror(errorNumber));
    if (!text.isEmpty()) text[0] = text[0].toLower();
    return text;
}

std::optional<QString> ReplaceableFileProblem(const QString& path) {
    const QFileInfo target = FollowedLink(path);
    if (target.isDir()) return QStringLiteral("a folder is in the way where the file should be");
    if (target.exists()) {
        if (!target.isFile()) return QStringLiteral("something other than a file is in the way");
        if (std::optional<QString> protection = WriteProtection(target)) return protection;
    }
    return MakeFolder(target.absolutePath());
}

std::optional<QString> ReplaceFileContents(const QString& path, const QByteArray& content) {
    if (std::optional<QString> problem = ReplaceableFileProblem(path)) return problem;
    return WriteAndRename(FollowedLink(path).absoluteFilePath(), content);
}

} // namespace kalendo::platform
