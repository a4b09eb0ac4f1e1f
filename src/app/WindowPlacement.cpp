#include "app/WindowPlacement.h"

#include <QRegion>

#include <algorithm>

namespace kalendo::app {

namespace {

bool TopStripVisible(QPoint topLeft, QSize frameSize, const QList<QRect>& screens) {
    const int stripHeight = std::min(kVisibleTopStrip.height(), frameSize.height());
    const int stripWidth = std::min(kVisibleTopStrip.width(), frameSize.width());
    QRegion desktop;
    for (const QRect& screen : screens)
        desktop += screen;
    // Screens side by side make one region, so a window across their border counts whole.
    const QRegion visible = desktop.intersected(QRect(topLeft, QSize(frameSize.width(), stripHeight)));
    return std::any_of(visible.begin(), visible.end(), [&](const QRect& part) {
        return part.width() >= stripWidth && part.height() >= stripHeight;
    });
}

} // namespace

QPoint WindowPlacement(QPoint stored, QSize frameSize, const QList<QRect>& screens, QPoint defaultPlace) {
    if (screens.isEmpty() || TopStripVisible(stored, frameSize, screens)) return stored;
    if (TopStripVisible(defaultPlace, frameSize, screens)) return defaultPlace;
    const QRect& first = screens.front();
    return first.topLeft() + QPoint(std::max(0, (first.width() - frameSize.width()) / 2),
                                    std::max(0, (first.height() - frameSize.height()) / 2));
}

} // namespace kalendo::app
