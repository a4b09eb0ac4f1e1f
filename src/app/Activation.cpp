#include "app/Activation.h"

#include "app/ErrorReport.h"

#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <exception>

namespace kalendo::app {

TActivation::TActivation(QWidget& window, std::function<void()> recompute)
    : QObject(&window), window_(window), recompute_(std::move(recompute)) {
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &TActivation::FocusWindowChanged);
}

void TActivation::Shown(bool spontaneous) {
    if (shownOnce_ || spontaneous) return;
    shownOnce_ = true;
    // The first showing is the first activation, also where no window manager activates the
    // window. Queued, so that the window is on the screen before an error box could be.
    QTimer::singleShot(0, this, [this] { Recompute(); });
}

void TActivation::FocusWindowChanged(QWindow* focus) {
    // No focus window: another program has the focus. Coming back from there is no activation,
    // and neither is this window coming back after being shown anew (Stay on top, the icon).
    if (focus == nullptr || focus->type() == Qt::Popup || focus->type() == Qt::ToolTip) return;
    if (focus != window_.windowHandle()) {
        focusInOtherOwnWindow_ = true;
        return;
    }
    if (!focusInOtherOwnWindow_) return;
    focusInOtherOwnWindow_ = false;
    Recompute();
}

void TActivation::Recompute() {
    try {
        recompute_();
        lastError_.clear();
    } catch (const std::exception& error) {
        const QString text = QString::fromUtf8(error.what());
        if (text != lastError_) {
            lastError_ = text;
            ShowErrorReport(text);
        }
    }
}

} // namespace kalendo::app
