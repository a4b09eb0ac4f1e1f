#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace kalendo::app {

// The part of the window's top edge that must lie on the screens for a stored position to be
// used: wide and high enough to hold the title bar and the start of the menu, so the user can
// reach the menu and drag the window.
inline constexpr QSize kVisibleTopStrip(200, 50);

// Where a window of frameSize opens: at stored, when a strip of kVisibleTopStrip along its top
// edge lies whole on the screens (available geometries, in the same coordinates); otherwise at
// defaultPlace, or, when that is off the screens too, centred on the first screen. Without screens
// the stored position stands.
QPoint WindowPlacement(QPoint stored, QSize frameSize, const QList<QRect>& screens, QPoint defaultPlace);

} // namespace kalendo::app
