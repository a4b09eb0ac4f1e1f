#include "app/TypedDateField.h"

#include "dates/DateEnvironment.h"
#include "dates/DateFormat.h"

#include <QKeyEvent>

#include <algorithm>

namespace kalendo::app {

TTypedDateField::TTypedDateField(DateTime minDate, DateTime maxDate, QWidget* parent)
    : QLineEdit(parent), minDate_(minDate), maxDate_(maxDate) {
    setMaxLength(120);
    connect(this, &QLineEdit::textChanged, this, [this] { Read(); });
}

QString TTypedDateField::ReadingText() const {
    switch (reading_.kind) {
    case TypedDateReading::kEmpty:
        return {};
    case TypedDateReading::kDate:
    case TypedDateReading::kOutOfRange:
        // A day outside the bounds is still shown: what is wrong with it is said when it is used.
        return QString::fromStdString(
            FormatDateTime("dddd d mmmm yyyy", reading_.date, CurrentFormatSettings()));
    case TypedDateReading::kNoDate:
        break;
    }
    return QStringLiteral("No date in that");
}

void TTypedDateField::SetDate(DateTime date) {
    const CivilDate civil = DecodeDate(date);
    setText(QStringLiteral("%1-%2-%3")
                .arg(civil.year, 4, 10, QLatin1Char('0'))
                .arg(civil.month, 2, 10, QLatin1Char('0'))
                .arg(civil.day, 2, 10, QLatin1Char('0')));
}

void TTypedDateField::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key != Qt::Key_Up && key != Qt::Key_Down) || event->modifiers() != Qt::NoModifier) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // Stepping writes the day in the one form that reads the same everywhere.
    if (reading_.kind == TypedDateReading::kDate)
        SetDate(std::clamp(reading_.date + (key == Qt::Key_Up ? 1.0 : -1.0), minDate_, maxDate_));
    event->accept();
}

void TTypedDateField::Read() {
    const QString before = ReadingText();
    reading_ = ReadTypedDate(text().toStdString(), minDate_, maxDate_);
    const QString after = ReadingText();
    if (after == before) return;
    // Told with the field itself, where a screen reader's user types.
    setAccessibleDescription(after);
    emit ReadingChanged(after);
}

} // namespace kalendo::app
