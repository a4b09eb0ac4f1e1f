#include "tools/UpDown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOption>
#include <QStylePainter>

#include <algorithm>

namespace kalendo {

namespace {
constexpr int kFirstRepeatDelay = 400;
constexpr int kRepeatPeriod = 60;
} // namespace

TUpDown::TUpDown(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    repeat_.setSingleShot(false);
    connect(&repeat_, &QTimer::timeout, this, &TUpDown::RepeatTick);
}

void TUpDown::SetRange(int min, int max) {
    min_ = std::min(min, max);
    max_ = std::max(min, max);
    SetPosition(position_);
}

void TUpDown::SetPosition(int position) {
    position_ = std::clamp(position, min_, max_);
    // Written even when unchanged, so the box always shows the position.
    if (associate_ != nullptr) associate_->setText(QString::number(position_));
    update();
}

void TUpDown::SetAssociate(QLineEdit* edit) {
    associate_ = edit;
    SetPosition(position_);
}

void TUpDown::Click(TUDBtnType button) {
    const int target = button == btNext ? position_ + 1 : position_ - 1;
    if (target >= min_ && target <= max_) SetPosition(target);
    emit Clicked(button);
}

QSize TUpDown::sizeHint() const { return {17, 24}; }

QRect TUpDown::ButtonRect(TUDBtnType button) const {
    const int half = height() / 2;
    return button == btNext ? QRect(0, 0, width(), half) : QRect(0, half, width(), height() - half);
}

void TUpDown::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    for (TUDBtnType button : {btNext, btPrev}) {
        QStyleOptionButton panel;
        panel.initFrom(this);
        panel.rect = ButtonRect(button);
        const bool down = pressed_ && pressedButton_ == button;
        if (down) panel.state |= QStyle::State_Sunken;
        const bool atEnd = button == btNext ? position_ >= max_ : position_ <= min_;
        if (atEnd) panel.state &= ~QStyle::State_Enabled;
        panel.state &= ~QStyle::State_HasFocus;
        painter.drawPrimitive(QStyle::PE_PanelButtonBevel, panel);
        QStyleOption arrow = panel;
        arrow.rect = panel.rect.adjusted(3, 2, -3, -2);
        painter.drawPrimitive(button == btNext ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown,
                              arrow);
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void TUpDown::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    pressedButton_ = ButtonRect(btNext).contains(event->position().toPoint()) ? btNext : btPrev;
    pressed_ = true;
    Click(pressedButton_);
    repeat_.start(kFirstRepeatDelay);
}

void TUpDown::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = false;
    repeat_.stop();
    update();
}

void TUpDown::RepeatTick() {
    if (!pressed_) {
        repeat_.stop();
        return;
    }
    repeat_.setInterval(kRepeatPeriod);
    Click(pressedButton_);
}

void TUpDown::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
        Click(btNext);
        break;
    case Qt::Key_Down:
        Click(btPrev);
        break;
    default:
        QWidget::keyPressEvent(event);
        break;
    }
}

} // namespace kalendo
