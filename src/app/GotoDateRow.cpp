#include "app/GotoDateRow.h"

#include "calendar/dsCalendar.h"
#include "dates/DateEnvironment.h"
#include "dates/DateFormat.h"

#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace kalendo::app {

namespace {

// Characters that mean something in a Qt input mask and must be escaped as separators.
bool IsMaskMetaCharacter(QChar c) { return QStringLiteral("AaNnXx90Dd#HhBb><!\\[]{}").contains(c); }

// The locale's date separator, or "/" when it has none or one a mask cannot hold.
QString Separator() {
    const QString separator = QString::fromStdString(CurrentFormatSettings().dateSeparator);
    return separator.isEmpty() || separator.contains(u';') ? QStringLiteral("/") : separator;
}

QString EscapedSeparator() {
    QString escaped;
    for (const QChar c : Separator()) {
        if (IsMaskMetaCharacter(c)) escaped += u'\\';
        escaped += c;
    }
    return escaped;
}

} // namespace

TGotoDateRow::TGotoDateRow(QPushButton& button, QLineEdit& input, TdsPlanner& planner, bool closeOnRangeError,
                           Hooks hooks)
    : button_(button), input_(input), planner_(planner), closeOnRangeError_(closeOnRangeError),
      hooks_(std::move(hooks)) {}

QString TGotoDateRow::Mask() {
    const QString separator = EscapedSeparator();
    const QString dayOrMonth = QStringLiteral("00"); // optional digits
    const QString year = QStringLiteral("9999");     // required digits
    const QString fields = DateOrderOf(CurrentFormatSettings().shortDateFormat) == doYearMonthDay
                               ? year + separator + dayOrMonth + separator + dayOrMonth
                               : dayOrMonth + separator + dayOrMonth + separator + year;
    return fields + QStringLiteral(";_");
}

int TGotoDateRow::YearPosition() {
    return DateOrderOf(CurrentFormatSettings().shortDateFormat) == doYearMonthDay
               ? 0
               : 4 + 2 * static_cast<int>(Separator().size());
}

void TGotoDateRow::Open() {
    const FormatSettings& settings = CurrentFormatSettings();
    // The fields at the widths of the mask, in the locale's order.
    std::string format;
    switch (DateOrderOf(settings.shortDateFormat)) {
    case doDayMonthYear:
        format = "dd/mm/yyyy";
        break;
    case doMonthDayYear:
        format = "mm/dd/yyyy";
        break;
    case doYearMonthDay:
        format = "yyyy/mm/dd";
        break;
    }
    input_.setInputMask(Mask());
    input_.setText(QString::fromStdString(FormatDateTime(format, planner_.Date(), settings)));
    button_.hide();
    input_.show();
    input_.setFocus(Qt::OtherFocusReason);
    input_.setCursorPosition(0);
}

void TGotoDateRow::Close() {
    input_.hide();
    button_.show();
    planner_.setFocus(Qt::OtherFocusReason);
}

bool TGotoDateRow::Accept() {
    // The text as the mask shows it, blanks read back as spaces.
    const QString text = input_.displayText().replace(u'_', u' ');
    const QString year = text.mid(YearPosition(), 4);
    auto rangeError = [&](const QString& message) {
        hooks_.inform(message);
        if (closeOnRangeError_) {
            input_.hide();
            button_.show();
        }
        return true;
    };
    if (year < QStringLiteral("1752")) return rangeError(QStringLiteral("Cannot go before the year 1752"));
    if (year > QStringLiteral("3000")) return rangeError(QStringLiteral("Cannot go beyond the year 3000"));

    hooks_.focusNext();
    if (input_.isVisible()) Close();

    const bool yearComplete =
        year.size() == 4 && std::all_of(year.begin(), year.end(), [](QChar c) { return c.isDigit(); });
    const std::optional<DateTime> date =
        yearComplete ? TryStrToDate(text.toStdString(), CurrentFormatSettings()) : std::nullopt;
    if (!date) {
        hooks_.inform(QStringLiteral("Invalid date, try again!"));
        return true;
    }
    input_.clear();
    hooks_.moveCalendar(DateOf(*date));
    return true;
}

} // namespace kalendo::app
