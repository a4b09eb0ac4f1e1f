#include "app/TickBox.h"

#include <QKeyEvent>

namespace kalendo::app {

TTickBox::TTickBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {}

void TTickBox::mouseReleaseEvent(QMouseEvent* event) {
    QCheckBox::mouseReleaseEvent(event);
    emit MouseUp();
}

void TTickBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QCheckBox::keyPressEvent(event);
        return;
    }
    emit clicked(isChecked());
}

} // namespace kalendo::app
