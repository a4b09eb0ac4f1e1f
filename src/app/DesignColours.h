#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

// The main window's design: its geometry, its colours and the two ways its controls take them.
namespace kalendo::app {

inline constexpr int kClientWidth = 496;
inline constexpr int kClientHeight = 579;
inline constexpr int kDefaultLeft = 522;
inline constexpr int kDefaultTop = 143;
// The top of the Goto Date row; without the today line it stands 3 pixels lower.
inline constexpr int kGotoTop = 278;
inline constexpr int kGotoTopWithoutTodayLine = kGotoTop + 3;
// The calendars' range in years.
inline constexpr int kFirstYear = 1752;
inline constexpr int kLastYear = 3000;
// Calendar cells: narrower with week numbers, taller without the today line.
inline constexpr int kCellWidth = 32;
inline constexpr int kCellWidthWithWeekNumbers = 28;
inline constexpr int kCellHeight = 22;
inline constexpr int kCellHeightWithoutTodayLine = 25;

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
