#pragma once

#include "dates/DateTime.h"
#include "dates/TypedDate.h"

#include <QLineEdit>

namespace kalendo::app {

// A date typed as text: "2026-12-24", "24/12/2026" or "next Friday", read as a whole by the
// program's typed-date reader rather than section by section, so a date typed in one go lands
// as typed. Up and Down move a date read by one day. What it reads is given as one short line
// for a label beside the field, and as the field's accessible description.
class TTypedDateField final : public QLineEdit {
    Q_OBJECT
public:
    TTypedDateField(DateTime minDate, DateTime maxDate, QWidget* parent = nullptr);

    const TypedDateReading& Reading() const { return reading_; }
    // The day in words, "No date in that", or "" when nothing is typed.
    QString ReadingText() const;

    void SetDate(DateTime date);

signals:
    void ReadingChanged(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Read();

    DateTime minDate_;
    DateTime maxDate_;
    TypedDateReading reading_;
};

} // namespace kalendo::app
