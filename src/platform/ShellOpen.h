#pragma once

#include <QString>

namespace kalendo::platform {

// How Windows is asked to start a downloaded program: its path with backslashes, and
// the parameter text as it stands (never split, quoted or trimmed), which the program reads from
// its command line as the page wrote it.
struct WindowsProgramStart {
    QString program;
    QString nativeArguments;
};

WindowsProgramStart WindowsProgramStartFor(const QString& fileName, const QString& parameters);

// The shell's "open" of a downloaded file; true when something was started. On Windows the file
// starts as a program with the parameter text. Where it cannot (elsewhere a download is never
// executable; Windows starts only programs this way), the desktop's handler for the file opens
// it, without the parameters, which are the installer's own.
bool ShellOpenFile(const QString& fileName, const QString& parameters);

} // namespace kalendo::platform
