#pragma once

#include <QWidget>

class QLabel;

namespace kalendo::update {

// The update progress window: borderless, on top of other windows, 247 by 58 pixels, filled by
// one panel with a bold caption. Its colour shows as a band around the panel as wide as the
// border width.
class Tform_Message : public QWidget {
    Q_OBJECT

public:
    explicit Tform_Message(QWidget* parent = nullptr);

    void SetColor(const QColor& color);
    QColor Color() const;
    void SetBorderWidth(int width);
    int BorderWidth() const { return borderWidth_; }

    QLabel* panel_message;

private:
    int borderWidth_ = 0;
};

} // namespace kalendo::update
