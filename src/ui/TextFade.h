#pragma once

#include <QImage>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <cstdint>

namespace kalendo {

enum TAlignment : int { taLeftJustify, taRightJustify, taCenter };
enum TBackgroundMode : int { bmNone, bmTiled, bmStretched, bmCentered };

// A line of credits that shows one text of a list at a time and cross-fades to the next, driven
// by one timer that ticks quickly only while a fade runs. Every frame is composed off-screen.
// The background colour is the palette's Window role, the text colour its WindowText role.
class TTextFader : public QWidget {
    Q_OBJECT

public:
    explicit TTextFader(QWidget* parent = nullptr);
    ~TTextFader() override;

    bool Active() const { return active_; }
    void SetActive(bool value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    const QImage& Background() const { return background_; }
    void SetBackground(const QImage& picture);
    TBackgroundMode BackgroundMode() const { return backgroundMode_; }
    void SetBackgroundMode(TBackgroundMode value);
    std::uint16_t FadeDelay() const { return fadeDelay_; }
    void SetFadeDelay(std::uint16_t value);
    // Percentage points per tick, 1..100; values outside are brought into that range.
    int FadeStep() const { return fadeStep_; }
    void SetFadeStep(int value);
    std::uint16_t LineDelay() const { return lineDelay_; }
    void SetLineDelay(std::uint16_t value);
    const QStringList& Lines() const { return lines_; }
    void SetLines(const QStringList& lines);
    // Passes through the list before stopping; 0 runs without end. Negative values count as 0.
    int RepeatCount() const { return repeatCount_; }
    void SetRepeatCount(int value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    void SetColor(const QColor& color);
    void SetFontColor(const QColor& color);

    int LineIndex() const { return lineIndex_; }
    void SetLineIndex(int index);
    int FadeProgress() const { return fadeProgress_; }
    const QString& CurrentText() const { return currentText_; }
    const QString& PreviousText() const { return previousText_; }
    int PassCount() const { return passCount_; }

    // The timer's state, so the idle cost can be checked without waiting on it.
    bool TimerRunning() const { return timer_.isActive(); }
    int TimerInterval() const { return timer_.interval(); }

    // Advances to the next line (wrapping and counting passes) and returns its decoded text.
    QString NextLine();
    // One timer step: starts the next fade when a line is fully shown, advances the fade.
    void FaderTick();

    // The frame as it is painted now: background, text and the cross-fade.
    QImage ComposeFrame();

    // Line escapes: "\\" a backslash, "\n" a line break, "\t" a tab; any other escaped
    // character and a trailing backslash are dropped.
    static QString DecodeLine(const QString& line);
    // Per byte of red, green and blue: (current * progress + previous * (100 - progress)) / 100;
    // the fourth byte of each pixel keeps current's. Both images are 32-bit and of one size;
    // progress is 0..100.
    static void BlendImages(QImage& current, const QImage& previous, int progress);

signals:
    // A line has become fully shown.
    void OnComplete();
    void OnMouseEnter();
    void OnMouseLeave();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void SetTimerInterval(int milliseconds);
    void PaintBackground(QImage& image);
    void PaintParentBackground(QPainter& painter);
    void DrawText(QImage& image, const QString& text) const;
    int TextFlags() const;

    bool active_ = false;
    TAlignment alignment_ = taCenter;
    QImage background_;
    TBackgroundMode backgroundMode_ = bmTiled;
    std::uint16_t fadeDelay_ = 30;
    int fadeStep_ = 4;
    std::uint16_t lineDelay_ = 2000;
    QStringList lines_;
    int repeatCount_ = 0;
    bool transparent_ = false;
    bool wordWrap_ = true;

    int lineIndex_ = -1;
    int fadeProgress_ = 100; // 0..100; 100 = the current line is fully shown
    QString currentText_;
    QString previousText_;
    int passCount_ = 0;
    QTimer timer_;
    bool painting_ = false;
};

// The main window's credits line: 265 x 25 at (112, 280), navy 13-pixel sans-serif text, 40 ms
// fade steps, 6 s per line, the six credit lines. The caller makes it active.
TTextFader* MakeCreditsFader(QWidget* parent);

} // namespace kalendo
