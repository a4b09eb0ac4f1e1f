#include "update/DownloadFile.h"

#include "platform/FileReplacement.h"

#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace kalendo::update {

namespace {

// Moves the finished download over the target name. The rename replaces a file or a link of that
// name itself and never writes through a link.
bool ReplaceFile(const QString& from, const QString& to) {
    std::error_code error;
    std::filesystem::rename(platform::NativeFilePath(from), platform::NativeFilePath(to), error);
    return !error;
}

} // namespace

std::unique_ptr<QTemporaryFile> OpenPartFile(const QString& fileName) {
    const QFileInfo target(fileName);
    auto partFile = std::make_unique<QTemporaryFile>(target.absolutePath() + QLatin1String("/.") +
                                                     target.fileName() + QLatin1String(".XXXXXX.part"));
    if (!partFile->open()) return nullptr;
    return partFile;
}

bool CommitPartFile(QTemporaryFile& partFile, const QString& fileName,
                    const std::optional<QByteArray>& expected, const QByteArray& actual) {
    if (expected && actual != *expected) return false;
    if (!partFile.flush()) return false;
    partFile.close();
    if (!ReplaceFile(partFile.fileName(), fileName)) return false;
    partFile.setAutoRemove(false);
    return true;
}

} // namespace kalendo::update
