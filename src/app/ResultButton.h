#pragma once

#include <QPushButton>

namespace kalendo::app {

// The flat result button of the add/subtract panel. It is reached by Tab but not focused by a
// click, Enter presses it as Space does, and it draws the style's focus rectangle itself while
// the keyboard has brought the focus to it: a flat button draws none in the program's style.
class TResultButton final : public QPushButton {
    Q_OBJECT
public:
    explicit TResultButton(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kalendo::app
