#include "ui/TextFade.h"

#include "platform/Fonts.h"
#include "ui/Credits.h"

#include <QEnterEvent>
#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace kalendo {

namespace {

// The first tick after starting comes almost at once, so the first line fades in straight away.
constexpr int kStartDelay = 5;
// Tall enough for any wrapped credit line when measuring its height.
constexpr int kMeasureHeight = 10000;

// Clears a flag when a scope ends, however it ends.
class FlagGuard {
public:
    explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagGuard() { flag_ = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& flag_;
};

} // namespace

TTextFader::TTextFader(QWidget* parent) : QWidget(parent) {
    resize(200, 16);
    lines_ = {"TTextFader", "a line of text that fades into the next"};
    connect(&timer_, &QTimer::timeout, this, &TTextFader::FaderTick);
}

TTextFader::~TTextFader() { SetActive(false); }

void TTextFader::SetActive(bool value) {
    if (value == active_) return;
    active_ = value;
    fadeProgress_ = 100;
    if (!active_) {
        timer_.stop();
        update();
        return;
    }
    passCount_ = 0;
    SetTimerInterval(kStartDelay);
    timer_.start();
}

void TTextFader::SetAlignment(TAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    update();
}

void TTextFader::SetBackground(const QImage& picture) {
    background_ = picture;
    update();
}

void TTextFader::SetBackgroundMode(TBackgroundMode value) {
    if (value == backgroundMode_) return;
    backgroundMode_ = value;
    update();
}

void TTextFader::SetFadeDelay(std::uint16_t value) {
    if (value == fadeDelay_) return;
    fadeDelay_ = value;
    if (fadeProgress_ < 100) SetTimerInterval(fadeDelay_);
}

void TTextFader::SetFadeStep(int value) { fadeStep_ = std::clamp(value, 1, 100); }

void TTextFader::SetLineDelay(std::uint16_t value) {
    if (value == lineDelay_) return;
    lineDelay_ = value;
    if (fadeProgress_ == 100) SetTimerInterval(lineDelay_);
}

void TTextFader::SetLines(const QStringList& lines) {
    lines_ = lines;
    if (lineIndex_ >= lines_.size()) SetLineIndex(static_cast<int>(lines_.size()) - 1);
}

void TTextFader::SetRepeatCount(int value) { repeatCount_ = std::max(0, value); }

void TTextFader::SetTransparent(bool value) {
    if (value == transparent_) return;
    transparent_ = value;
    update();
}

void TTextFader::SetWordWrap(bool value) {
    if (value == wordWrap_) return;
    wordWrap_ = value;
    update();
}

void TTextFader::SetColor(const QColor& color) {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, color);
    setPalette(colours);
}

void TTextFader::SetFontColor(const QColor& color) {
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, color);
    setPalette(colours);
}

void TTextFader::SetLineIndex(int index) {
    // An empty list clamps to -1, "no line".
    const int clamped = std::min(std::max(index, 0), static_cast<int>(lines_.size()) - 1);
    if (clamped == lineIndex_) return;
    lineIndex_ = clamped;
    if (fadeProgress_ == 100) SetTimerInterval(lineDelay_);
}

QString TTextFader::NextLine() {
    if (lines_.size() == lineIndex_ + 1) {
        ++passCount_;
        if (repeatCount_ != 0 && passCount_ >= repeatCount_)
            SetActive(false);
        else
            SetLineIndex(0);
    } else {
        SetLineIndex(lineIndex_ + 1);
    }
    return lineIndex_ < 0 ? QString() : DecodeLine(lines_.at(lineIndex_));
}

void TTextFader::FaderTick() {
    if (fadeProgress_ == 100) {
        previousText_ = currentText_;
        currentText_ = NextLine();
        if (active_) {
            fadeProgress_ = 0;
            SetTimerInterval(fadeDelay_);
        }
    }
    fadeProgress_ = std::min(100, fadeProgress_ + fadeStep_);
    repaint();
    if (fadeProgress_ == 100) {
        SetTimerInterval(lineDelay_);
        emit OnComplete();
    }
}

QString TTextFader::DecodeLine(const QString& line) {
    QString decoded;
    decoded.reserve(line.size());
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c != u'\\') {
            decoded += c;
            continue;
        }
        if (++i == line.size()) break;
        switch (line.at(i).unicode()) {
        case u'\\':
            decoded += u'\\';
            break;
        case u'n':
            decoded += QStringLiteral("\r\n");
            break;
        case u't':
            decoded += u'\t';
            break;
        default:
            break;
        }
    }
    return decoded;
}

void TTextFader::BlendImages(QImage& current, const QImage& previous, int progress) {
    if (current.size() != previous.size() || current.depth() != 32 || previous.depth() != 32) return;
    const quint32 weight = static_cast<quint32>(std::clamp(progress, 0, 100));
    const quint32 rest = 100 - weight;
    const int width = current.width();
    for (int y = 0; y < current.height(); ++y) {
        auto* target = reinterpret_cast<quint32*>(current.scanLine(y));
        const auto* source = reinterpret_cast<const quint32*>(previous.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const quint32 now = target[x];
            const quint32 before = source[x];
            // Each mixed byte is 0..255, so it stays in its own place.
            const quint32 red = (((now >> 16) & 0xffu) * weight + ((before >> 16) & 0xffu) * rest) / 100;
            const quint32 green = (((now >> 8) & 0xffu) * weight + ((before >> 8) & 0xffu) * rest) / 100;
            const quint32 blue = ((now & 0xffu) * weight + (before & 0xffu) * rest) / 100;
            target[x] = (now & 0xff000000u) | (red << 16) | (green << 8) | blue;
        }
    }
}

QImage TTextFader::ComposeFrame() {
    if (width() <= 0 || height() <= 0) return {};
    const qreal ratio = devicePixelRatioF();
    QImage frame(size() * ratio, QImage::Format_RGB32);
    frame.setDevicePixelRatio(ratio);
    PaintBackground(frame);
    if (fadeProgress_ == 100) {
        DrawText(frame, currentText_);
        return frame;
    }
    QImage previous = frame.copy();
    DrawText(previous, previousText_);
    DrawText(frame, currentText_);
    BlendImages(frame, previous, fadeProgress_);
    return frame;
}

void TTextFader::paintEvent(QPaintEvent*) {
    if (painting_) return;
    FlagGuard guard(painting_);
    const QImage frame = ComposeFrame();
    QPainter painter(this);
    painter.drawImage(0, 0, frame);
}

void TTextFader::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    emit OnMouseEnter();
}

void TTextFader::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    emit OnMouseLeave();
}

void TTextFader::SetTimerInterval(int milliseconds) {
    // Like the system timer it stands for, a running timer starts its period afresh.
    timer_.setInterval(milliseconds);
}

void TTextFader::PaintBackground(QImage& image) {
    QPainter painter(&image);
    if (transparent_) {
        PaintParentBackground(painter);
        return;
    }
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (background_.isNull()) return;
    const int pictureWidth = background_.width();
    const int pictureHeight = background_.height();
    switch (backgroundMode_) {
    case bmTiled:
        for (int y = 0; y < height(); y += pictureHeight)
            for (int x = 0; x < width(); x += pictureWidth)
                painter.drawImage(x, y, background_);
        break;
    case bmStretched:
        painter.drawImage(rect(), background_);
        break;
    case bmCentered:
        painter.drawImage((width() - pictureWidth) / 2, (height() - pictureHeight) / 2, background_);
        break;
    case bmNone:
        break;
    }
}

void TTextFader::PaintParentBackground(QPainter& painter) {
    QWidget* parent = parentWidget();
    if (parent == nullptr) {
        painter.fillRect(rect(), palette().color(QPalette::Window));
        return;
    }
    const QRect area = geometry();
    // The parent's own painting, then the siblings that lie beneath this control.
    parent->render(&painter, QPoint(0, 0), QRegion(area), QWidget::DrawWindowBackground);
    for (QObject* child : parent->children()) {
        if (child == this) break;
        auto* sibling = qobject_cast<QWidget*>(child);
        if (sibling == nullptr || sibling->isWindow() || !sibling->isVisible()) continue;
        const QRect overlap = sibling->geometry().intersected(area);
        if (overlap.isEmpty()) continue;
        sibling->render(&painter, overlap.topLeft() - area.topLeft(),
                        QRegion(overlap.translated(-sibling->pos())),
                        QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
}

int TTextFader::TextFlags() const {
    int horizontal = Qt::AlignHCenter;
    if (alignment_ == taLeftJustify) horizontal = Qt::AlignLeading;
    if (alignment_ == taRightJustify) horizontal = Qt::AlignTrailing;
    int flags = static_cast<int>(QStyle::visualAlignment(layoutDirection(), Qt::Alignment(horizontal)));
    flags |= Qt::AlignTop | Qt::TextExpandTabs;
    if (wordWrap_) flags |= Qt::TextWordWrap;
    return flags;
}

void TTextFader::DrawText(QImage& image, const QString& text) const {
    if (text.isEmpty()) return;
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QPainter painter(&image);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    const int flags = TextFlags();
    const int textHeight = painter.boundingRect(QRect(0, 0, width(), kMeasureHeight), flags, shown).height();
    painter.drawText(QRect(0, (height() - textHeight) / 2, width(), textHeight), flags, shown);
}

TTextFader* MakeCreditsFader(QWidget* parent) {
    auto* fader = new TTextFader(parent);
    fader->setObjectName(QStringLiteral("TextFader1"));
    fader->setGeometry(112, 280, 265, 25);
    fader->SetFadeDelay(40);
    fader->SetLineDelay(6000);
    fader->setFont(platform::DesignFont(13, false));
    fader->SetFontColor(QColor(0, 0, 128));
    fader->SetLines(credits::CreditLines());
    return fader;
}

} // namespace kalendo
