#pragma once

#include <QCheckBox>

namespace kalendo::app {

// A tick box that reports the release of the mouse button after its click has been handled,
// the order in which the main window wants to hear of them. Enter runs its click handler
// without toggling it.
class TTickBox final : public QCheckBox {
    Q_OBJECT
public:
    TTickBox(const QString& caption, QWidget* parent);

signals:
    void MouseUp();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace kalendo::app
