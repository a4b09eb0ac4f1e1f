#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

// The colours of the main window's design and the two ways its controls take them.
namespace kalendo::app {

inline const QColor kSkyBlue(166, 202, 240);
inline const QColor kMoneyGreen(192, 220, 192);
inline const QColor kNavy(0, 0, 128);
inline const QColor kYellow(255, 255, 0);
inline const QColor kRed(255, 0, 0);
inline const QColor kWhite(255, 255, 255);
inline const QColor kBlue(0, 0, 255);
inline const QColor kGreen(0, 128, 0);
inline const QColor kSilver(192, 192, 192);
inline const QColor kInfoTipYellow(255, 255, 225);

// Fills the widget's background and sets its text colour.
inline void SetColours(QWidget& widget, const QColor& background, const QColor& text) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, text);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

// The text colour of a label or a button.
inline void SetTextColour(QWidget& widget, const QColor& text) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::ButtonText, text);
    widget.setPalette(palette);
}

} // namespace kalendo::app
