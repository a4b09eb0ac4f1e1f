#include "platform/MessageBoxes.h"

#include <QMessageBox>

#include <utility>

namespace kalendo::platform {

namespace {

MessageHandler& HandlerSlot() {
    static MessageHandler handler;
    return handler;
}

QMessageBox::Icon IconOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QString DefaultTitle(MessageKind kind) {
    switch (kind) {
    case MessageKind::Information:
        return QStringLiteral("Information");
    case MessageKind::Warning:
        return QStringLiteral("Warning");
    case MessageKind::Error:
        return QStringLiteral("Error");
    case MessageKind::Confirmation:
        return QStringLiteral("Confirm");
    }
    return {};
}

MessageResult ShowMessageBox(const MessageRequest& request) {
    if (HandlerSlot()) return HandlerSlot()(request);

    QMessageBox box(IconOf(request.kind),
                    request.title.isEmpty() ? DefaultTitle(request.kind) : request.title, request.text,
                    QMessageBox::NoButton, request.parent);
    // The boxes belong to a window that may stay on top; they must not open behind it.
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    switch (request.buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        break;
    }
    if (request.topLeft) {
        box.adjustSize();
        box.move(*request.topLeft);
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return MessageResult::Ok;
    case QMessageBox::Yes:
        return MessageResult::Yes;
    case QMessageBox::No:
        return MessageResult::No;
    default:
        return request.buttons == MessageButtons::YesNo ? MessageResult::No
               : request.buttons == MessageButtons::Ok  ? MessageResult::Ok
                                                        : MessageResult::Cancel;
    }
}

ScopedMessageHandler::ScopedMessageHandler(MessageHandler handler) : previous_(std::move(HandlerSlot())) {
    HandlerSlot() = std::move(handler);
}

ScopedMessageHandler::~ScopedMessageHandler() { HandlerSlot() = std::move(previous_); }

} // namespace kalendo::platform
