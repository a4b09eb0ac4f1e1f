#include "app/SecondaryWindows.h"

#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QWidget>
#include <QWindow>

namespace kalendo::app {

namespace {

void ExecModal(QWidget& window) {
    if (auto* dialog = qobject_cast<QDialog*>(&window)) {
        dialog->exec();
        return;
    }
    // A plain window made modal: wait until it is hidden again.
    class HideWatcher final : public QObject {
    public:
        explicit HideWatcher(QEventLoop& loop) : loop_(loop) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Hide) loop_.quit();
            return false;
        }

    private:
        QEventLoop& loop_;
    };
    QEventLoop loop;
    HideWatcher watcher(loop);
    window.installEventFilter(&watcher);
    window.setWindowModality(Qt::ApplicationModal);
    window.show();
    if (window.isVisible()) loop.exec();
    window.removeEventFilter(&watcher);
}

} // namespace

TSecondaryWindows::TSecondaryWindows(QWidget& owner) : QObject(&owner), owner_(owner) {}

QWidget* TSecondaryWindows::Adopt(QWidget* window) {
    if (window != nullptr) window->installEventFilter(this);
    return window;
}

void TSecondaryWindows::Show(QWidget* window, QPoint offset) {
    if (window == nullptr) return;
    window->move(owner_.pos() + offset);
    if (modalRunner_)
        modalRunner_(*window);
    else
        ExecModal(*window);
}

bool TSecondaryWindows::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        // Sent just before the window is mapped. Belonging to the main window, it is kept above
        // it, and the window manager minimises and restores the two together, so the main
        // window is never left blocked by one out of sight.
        auto* window = static_cast<QWidget*>(watched);
        if (window->windowHandle() != nullptr)
            window->windowHandle()->setTransientParent(owner_.windowHandle());
    }
    return false;
}

} // namespace kalendo::app
