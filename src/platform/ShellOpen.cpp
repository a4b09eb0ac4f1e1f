#include "platform/ShellOpen.h"

#include <QDesktopServices>
#include <QUrl>

#ifdef Q_OS_WIN
#include <QProcess>
#endif

namespace kalendo::platform {

WindowsProgramStart WindowsProgramStartFor(const QString& fileName, const QString& parameters) {
    // Windows separators whatever system this runs on, so the rule holds the same everywhere.
    return {QString(fileName).replace(QLatin1Char('/'), QLatin1Char('\\')), parameters};
}

bool ShellOpenFile(const QString& fileName, const QString& parameters) {
#ifdef Q_OS_WIN
    const WindowsProgramStart start = WindowsProgramStartFor(fileName, parameters);
    QProcess process;
    process.setProgram(start.program);
    // Qt writes native arguments onto the command line unchanged, after the quoted program.
    process.setNativeArguments(start.nativeArguments);
    if (process.startDetached()) return true;
#else
    static_cast<void>(parameters);
#endif
    return QDesktopServices::openUrl(QUrl::fromLocalFile(fileName));
}

} // namespace kalendo::platform
