#pragma once

#include <QObject>
#include <QPoint>

#include <functional>

class QWidget;

namespace kalendo::app {

// The windows the main window opens from its menu (about, help, Easter): each is placed
// relative to the main window, shown modally, and belongs to it whenever it is shown.
class TSecondaryWindows final : public QObject {
public:
    explicit TSecondaryWindows(QWidget& owner);

    // Watches the window; returns it.
    QWidget* Adopt(QWidget* window);
    // Shows the window modally at the offset from the owner's top-left; nothing when null.
    void Show(QWidget* window, QPoint offset);
    // How a window is shown modally; tests replace it. By default a dialog's exec(), or a
    // plain window made application-modal until it is hidden.
    void SetModalRunner(std::function<void(QWidget&)> runner) { modalRunner_ = std::move(runner); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& owner_;
    std::function<void(QWidget&)> modalRunner_;
};

} // namespace kalendo::app
