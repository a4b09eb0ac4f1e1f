#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryFile>

#include <memory>
#include <optional>

namespace kalendo::update {

// A download grows under a temporary name beside its target, which only a complete and verified
// file replaces; a failure leaves the target as it was. Null when the folder takes no new file.
std::unique_ptr<QTemporaryFile> OpenPartFile(const QString& fileName);

// Puts a complete download in the target's place once its digest is the one expected (none: any).
bool CommitPartFile(QTemporaryFile& partFile, const QString& fileName,
                    const std::optional<QByteArray>& expected, const QByteArray& actual);

} // namespace kalendo::update
