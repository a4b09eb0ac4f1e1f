#include "app/ErrorReport.h"

#include "dates/HolidayTable.h"
#include "dates/VorlanDecodeDate.h"
#include "platform/MessageBoxes.h"

#include <QTimer>

namespace kalendo::app {

QString ErrorReportText(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
    return message;
}

void ShowErrorReport(const QString& message) {
    platform::MessageRequest request;
    request.kind = platform::MessageKind::Error;
    request.title = QString::fromLatin1(kApplicationTitle);
    request.text = ErrorReportText(message);
    request.parent = QApplication::activeWindow();
    platform::ShowMessageBox(request);
}

void InstallDecoderMessageBox() {
    SetDecoderMessageHook([](const std::string& message) {
        platform::MessageRequest request;
        request.kind = platform::MessageKind::Information;
        request.title = QString::fromLatin1(kApplicationTitle);
        request.text = QString::fromStdString(message);
        request.parent = QApplication::activeWindow();
        platform::ShowMessageBox(request);
    });
    // A damaged named-dates table is read while the main window is being made: the report waits
    // until the program runs, and then comes once, whatever the number of look-ups after it.
    SetNamedDatesMessageHook([](const std::string& message) {
        QTimer::singleShot(0, qApp, [text = QString::fromStdString(message)] {
            platform::MessageRequest request;
            request.kind = platform::MessageKind::Warning;
            request.title = QString::fromLatin1(kApplicationTitle);
            request.text = text;
            request.parent = QApplication::activeWindow();
            platform::ShowMessageBox(request);
        });
    });
}

TKalendoApplication::TKalendoApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TKalendoApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    RunUserAction([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

} // namespace kalendo::app
