#pragma once

#include "KalendoVersion.h"

#include <QApplication>
#include <QString>

#include <exception>

namespace kalendo::app {

// The application's title: the caption of its error report and of the taskbar entry.
inline constexpr const char* kApplicationTitle = kVersionedName;

// The text the error report shows: the message, with a full stop added when its last character
// sorts after the full stop ("Bad date" gets one, "Save aborted!!!" and "(1)" do not).
QString ErrorReportText(const QString& message);

// The modal box for an error no code handled: error icon, the application's title, the text.
void ShowErrorReport(const QString& message);

// Sends the date decoder's own message ("Too many words - can't decode") to a modal box titled
// with the application's title, and the report of a damaged named-dates table to one shown as
// soon as the program's event loop runs.
void InstallDecoderMessageBox();

// Runs one user action; an error it raises ends the action and is shown by the error report.
// What the action changed before the error stays changed.
template <typename Action> void RunUserAction(Action&& action) noexcept {
    try {
        action();
    } catch (const std::exception& error) {
        ShowErrorReport(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowErrorReport(QStringLiteral("Unknown error"));
    }
}

// The program's QApplication: an exception that escapes an event handler is caught where the
// event is dispatched and shown by the error report, so no user action can end the program.
class TKalendoApplication : public QApplication {
public:
    TKalendoApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace kalendo::app
