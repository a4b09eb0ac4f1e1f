#pragma once

#include <QTimer>
#include <QWidget>

class QLineEdit;

namespace kalendo {

enum TUDBtnType : int { btNext, btPrev };

// A pair of arrow buttons that steps a number within a range and shows it in an associated
// edit box. The arrows repeat while held; Up and Down keys step it too.
class TUpDown : public QWidget {
    Q_OBJECT

public:
    explicit TUpDown(QWidget* parent = nullptr);

    int Min() const { return min_; }
    int Max() const { return max_; }
    // Sets both ends; the position is brought inside.
    void SetRange(int min, int max);
    int Position() const { return position_; }
    // Clamps to the range and shows the number in the associated box.
    void SetPosition(int position);
    void SetAssociate(QLineEdit* edit);

    // One press of an arrow: steps the position (never past either end) and raises Clicked.
    void Click(TUDBtnType button);

    QSize sizeHint() const override;

signals:
    void Clicked(kalendo::TUDBtnType button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QRect ButtonRect(TUDBtnType button) const;
    void RepeatTick();

    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    QLineEdit* associate_ = nullptr;
    bool pressed_ = false;
    TUDBtnType pressedButton_ = btNext;
    QTimer repeat_;
};

} // namespace kalendo
