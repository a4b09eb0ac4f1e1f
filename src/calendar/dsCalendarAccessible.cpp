#include "calendar/dsCalendarAccessible.h"

#include "calendar/dsCalendar.h"
#include "dates/DateFormat.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QHash>
#include <QPointer>
#include <QStringList>

namespace kalendo {

namespace {

// The table's children, row by row as Qt's item views give them: the header row (the corner
// above the week numbers when they are shown, then the seven day names), then each grid row
// (its week number when shown, then its seven days). The calendar's visible child controls,
// the month buttons and the year spinner, follow the grid.
enum class PartKind { Day, DayName, WeekNumber, Corner };

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool HasWeekNumbers(const TdsCalendar& calendar) { return calendar.ShowOptions().testFlag(soWeekNumbers); }

// Columns of the table's children: the seven days and the week-number column when shown.
int ChildColumns(const TdsCalendar& calendar) { return kGridColumns + (HasWeekNumbers(calendar) ? 1 : 0); }

int GridChildCount(const TdsCalendar& calendar) { return (kGridRows + 1) * ChildColumns(calendar); }

DateTime FirstCellDate(const TdsCalendar& calendar) {
    return CellDate(calendar.Year(), calendar.Month(), calendar.FirstDayNumber(), 0);
}

DateTime DateOfCell(const TdsCalendar& calendar, int row, int column) {
    return FirstCellDate(calendar) + row * kGridColumns + column;
}

// Cell 0..41 of a date, -1 when the grid does not show it.
int CellOfDate(const TdsCalendar& calendar, DateTime date) {
    const DateTime cell = DateOf(date) - FirstCellDate(calendar);
    return cell >= 0 && cell < kGridCells ? static_cast<int>(cell) : -1;
}

int DayChildIndex(const TdsCalendar& calendar, int cell) {
    const int weekColumn = HasWeekNumbers(calendar) ? 1 : 0;
    return (cell / kGridColumns + 1) * ChildColumns(calendar) + cell % kGridColumns + weekColumn;
}

// Weekday number 1..7 (Sunday first) of a grid column.
int WeekdayOfColumn(const TdsCalendar& calendar, int column) {
    return (calendar.FirstDayNumber() - 1 + column) % 7 + 1;
}

QString DayName(const TdsCalendar& calendar, int column) {
    return FromUtf8(
        calendar.Settings().longDayNames[static_cast<std::size_t>(WeekdayOfColumn(calendar, column) - 1)]);
}

int WeekNumberOfRow(const TdsCalendar& calendar, int row) {
    return calendar.CalendarWeekNumber(FirstCellDate(calendar) + 7 * row);
}

QString MonthAndYear(const TdsCalendar& calendar) {
    return FromUtf8(calendar.Settings().longMonthNames[static_cast<std::size_t>(calendar.Month() - 1)]) +
           QLatin1Char(' ') + QString::number(calendar.Year());
}

// The long date in the user's language, then what the colours tell a sighted user.
QString DayCellName(const TdsCalendar& calendar, DateTime date) {
    QStringList parts{FromUtf8(FormatDateTime("dddd d mmmm yyyy", date, calendar.Settings()))};
    if (date == DateOf(calendar.Today())) parts << QStringLiteral("today");
    if (calendar.ShowOptions().testFlag(soHolidays)) {
        const QString holiday = calendar.HolidayName(date);
        if (!holiday.isEmpty()) parts << QStringLiteral("holiday: ") + holiday;
    }
    const int weekday = DayOfWeek(date);
    if (weekday == 1 || weekday == 7) parts << QStringLiteral("week-end");
    return parts.join(QStringLiteral(", "));
}

QRect GlobalRect(const TdsCalendar& calendar, const QRect& local) {
    if (!calendar.isVisible()) return {};
    return {calendar.mapToGlobal(local.topLeft()), local.size()};
}

QRect DayCellRect(const TdsCalendar& calendar, int row, int column) {
    const PixelRect r = calendar.CellRect(row, column);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

int HeaderTop(const TdsCalendar& calendar) {
    return calendar.ShowOptions().testFlag(soTitle) ? 2 * calendar.CellHeight() : 0;
}

const QString kKeysDescription = QStringLiteral(
    "Arrow keys move a day or a week, Page Up and Page Down a month later or earlier, with Ctrl a "
    "year; Space goes to today.");

class CalendarTable;

// One place of the table other than a child control: a day, a day name, a week number or the
// corner above the week numbers. It describes the place, whatever date the place shows now.
class CalendarTablePart final : public QAccessibleInterface,
                                public QAccessibleTableCellInterface,
                                public QAccessibleActionInterface {
public:
    CalendarTablePart(TdsCalendar* calendar, PartKind kind, int row, int column)
        : calendar_(calendar), kind_(kind), row_(row), column_(column) {}

    PartKind Kind() const { return kind_; }
    int Row() const { return row_; }
    int Column() const { return column_; }

    bool isValid() const override {
        if (calendar_.isNull()) return false;
        return kind_ == PartKind::Day || kind_ == PartKind::DayName || HasWeekNumbers(*calendar_);
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return calendar_ ? calendar_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(calendar_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name || !isValid()) return {};
        switch (kind_) {
        case PartKind::Day:
            return DayCellName(*calendar_, Date());
        case PartKind::DayName:
            return DayName(*calendar_, column_);
        case PartKind::WeekNumber:
            return QStringLiteral("Week %1").arg(WeekNumberOfRow(*calendar_, row_));
        case PartKind::Corner:
            return QStringLiteral("Week");
        }
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (!isValid()) return {};
        const int cw = calendar_->CellWidth();
        const int ch = calendar_->CellHeight();
        const int weekColumn = HasWeekNumbers(*calendar_) ? 1 : 0;
        switch (kind_) {
        case PartKind::Day:
            return GlobalRect(*calendar_, DayCellRect(*calendar_, row_, column_));
        case PartKind::DayName:
            return GlobalRect(*calendar_,
                              QRect((column_ + weekColumn) * cw + 5, HeaderTop(*calendar_), cw, ch));
        case PartKind::WeekNumber:
            return GlobalRect(*calendar_, QRect(0, HeaderTop(*calendar_) + (row_ + 1) * ch, cw, ch));
        case PartKind::Corner:
            return GlobalRect(*calendar_, QRect(0, HeaderTop(*calendar_), cw, ch));
        }
        return {};
    }

    QAccessible::Role role() const override {
        switch (kind_) {
        case PartKind::Day:
            return QAccessible::Cell;
        case PartKind::WeekNumber:
            return QAccessible::RowHeader;
        case PartKind::DayName:
        case PartKind::Corner:
            break;
        }
        return QAccessible::ColumnHeader;
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) return state;
        if (!calendar_->isVisible()) state.invisible = true;
        if (!calendar_->isEnabled()) state.disabled = true;
        if (kind_ != PartKind::Day) return state;
        state.selectable = true;
        state.focusable = true;
        if (isSelected()) {
            state.selected = true;
            state.focused = calendar_->hasFocus();
        }
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (kind_ != PartKind::Day) return nullptr;
        if (type == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
        if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    bool isSelected() const override { return isValid() && Date() == calendar_->Date(); }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override;
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    // Pressing a day chooses it as a click on it does.
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& actionName) override {
        if (actionName == pressAction() && isValid()) calendar_->ChangeDate(Date());
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    DateTime Date() const { return DateOfCell(*calendar_, row_, column_); }

    QPointer<TdsCalendar> calendar_;
    PartKind kind_;
    int row_;
    int column_;
};

// Tells assistive technology what changed in one calendar: the month shown, the selected day
// and the focus coming back to the calendar.
class CalendarAnnouncer final : public QObject {
public:
    static constexpr const char* kName = "CalendarAnnouncer";

    explicit CalendarAnnouncer(TdsCalendar* calendar) : QObject(calendar), calendar_(calendar) {
        setObjectName(QLatin1String(kName));
        connect(calendar, &TdsCalendar::OnShownMonthChange, this, [this] { MonthShown(); });
        connect(calendar, &TdsCalendar::OnDateChange, this,
                [this](QObject*, double fromDate, double toDate) { DateChanged(fromDate, toDate); });
        calendar->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Qt announces the calendar itself after this event; the day then follows it.
        if (watched == calendar_ && event->type() == QEvent::FocusIn)
            QMetaObject::invokeMethod(
                this, [this] { AnnounceDay(QAccessible::Focus, calendar_->Date()); }, Qt::QueuedConnection);
        return QObject::eventFilter(watched, event);
    }

private:
    void MonthShown() const {
        QAccessibleEvent event(calendar_, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }

    void DateChanged(DateTime fromDate, DateTime toDate) const {
        if (DateOf(fromDate) != DateOf(toDate)) AnnounceDay(QAccessible::SelectionRemove, fromDate);
        AnnounceDay(QAccessible::Selection, toDate);
        if (calendar_->hasFocus()) AnnounceDay(QAccessible::Focus, toDate);
    }

    void AnnounceDay(QAccessible::Event type, DateTime date) const {
        if (!QAccessible::isActive()) return;
        const int cell = CellOfDate(*calendar_, date);
        if (cell < 0) return;
        QAccessibleEvent event(calendar_, type);
        event.setChild(DayChildIndex(*calendar_, cell));
        QAccessible::updateAccessibility(&event);
    }

    TdsCalendar* calendar_;
};

class CalendarTable final : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit CalendarTable(TdsCalendar* calendar) : QAccessibleWidget(calendar, QAccessible::Table) {
        if (calendar->findChild<QObject*>(QLatin1String(CalendarAnnouncer::kName),
                                          Qt::FindDirectChildrenOnly) == nullptr)
            new CalendarAnnouncer(calendar);
    }
    ~CalendarTable() override {
        for (QAccessible::Id id : std::as_const(parts_))
            QAccessible::deleteAccessibleInterface(id);
    }
    CalendarTable(const CalendarTable&) = delete;
    CalendarTable& operator=(const CalendarTable&) = delete;

    TdsCalendar* Calendar() const { return static_cast<TdsCalendar*>(widget()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            const QString owner = widget()->accessibleName();
            return owner.isEmpty() ? MonthAndYear(*Calendar())
                                   : owner + QStringLiteral(", ") + MonthAndYear(*Calendar());
        }
        if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty())
            return kKeysDescription;
        return QAccessibleWidget::text(t);
    }

    int childCount() const override {
        return GridChildCount(*Calendar()) + static_cast<int>(ChildControls().size());
    }

    QAccessibleInterface* child(int index) const override {
        const TdsCalendar& calendar = *Calendar();
        if (index < 0) return nullptr;
        if (index >= GridChildCount(calendar)) {
            const QList<QWidget*> controls = ChildControls();
            const qsizetype control = index - GridChildCount(calendar);
            return control < controls.size() ? QAccessible::queryAccessibleInterface(controls[control])
                                             : nullptr;
        }
        const int columns = ChildColumns(calendar);
        const int weekColumn = HasWeekNumbers(calendar) ? 1 : 0;
        const int row = index / columns - 1;             // -1 for the header row
        const int column = index % columns - weekColumn; // -1 for the week numbers
        if (row < 0) return Part(column < 0 ? PartKind::Corner : PartKind::DayName, 0, std::max(column, 0));
        if (column < 0) return Part(PartKind::WeekNumber, row, 0);
        return Part(PartKind::Day, row, column);
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        const TdsCalendar& calendar = *Calendar();
        if (const auto* part = dynamic_cast<const CalendarTablePart*>(child)) {
            if (!part->isValid() || part->parent() != this) return -1;
            const int columns = ChildColumns(calendar);
            const int weekColumn = HasWeekNumbers(calendar) ? 1 : 0;
            switch (part->Kind()) {
            case PartKind::Day:
                return (part->Row() + 1) * columns + part->Column() + weekColumn;
            case PartKind::DayName:
                return part->Column() + weekColumn;
            case PartKind::WeekNumber:
                return (part->Row() + 1) * columns;
            case PartKind::Corner:
                return 0;
            }
            return -1;
        }
        const qsizetype control = ChildControls().indexOf(qobject_cast<QWidget*>(child->object()));
        return control < 0 ? -1 : GridChildCount(calendar) + static_cast<int>(control);
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        const TdsCalendar& calendar = *Calendar();
        const QPoint local = calendar.mapFromGlobal(QPoint(x, y));
        for (QWidget* control : ChildControls()) {
            if (control->geometry().contains(local)) return QAccessible::queryAccessibleInterface(control);
        }
        const int cell = CellAtPoint(calendar.Layout(), local.x(), local.y());
        if (cell >= 0) return child(DayChildIndex(calendar, cell));
        for (int i = 0; i < GridChildCount(calendar); ++i) {
            QAccessibleInterface* part = child(i);
            if (part != nullptr && part->rect().contains(x, y)) return part;
        }
        return nullptr;
    }

    QAccessibleInterface* focusChild() const override {
        if (!Calendar()->hasFocus()) return nullptr;
        return child(DayChildIndex(*Calendar(), SelectedCell()));
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || row >= kGridRows || column < 0 || column >= kGridColumns) return nullptr;
        return child(DayChildIndex(*Calendar(), row * kGridColumns + column));
    }
    int selectedCellCount() const override { return 1; }
    QList<QAccessibleInterface*> selectedCells() const override {
        return {child(DayChildIndex(*Calendar(), SelectedCell()))};
    }
    QString columnDescription(int column) const override {
        return column >= 0 && column < kGridColumns ? DayName(*Calendar(), column) : QString();
    }
    int columnCount() const override { return kGridColumns; }
    int selectedColumnCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QString rowDescription(int row) const override {
        if (row < 0 || row >= kGridRows || !HasWeekNumbers(*Calendar())) return {};
        return QStringLiteral("Week %1").arg(WeekNumberOfRow(*Calendar(), row));
    }
    int rowCount() const override { return kGridRows; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    // One day is always selected; rows and columns never are.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    // The parts describe places, not dates, so a new month leaves them valid.
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    int SelectedCell() const { return CellOfDate(*Calendar(), Calendar()->Date()); }

    QList<QWidget*> ChildControls() const {
        QList<QWidget*> controls;
        for (QWidget* control : widget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (control->isVisible() && !control->isWindow()) controls << control; // not the month menu
        }
        return controls;
    }

    QAccessibleInterface* Part(PartKind kind, int row, int column) const {
        const int key = static_cast<int>(kind) * 100 + row * 10 + column;
        if (const auto id = parts_.constFind(key); id != parts_.constEnd())
            return QAccessible::accessibleInterface(*id);
        auto* part = new CalendarTablePart(Calendar(), kind, row, column);
        parts_.insert(key, QAccessible::registerAccessibleInterface(part));
        return part;
    }

    mutable QHash<int, QAccessible::Id> parts_;
};

QList<QAccessibleInterface*> CalendarTablePart::columnHeaderCells() const {
    QAccessibleInterface* table = parent();
    if (table == nullptr) return {};
    return {table->child(column_ + (HasWeekNumbers(*calendar_) ? 1 : 0))};
}

QList<QAccessibleInterface*> CalendarTablePart::rowHeaderCells() const {
    QAccessibleInterface* table = parent();
    if (table == nullptr || !HasWeekNumbers(*calendar_)) return {};
    return {table->child((row_ + 1) * ChildColumns(*calendar_))};
}

QAccessibleInterface* CalendarFactory(const QString&, QObject* object) {
    auto* calendar = qobject_cast<TdsCalendar*>(object);
    return calendar != nullptr ? new CalendarTable(calendar) : nullptr;
}

} // namespace

void InstallCalendarAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(CalendarFactory);
        return true;
    }();
    (void)installed;
}

} // namespace kalendo
