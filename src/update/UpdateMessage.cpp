#include "update/UpdateMessage.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace kalendo::update {

Tform_Message::Tform_Message(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      panel_message(new QLabel(this)) {
    setFixedSize(247, 58);
    setAutoFillBackground(true);

    // The panel keeps its own face colour when the window's colour changes.
    QPalette panelPalette = QApplication::palette(panel_message);
    panelPalette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    panel_message->setPalette(panelPalette);
    panel_message->setAutoFillBackground(true);
    panel_message->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel_message->setAlignment(Qt::AlignCenter);
    QFont captionFont = panel_message->font();
    captionFont.setStyleHint(QFont::SansSerif);
    captionFont.setPixelSize(13);
    captionFont.setBold(true);
    panel_message->setFont(captionFont);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->addWidget(panel_message);
    SetBorderWidth(0);
}

void Tform_Message::SetColor(const QColor& color) {
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, color);
    setPalette(windowPalette);
}

QColor Tform_Message::Color() const { return palette().color(QPalette::Window); }

void Tform_Message::SetBorderWidth(int width) {
    borderWidth_ = width;
    layout()->setContentsMargins(width, width, width, width);
}

} // namespace kalendo::update
