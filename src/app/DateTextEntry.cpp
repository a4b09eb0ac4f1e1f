#include "app/DateTextEntry.h"

#include "app/DesignColours.h"
#include "dates/DateEnvironment.h"
#include "dates/DateFormat.h"
#include "platform/Fonts.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

namespace kalendo::app {

namespace {

// The reading's own colours, besides the design's navy for a date read.
const QColor kDarkRed(160, 0, 0);
const QColor kGrey(96, 96, 96);

} // namespace

TDateTextEntry::TDateTextEntry(DateTime minDate, DateTime maxDate, QWidget* parent)
    : QFrame(parent), minDate_(minDate), maxDate_(maxDate) {
    setObjectName(QStringLiteral("DateTextEntry"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    SetColours(*this, kMoneyGreen, QColor(0, 0, 0));

    Prompt = new QLabel(this);
    Prompt->setFont(platform::DesignFont(11, true));
    Edit = new QLineEdit(this);
    Edit->setObjectName(QStringLiteral("DateTextEdit"));
    Edit->setFont(platform::DesignFont(12, true));
    Edit->setMaxLength(120);
    Edit->setPlaceholderText(QStringLiteral("next Friday, 3 weeks ago, 25/12/2026"));
    Edit->setToolTip(QStringLiteral(" Type a date in words, then press Enter (Escape gives up) "));
    Edit->setAccessibleName(QStringLiteral("Type a date in words"));
    ReadingLine = new QLabel(this);
    ReadingLine->setObjectName(QStringLiteral("DateTextReading"));
    ReadingLine->setFont(platform::DesignFont(11, true));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 2, 6, 2);
    row->setSpacing(6);
    row->addWidget(Prompt);
    row->addWidget(Edit, 1);
    row->addWidget(ReadingLine, 1);

    connect(Edit, &QLineEdit::textChanged, this, [this] { ShowReading(); });
    hide();
}

void TDateTextEntry::Open(const QString& prompt) {
    Prompt->setText(prompt);
    // The prompt says which calendar the date is for.
    Edit->setAccessibleName(prompt + QStringLiteral(" type a date in words"));
    Edit->clear();
    ShowReading();
    show();
    raise();
    Edit->setFocus(Qt::OtherFocusReason);
    // While open, the entry sees the keys typed into it and every click in the program: a click
    // elsewhere in its window gives up, even on a blank part that takes no focus.
    QCoreApplication::instance()->installEventFilter(this);
}

void TDateTextEntry::Close() {
    QCoreApplication::instance()->removeEventFilter(this);
    hide();
}

void TDateTextEntry::GiveUp() {
    Close();
    emit Cancelled();
}

void TDateTextEntry::ShowReading() {
    reading_ = ReadTypedDate(Edit->text().toStdString(), minDate_, maxDate_);
    switch (reading_.kind) {
    case TypedDateReading::kEmpty:
        ReadingLine->setText(QStringLiteral("Type a date in words"));
        SetTextColour(*ReadingLine, kGrey);
        break;
    case TypedDateReading::kDate:
        ReadingLine->setText(QString::fromStdString(
            FormatDateTime("dddd d mmmm yyyy", reading_.date, CurrentFormatSettings())));
        SetTextColour(*ReadingLine, kNavy);
        break;
    case TypedDateReading::kOutOfRange:
        ReadingLine->setText(QStringLiteral("Not between 1752 and 3000"));
        SetTextColour(*ReadingLine, kDarkRed);
        break;
    case TypedDateReading::kNoDate:
        ReadingLine->setText(QStringLiteral("No date in that"));
        SetTextColour(*ReadingLine, kDarkRed);
        break;
    }
    // What the entry reads is told with the field itself, where a screen reader's user types.
    if (Edit->accessibleDescription() != ReadingLine->text())
        Edit->setAccessibleDescription(ReadingLine->text());
}

bool TDateTextEntry::eventFilter(QObject* watched, QEvent* event) {
    if (!isVisible()) return QFrame::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType()) {
        // By where it is, not what it hit: a press the entry's label ignores goes on to the
        // window behind it. The click still goes on to what it hit.
        const QPoint point = mapFromGlobal(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        if (static_cast<QWidget*>(watched)->window() == window() && !rect().contains(point)) GiveUp();
        return false;
    }
    if (watched != Edit) return QFrame::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            GiveUp();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (reading_.kind != TypedDateReading::kDate) {
                QApplication::beep();
                return true;
            }
            const DateTime date = reading_.date;
            Close();
            emit Accepted(date);
            return true;
        }
    }
    if (event->type() == QEvent::FocusOut) {
        // Another control of this window taking the focus gives up; a message box or another
        // window taking it for a while does not.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) GiveUp();
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace kalendo::app
