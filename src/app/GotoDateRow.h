#pragma once

#include "dates/DateTime.h"

#include <QString>

#include <functional>

class QLineEdit;
class QPushButton;

namespace kalendo {
class TdsPlanner;
}

namespace kalendo::app {

// One side's Goto Date row: the button, and the masked date input that takes its place while a
// date is typed for the calendar below it.
class TGotoDateRow {
public:
    // What the row asks of its window.
    struct Hooks {
        std::function<void(const QString&)> inform; // an information box
        std::function<void()> focusNext;            // the window's next control takes the focus
        std::function<void(DateTime)> moveCalendar; // the accepted date, set and recomputed
    };
    // closeOnRangeError: a year outside the calendars' range also closes the input.
    TGotoDateRow(QPushButton& button, QLineEdit& input, TdsPlanner& planner, bool closeOnRangeError,
                 Hooks hooks);

    // Shows the input in place of the button, holding the calendar's date.
    void Open();
    // Shows the button again and gives the calendar the focus.
    void Close();
    // Enter in the input: reports a year out of range or an invalid date, else moves the
    // calendar. Always consumes the key.
    bool Accept();

    // The input's mask for the current locale, in Qt's mask letters, and where the four-digit
    // year sits in the masked text (0-based).
    static QString Mask();
    static int YearPosition();

private:
    QPushButton& button_;
    QLineEdit& input_;
    TdsPlanner& planner_;
    bool closeOnRangeError_;
    Hooks hooks_;
};

} // namespace kalendo::app
