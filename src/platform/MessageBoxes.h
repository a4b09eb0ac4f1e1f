#pragma once

#include <QPoint>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace kalendo::platform {

// The program's modal message boxes. Every box goes through ShowMessageBox, so tests can install
// a handler that records the request and answers it instead of a person.
enum class MessageKind { Information, Warning, Error, Confirmation };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageResult { Ok, Cancel, Yes, No };

struct MessageRequest {
    MessageKind kind = MessageKind::Information;
    QString text;
    MessageButtons buttons = MessageButtons::Ok;
    // Empty: the title that goes with the kind ("Information", "Warning", "Error", "Confirm").
    QString title;
    // Screen position of the box's top-left corner; none centres it on its parent.
    std::optional<QPoint> topLeft;
    QWidget* parent = nullptr;
};

using MessageHandler = std::function<MessageResult(const MessageRequest&)>;

// Shows the box modally and returns the button chosen; closing a box without choosing answers
// Cancel (or No, or Ok for a box with only OK).
MessageResult ShowMessageBox(const MessageRequest& request);

QString DefaultTitle(MessageKind kind);

// Replaces the real boxes while it lives (tests).
class ScopedMessageHandler {
public:
    explicit ScopedMessageHandler(MessageHandler handler);
    ~ScopedMessageHandler();
    ScopedMessageHandler(const ScopedMessageHandler&) = delete;
    ScopedMessageHandler& operator=(const ScopedMessageHandler&) = delete;

private:
    MessageHandler previous_;
};

} // namespace kalendo::platform
