#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QWidget;
class QWindow;

namespace kalendo::app {

// When the main window counts as activated: at its first showing, and on a return to it from
// another window of this program (not from another program). Each activation runs the
// recomputation; an error it raises is reported once, not again on the activation its own
// box's closing causes.
class TActivation final : public QObject {
public:
    TActivation(QWidget& window, std::function<void()> recompute);

    // The window was shown; spontaneous when the window system did it.
    void Shown(bool spontaneous);
    void Recompute();

private:
    void FocusWindowChanged(QWindow* focus);

    QWidget& window_;
    std::function<void()> recompute_;
    QString lastError_;
    bool shownOnce_ = false;
    bool focusInOtherOwnWindow_ = false;
};

} // namespace kalendo::app
