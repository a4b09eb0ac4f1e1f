#pragma once

#include "dates/DateTime.h"
#include "dates/TypedDate.h"

#include <QFrame>

class QLabel;
class QLineEdit;

namespace kalendo::app {

// A one-line entry laid over the main window for typing a calendar's date as free text ("next
// Friday", "3 weeks ago", "Christmas Day"). As the user types it shows the date it reads, in
// words, or a short line saying that it reads none. Enter accepts a date; Escape, a click
// anywhere else in the window or another control taking the focus gives up; none of them
// touches anything else.
class TDateTextEntry final : public QFrame {
    Q_OBJECT
public:
    TDateTextEntry(DateTime minDate, DateTime maxDate, QWidget* parent);

    // Shows the entry, empty, with the prompt ("Left date:") and the focus in it.
    void Open(const QString& prompt);
    void Close();

    const TypedDateReading& Reading() const { return reading_; }

    QLabel* Prompt = nullptr;
    QLineEdit* Edit = nullptr;
    QLabel* ReadingLine = nullptr;

signals:
    void Accepted(double date);
    void Cancelled();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowReading();
    // Closes and says so, leaving everything as it was.
    void GiveUp();

    DateTime minDate_;
    DateTime maxDate_;
    TypedDateReading reading_;
};

} // namespace kalendo::app
