#include "app/ResultButton.h"

#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace kalendo::app {

TResultButton::TResultButton(QWidget* parent) : QPushButton(parent) {
    setFlat(true);
    setFocusPolicy(Qt::TabFocus);
    // Outside a dialog only an auto-default button takes Enter.
    setAutoDefault(true);
}

void TResultButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    if (!hasFocus()) return;
    QStylePainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(1, 1, -1, -1);
    focus.backgroundColor = palette().color(backgroundRole());
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}

} // namespace kalendo::app
