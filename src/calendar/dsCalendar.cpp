#include "calendar/dsCalendar.h"

#include "dates/DateEnvironment.h"
#include "dates/DateFormat.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QScopedValueRollback>
#include <QStyleOption>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace kalendo {

namespace {

constexpr int kFirstRepeatMs = 500;
constexpr int kNextRepeatMs = 200;
constexpr int kMonthButtonSize = 20;
constexpr int kFontPixelSize = 11; // 8 points on a 96 dpi screen

QRect ToQRect(const PixelRect& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool IsRepresentableYear(int year) { return year >= 1 && year <= 9999; }

} // namespace

TdsMonthsColors::TdsMonthsColors()
    : background_(QGuiApplication::palette().color(QPalette::Inactive, QPalette::ToolTipBase)),
      title_(0, 0, 128), circle_(255, 0, 0) {}

void TdsMonthsColors::Store(QColor& slot, const QColor& value) {
    if (slot == value) return;
    slot = value;
    Changed();
}

void TdsMonthsColors::Changed() const {
    if (onChange_) onChange_();
}

TdsCalendarColors::TdsCalendarColors()
    : holidays_(255, 0, 0), sundays_(255, 0, 0), selected_(0, 128, 0), trailingDays_(192, 192, 192) {}

void TdsCalendarColors::Assign(const TdsCalendarColors& source) {
    background_ = source.background_;
    title_ = source.title_;
    circle_ = source.circle_;
    holidays_ = source.holidays_;
    sundays_ = source.sundays_;
    selected_ = source.selected_;
    trailingDays_ = source.trailingDays_;
    Changed();
}

void THolidays::Add(TDay day, TMonth month, const QString& name) {
    items_.push_back({day, month, name});
    if (onChange_) onChange_();
}

void THolidays::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    items_.erase(items_.begin() + index);
    if (onChange_) onChange_();
}

void THolidays::Clear() {
    if (items_.empty()) return;
    items_.clear();
    if (onChange_) onChange_();
}

const THoliday* THolidays::Find(int month, int day) const {
    for (const THoliday& holiday : items_) {
        if (holiday.Day == day && holiday.Month == month) return &holiday;
    }
    return nullptr;
}

TdsPlanerCategorie::TdsPlanerCategorie(TdsPlanerCategories* collection) : collection_(collection) {}

void TdsPlanerCategorie::SetDates(const QStringList& dates) {
    if (dates_ == dates) return;
    dates_ = dates;
    Changed();
}

void TdsPlanerCategorie::AppendDate(const QString& text) {
    dates_.append(text);
    Changed();
}

int TdsPlanerCategorie::IndexOfDate(const QString& text) const {
    for (qsizetype i = 0; i < dates_.size(); ++i) {
        if (dates_[i].compare(text, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
    }
    return -1;
}

void TdsPlanerCategorie::DeleteDate(int index) {
    if (index < 0 || index >= dates_.size()) return;
    dates_.removeAt(index);
    Changed();
}

void TdsPlanerCategorie::SetColor(const QColor& color) {
    if (color_ == color) return;
    color_ = color;
    Changed();
}

void TdsPlanerCategorie::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    Changed();
}

void TdsPlanerCategorie::Assign(const TdsPlanerCategorie& source) {
    name_ = source.name_;
    dates_ = source.dates_;
    color_ = source.color_;
    visible_ = source.visible_;
    Changed();
}

void TdsPlanerCategorie::Changed() {
    if (collection_) collection_->Changed();
}

TdsPlanerCategories::TdsPlanerCategories(TdsPlanner* planner) : planner_(planner) {}

TdsPlanerCategorie& TdsPlanerCategories::Add() {
    items_.push_back(std::make_unique<TdsPlanerCategorie>(this));
    Changed();
    return *items_.back();
}

TdsPlanerCategorie& TdsPlanerCategories::Add(const QString& name, const QColor& color) {
    BeginUpdate();
    TdsPlanerCategorie& category = Add();
    category.SetName(name);
    category.SetColor(color);
    EndUpdate();
    return category;
}

void TdsPlanerCategories::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    items_.erase(items_.begin() + index);
    Changed();
}

void TdsPlanerCategories::Clear() {
    if (items_.empty()) return;
    items_.clear();
    Changed();
}

bool TdsPlanerCategories::HasDates() const {
    return std::any_of(items_.begin(), items_.end(),
                       [](const auto& item) { return !item->Dates().isEmpty(); });
}

void TdsPlanerCategories::BeginUpdate() { ++updateDepth_; }

void TdsPlanerCategories::EndUpdate() {
    if (updateDepth_ == 0) return;
    if (--updateDepth_ > 0 || !changedInUpdate_) return;
    changedInUpdate_ = false;
    if (planner_) planner_->RepaintGrid();
}

void TdsPlanerCategories::Changed() {
    if (updateDepth_ > 0) {
        changedInUpdate_ = true;
        return;
    }
    if (planner_) planner_->RepaintGrid();
}

TdsMonthButton::TdsMonthButton(bool next, QWidget* parent) : QPushButton(parent), next_(next) {
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(next ? QStringLiteral("Next month") : QStringLiteral("Previous month"));
    setFixedSize(kMonthButtonSize, kMonthButtonSize);
}

void TdsMonthButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    // A 9 x 5 triangle in the middle of the 16 x 16 glyph; pressed buttons push it down a pixel.
    const QPointF shift = isDown() ? QPointF(1, 1) : QPointF(0, 0);
    const double cx = width() / 2.0;
    const double cy = height() / 2.0;
    QPolygonF triangle;
    if (next_) {
        triangle << QPointF(cx - 4.5, cy + 2.5) << QPointF(cx + 4.5, cy + 2.5) << QPointF(cx, cy - 2.5);
    } else {
        triangle << QPointF(cx - 4.5, cy - 2.5) << QPointF(cx + 4.5, cy - 2.5) << QPointF(cx, cy + 2.5);
    }
    painter.drawPolygon(triangle.translated(shift));
}

void TdsMonthButton::mousePressEvent(QMouseEvent* event) {
    QPushButton::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) emit MouseDown();
}

void TdsMonthButton::mouseReleaseEvent(QMouseEvent* event) {
    // The timer stops before the click's own step.
    if (event->button() == Qt::LeftButton) emit MouseUp();
    QPushButton::mouseReleaseEvent(event);
}

TdsYearSpinner::TdsYearSpinner(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(QStringLiteral("Year up or down"));
    setFixedSize(24, 20);
}

void TdsYearSpinner::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int half = height() / 2;
    const QRect halves[2] = {QRect(0, 0, width(), half), QRect(0, half, width(), height() - half)};
    for (int i = 0; i < 2; ++i) {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = halves[i];
        style()->drawControl(QStyle::CE_PushButtonBevel, &button, &painter, this);
        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = halves[i].adjusted(6, 1, -6, -1);
        style()->drawPrimitive(i == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, &arrow,
                               &painter, this);
    }
}

void TdsYearSpinner::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int upperHalfHeight = height() / 2; // in whole pixels, as painted
    emit Step(event->position().y() < upperHalfHeight ? +1 : -1);
}

TdsCustomCalendar::TdsCustomCalendar(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont font = QApplication::font();
    font.setPixelSize(kFontPixelSize);
    textFont_ = font;
    textFontColor_ = palette().color(QPalette::Active, QPalette::WindowText);
    font.setBold(true);
    titleFont_ = font;

    nextMonthButton_ = new TdsMonthButton(true, this);
    prevMonthButton_ = new TdsMonthButton(false, this);
    for (TdsMonthButton* button : {nextMonthButton_, prevMonthButton_}) {
        connect(button, &TdsMonthButton::MouseDown, this, [this, button] { MonthButtonPressed(button); });
        connect(button, &TdsMonthButton::MouseUp, this, [this] { MonthButtonReleased(); });
        connect(button, &QPushButton::clicked, this, [this, button] { MonthButtonClicked(button); });
    }
    connect(&repeatTimer_, &QTimer::timeout, this, &TdsCustomCalendar::RepeatTimerTick);
}

TdsCustomCalendar::~TdsCustomCalendar() = default;

void TdsCustomCalendar::SetCellWidth(int width) {
    width = std::max(width, 1);
    if (width == cellWidth_) return;
    cellWidth_ = width;
    UpdateLayout();
    update();
}

void TdsCustomCalendar::SetCellHeight(int height) {
    height = std::max(height, 1);
    if (height == cellHeight_) return;
    cellHeight_ = height;
    UpdateLayout();
    update();
}

void TdsCustomCalendar::SetTextFont(const QFont& font) {
    textFont_ = font;
    textCache_.clear();
    update();
}

void TdsCustomCalendar::DrawCentredText(QPainter& painter, const QRect& rect, const QString& text) const {
    if (painter.font() != textFont_) {
        painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text);
        return;
    }
    auto cached = textCache_.find(text);
    if (cached == textCache_.end()) {
        QStaticText staticText(text);
        staticText.setTextFormat(Qt::PlainText);
        staticText.setPerformanceHint(QStaticText::AggressiveCaching);
        staticText.prepare(QTransform(), textFont_);
        cached = textCache_.insert(text, staticText);
    }
    const QSizeF size = cached->size();
    const QPointF topLeft(rect.left() + (rect.width() - size.width()) / 2.0,
                          rect.top() + (rect.height() - size.height()) / 2.0);
    painter.drawStaticText(QPointF(std::round(topLeft.x()), std::round(topLeft.y())), *cached);
}

void TdsCustomCalendar::SetTextFontColor(const QColor& color) {
    textFontColor_ = color;
    update();
}

void TdsCustomCalendar::SetTitleFont(const QFont& font) {
    titleFont_ = font;
    update();
}

void TdsCustomCalendar::SetTitleFontColor(const QColor& color) {
    titleFontColor_ = color;
    update();
}

void TdsCustomCalendar::SetSelectedShape(TSelectedShape shape) {
    if (shape == selectedShape_) return;
    selectedShape_ = shape;
    update();
}

void TdsCustomCalendar::SetTransparentCursor(bool transparent) {
    if (transparent == transparentCursor_) return;
    transparentCursor_ = transparent;
    update();
}

bool TdsCustomCalendar::IsDateAllowed(DateTime x) const {
    return kalendo::IsDateAllowed(x, minDate_, maxDate_);
}

void TdsCustomCalendar::SetBorderStyle(TBorderStyle style) {
    if (style == borderStyle_) return;
    borderStyle_ = style;
    update();
}

void TdsCustomCalendar::MonthButtonPressed(TdsMonthButton* button) {
    heldButton_ = button;
    repeatTimer_.start(kFirstRepeatMs);
}

void TdsCustomCalendar::MonthButtonReleased() {
    repeatTimer_.stop();
    heldButton_ = nullptr;
}

void TdsCustomCalendar::MonthButtonClicked(TdsMonthButton* button) {
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
    if (button->IsNext()) {
        NextMonth();
    } else {
        PrevMonth();
    }
}

void TdsCustomCalendar::RepeatTimerTick() {
    if (!heldButton_) {
        repeatTimer_.stop();
        return;
    }
    // A held push button is "down" exactly while the pointer is over it.
    if (!heldButton_->isDown()) return;
    if (repeatTimer_.interval() != kNextRepeatMs) repeatTimer_.setInterval(kNextRepeatMs);
    if (heldButton_->IsNext()) {
        NextMonth();
    } else {
        PrevMonth();
    }
}

TdsCalendar::TdsCalendar(QWidget* parent) : TdsCustomCalendar(parent) {
    firstDayOfWeek_ = LocaleFirstDayOfWeek(Settings());
    firstDayNumber_ = kalendo::FirstDayNumber(firstDayOfWeek_);
    const CivilDate today = DecodeDate(Today());
    StoreDate(today.year, today.month, today.day);
    colors_.SetOnChange([this] { repaint(); });
    holidays_.SetOnChange([this] { update(); });

    monthMenu_ = new QMenu(this);
    for (int month = 1; month <= 12; ++month) {
        QAction* action = monthMenu_->addAction(QString());
        action->setData(month);
        connect(action, &QAction::triggered, this, [this, month] { MonthMenuClick(month); });
    }
    RefreshMonthMenu();

    yearSpinner_ = new TdsYearSpinner(this);
    yearSpinner_->hide();
    connect(yearSpinner_, &TdsYearSpinner::Step, this, &TdsCalendar::YearSpinnerClick);

    UpdateLayout();
}

TdsCalendar::~TdsCalendar() = default;

DateTime TdsCalendar::Date() const { return EncodeDate(year_, month_, day_); }

void TdsCalendar::StoreDate(int year, int month, int day) {
    const bool monthShown = year != year_ || month != month_;
    year_ = year;
    month_ = month;
    day_ = day;
    if (monthShown) emit OnShownMonthChange(this, year_, month_);
}

void TdsCalendar::SetDate(DateTime date) {
    date = DateOf(date);
    if (date == Date()) return;
    const CivilDate civil = DecodeDate(date);
    if (!IsRepresentableYear(civil.year)) return;
    StoreDate(civil.year, civil.month, civil.day);
    update();
}

void TdsCalendar::SetYear(int year) {
    if (year == year_ || !IsRepresentableYear(year)) return;
    year_ = year;
    day_ = std::min(day_, MonthDays(year_, month_));
    emit OnShownMonthChange(this, year_, month_);
    update();
}

void TdsCalendar::SetShowOptions(TShowOptions options) {
    if (options == showOptions_) return;
    showOptions_ = options;
    UpdateLayout();
    update();
}

void TdsCalendar::SetFirstDayOfWeek(TDayOfWeek day) {
    const int index = static_cast<int>(day);
    if (index < dwMonday || index > dwSunday) day = dwMonday;
    if (day == firstDayOfWeek_) return;
    firstDayOfWeek_ = day;
    firstDayNumber_ = kalendo::FirstDayNumber(day);
    repaint();
}

void TdsCalendar::SetTodayString(const QString& text) {
    if (text == todayString_) return;
    todayString_ = text;
    update();
}

const THoliday* TdsCalendar::FindHoliday(DateTime date) const {
    if (holidays_.Count() == 0) return nullptr;
    const CivilDate civil = DecodeDate(date);
    return holidays_.Find(civil.month, civil.day);
}

void TdsCalendar::SetHolidayLookup(std::function<QString(DateTime)> lookup) {
    holidayLookup_ = std::move(lookup);
    update();
}

QString TdsCalendar::HolidayName(DateTime date) const {
    if (holidayLookup_) {
        QString name = holidayLookup_(date);
        if (!name.isEmpty()) return name;
    }
    const THoliday* holiday = FindHoliday(date);
    return holiday != nullptr ? holiday->Name : QString();
}

void TdsCalendar::SetClock(std::shared_ptr<const Clock> clock) {
    clock_ = std::move(clock);
    update();
}

DateTime TdsCalendar::Today() const { return clock_ ? clock_->Today() : CurrentClock().Today(); }

void TdsCalendar::SetFormatSettings(std::optional<FormatSettings> settings) {
    settings_ = std::move(settings);
    RefreshMonthMenu();
    update();
}

const FormatSettings& TdsCalendar::Settings() const {
    return settings_ ? *settings_ : CurrentFormatSettings();
}

CalendarLayout TdsCalendar::Layout() const {
    CalendarLayout layout;
    layout.cellWidth = CellWidth();
    layout.cellHeight = CellHeight();
    layout.title = showOptions_.testFlag(soTitle);
    layout.weekNumbers = showOptions_.testFlag(soWeekNumbers);
    layout.today = showOptions_.testFlag(soToday);
    return layout;
}

int TdsCalendar::FirstCellOffset() const { return kalendo::FirstCellOffset(year_, month_, firstDayNumber_); }

DateTime TdsCalendar::DateAtPoint(int x, int y) const {
    return kalendo::DateAtPoint(Layout(), year_, month_, firstDayNumber_, x, y);
}

PixelRect TdsCalendar::MonthNameArea() const {
    const QFontMetrics metrics(TitleFont());
    const int top = CellHeight() - metrics.height() / 2;
    const int nameWidth =
        metrics.horizontalAdvance(FromUtf8(Settings().longMonthNames[static_cast<std::size_t>(month_ - 1)]));
    return {5, top, 5 + nameWidth, top + CellHeight()};
}

PixelRect TdsCalendar::YearArea() const {
    const QFontMetrics metrics(TitleFont());
    const PixelRect name = MonthNameArea();
    const int left = (name.right - 5) + 6;
    return {left, name.top, left + metrics.horizontalAdvance(QString::number(year_)), name.bottom};
}

QString TdsCalendar::TodayText(DateTime date) const {
    return todayString_ + FromUtf8(DateToStr(date, Settings()));
}

PixelRect TdsCalendar::TodayArea() const {
    QFont font = TitleFont();
    font.setBold(true);
    const int height = CalendarHeight(Layout());
    const int textWidth = QFontMetrics(font).horizontalAdvance(TodayText(Date()));
    return {5, height - 3 - CellHeight(), 5 + CellWidth() + 10 + textWidth, height - 3};
}

int TdsCalendar::GridCellOfDate(DateTime date) const {
    const DateTime first = CellDate(year_, month_, firstDayNumber_, 0);
    const DateTime cell = DateOf(date) - first;
    return cell >= 0 && cell < kGridCells ? static_cast<int>(cell) : -1;
}

QRect TdsCalendar::CellQRect(int cell) const {
    return ToQRect(CellRect(cell / kGridColumns, cell % kGridColumns));
}

QRect TdsCalendar::GridBackgroundRect() const {
    const int left = showOptions_.testFlag(soWeekNumbers) ? CellWidth() : 0;
    const int top = (showOptions_.testFlag(soTitle) ? 3 : 1) * CellHeight();
    return {left, top, width() - left, kGridRows * CellHeight() + 2};
}

bool TdsCalendar::ChangeDate(DateTime date) {
    date = DateOf(date);
    if (!IsDateAllowed(date)) return false;
    const CivilDate civil = DecodeDate(date);
    if (!IsRepresentableYear(civil.year)) return false;

    const DateTime oldDate = Date();
    const bool sameMonth = civil.year == year_ && civil.month == month_;
    const int oldCell = GridCellOfDate(oldDate);
    StoreDate(civil.year, civil.month, civil.day);
    if (sameMonth) {
        QRegion changed(CellQRect(oldCell));
        changed += CellQRect(GridCellOfDate(date));
        const int todayCell = GridCellOfDate(Today());
        if (todayCell >= 0) changed += CellQRect(todayCell);
        repaint(changed);
    } else {
        repaint();
    }
    DoDateChange(oldDate, date);
    return true;
}

bool TdsCalendar::ChangeDateTo(int year, int month, int day) {
    const std::optional<DateTime> date = TryEncodeDate(year, month, day);
    return date && ChangeDate(*date);
}

bool TdsCalendar::StepMonths(int months) {
    const int monthIndex = year_ * 12 + (month_ - 1) + months;
    const int year = monthIndex / 12;
    const int month = monthIndex % 12 + 1;
    if (!IsRepresentableYear(year)) return false;
    return ChangeDateTo(year, month, std::min(day_, MonthDays(year, month)));
}

bool TdsCalendar::StepYears(int years) {
    const int year = year_ + years;
    if (!IsRepresentableYear(year)) return false;
    // 29 February lands on 28 February in a common year, as the month steps clamp.
    return ChangeDateTo(year, month_, std::min(day_, MonthDays(year, month_)));
}

void TdsCalendar::NextMonth() {
    HideYearSpinner();
    StepMonths(+1);
}

void TdsCalendar::PrevMonth() {
    HideYearSpinner();
    StepMonths(-1);
}

void TdsCalendar::GoToToday() { ChangeDate(Today()); }

void TdsCalendar::MonthMenuClick(int month) {
    if (month < 1 || month > 12) return;
    ChangeDateTo(year_, month, std::min(day_, MonthDays(year_, month)));
}

void TdsCalendar::YearSpinnerClick(int direction) { StepYears(direction > 0 ? 1 : -1); }

void TdsCalendar::DoDateChange(DateTime fromDate, DateTime toDate) {
    emit OnDateChange(this, fromDate, toDate);
}

void TdsCalendar::ApplyMarks(DateTime, QColor&, QColor&, QColor&) const {}

void TdsCalendar::RepaintGrid() { repaint(GridBackgroundRect()); }

void TdsCalendar::HideYearSpinner() { yearSpinner_->hide(); }

void TdsCalendar::ShowYearSpinner() {
    if (yearSpinner_->isVisible()) return;
    yearSpinner_->move(YearArea().right + 5, CellHeight() - 12);
    yearSpinner_->raise();
    yearSpinner_->show();
}

void TdsCalendar::RefreshMonthMenu() {
    const QList<QAction*> actions = monthMenu_->actions();
    for (qsizetype i = 0; i < actions.size() && i < 12; ++i) {
        actions[i]->setText(FromUtf8(Settings().longMonthNames[static_cast<std::size_t>(i)]));
    }
}

void TdsCalendar::UpdateLayout() {
    const CalendarLayout layout = Layout();
    setFixedSize(CalendarWidth(layout), CalendarHeight(layout));
    const int buttonTop = CellHeight() - kMonthButtonSize / 2;
    NextMonthButton()->move(width() - 25, buttonTop);
    PrevMonthButton()->move(width() - 50, buttonTop);
    NextMonthButton()->setVisible(layout.title);
    PrevMonthButton()->setVisible(layout.title);
    if (!layout.title) HideYearSpinner();
}

namespace {

bool IsCalendarKey(int key) {
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    default:
        return false;
    }
}

} // namespace

bool TdsCalendar::event(QEvent* event) {
    // Over a holiday of the shown month the tooltip names it; elsewhere it is the hint.
    if (event->type() == QEvent::ToolTip && showOptions_.testFlag(soHolidays)) {
        auto* help = static_cast<QHelpEvent*>(event);
        const DateTime date = DateAtPoint(help->pos().x(), help->pos().y());
        const CivilDate civil = DecodeDate(date);
        const QString name =
            date != 0 && civil.year == year_ && civil.month == month_ ? HolidayName(date) : QString();
        if (!name.isEmpty()) {
            QToolTip::showText(help->globalPos(), name, this, CellQRect(GridCellOfDate(date)));
            return true;
        }
    }
    // The calendar's keys move its date, so window shortcuts on them must not take them first.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers extra =
            key->modifiers() & ~(Qt::ControlModifier | Qt::ShiftModifier | Qt::KeypadModifier);
        if (IsCalendarKey(key->key()) && extra == Qt::NoModifier) {
            event->accept();
            return true;
        }
    }
    return TdsCustomCalendar::event(event);
}

void TdsCalendar::keyPressEvent(QKeyEvent* event) {
    HideYearSpinner();
    const QScopedValueRollback<bool> fromKeyboard(dateChangeFromKeyboard_, true);
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    switch (event->key()) {
    case Qt::Key_Left:
        ChangeDate(Date() - 1);
        break;
    case Qt::Key_Right:
        ChangeDate(Date() + 1);
        break;
    case Qt::Key_Up:
        ChangeDate(Date() - 7);
        break;
    case Qt::Key_Down:
        ChangeDate(Date() + 7);
        break;
    case Qt::Key_PageUp:
        control ? StepYears(+1) : StepMonths(+1);
        break;
    case Qt::Key_PageDown:
        control ? StepYears(-1) : StepMonths(-1);
        break;
    case Qt::Key_Space:
        GoToToday();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        break;
    default:
        TdsCustomCalendar::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TdsCalendar::mousePressEvent(QMouseEvent* event) {
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton) return;
    const QPoint pos = event->position().toPoint();
    const bool title = showOptions_.testFlag(soTitle);
    if (title && MonthNameArea().Contains(pos.x(), pos.y())) {
        HideYearSpinner();
        RefreshMonthMenu();
        monthMenu_->popup(mapToGlobal(pos));
        return;
    }
    if (title && showOptions_.testFlag(soYear) && YearArea().Contains(pos.x(), pos.y())) {
        ShowYearSpinner();
        return;
    }
    if (CellAtPoint(Layout(), pos.x(), pos.y()) >= 0) {
        HideYearSpinner();
        ChangeDate(DateAtPoint(pos.x(), pos.y()));
        return;
    }
    if (showOptions_.testFlag(soToday) && TodayArea().Contains(pos.x(), pos.y())) {
        HideYearSpinner();
        GoToToday();
    }
}

void TdsCalendar::focusOutEvent(QFocusEvent* event) {
    HideYearSpinner();
    TdsCustomCalendar::focusOutEvent(event);
}

void TdsCalendar::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRegion& region = event->region();
    const QRect bounds = region.boundingRect();
    const int cw = CellWidth();
    const int ch = CellHeight();
    const bool title = showOptions_.testFlag(soTitle);
    const QRect grid = GridBackgroundRect();

    if (title && bounds.intersects(QRect(0, 0, width(), 2 * ch))) PaintTitle(painter);
    if (bounds.intersects(QRect(0, title ? 2 * ch : 0, width(), ch))) PaintHeader(painter);
    if (bounds.intersects(grid)) {
        PaintGrid(painter, region);
        PaintTodayOutline(painter);
    }
    if (showOptions_.testFlag(soWeekNumbers) &&
        bounds.intersects(QRect(0, grid.top(), cw, kGridRows * ch + 6))) {
        PaintWeekNumbers(painter);
    }
    if (showOptions_.testFlag(soToday)) {
        const int top = (RowCount() - 1) * ch;
        if (bounds.intersects(QRect(0, top, width(), height() - top))) PaintTodayLine(painter);
    } else {
        // Nothing else covers the few pixels under the grid; an opaque control must.
        const QRect below(0, grid.bottom() + 1, width(), height() - grid.bottom() - 1);
        if (bounds.intersects(below)) painter.fillRect(below, colors_.Background());
    }
    if (BorderStyle() == bsSingle) PaintFrame(painter);
    if (hasFocus()) PaintFocusFrame(painter);
}

void TdsCalendar::PaintTitle(QPainter& painter) const {
    const int bandHeight = 2 * CellHeight();
    painter.fillRect(0, 0, width(), bandHeight, colors_.Title());
    QString text = FromUtf8(Settings().longMonthNames[static_cast<std::size_t>(month_ - 1)]);
    if (showOptions_.testFlag(soYear)) text += QLatin1Char(' ') + QString::number(year_);
    painter.setFont(TitleFont());
    painter.setPen(TitleFontColor());
    painter.drawText(QRect(5, 0, width() - 5, bandHeight),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
}

void TdsCalendar::PaintHeader(QPainter& painter) const {
    const int cw = CellWidth();
    const int ch = CellHeight();
    const int top = showOptions_.testFlag(soTitle) ? 2 * ch : 0;
    painter.fillRect(0, top, width(), ch, colors_.Background());
    painter.fillRect(5, top + ch - 1, width() - 10, 1, colors_.Title());
    painter.setFont(TextFont());
    painter.setPen(colors_.Title());
    const int firstColumn = ColCount() - 7;
    for (int i = 0; i < 7; ++i) {
        const int weekday = (firstDayNumber_ - 1 + i) % 7 + 1; // 1..7
        const QRect column((firstColumn + i) * cw + 5, top, cw, ch);
        DrawCentredText(painter, column,
                        FromUtf8(Settings().shortDayNames[static_cast<std::size_t>(weekday - 1)]));
    }
}

void TdsCalendar::PaintGrid(QPainter& painter, const QRegion& region) const {
    painter.fillRect(GridBackgroundRect(), colors_.Background());
    const int offset = FirstCellOffset();
    const int monthLength = MonthDays(year_, month_);
    const DateTime first = CellDate(year_, month_, firstDayNumber_, 0);
    painter.setFont(TextFont());
    for (int cell = 0; cell < kGridCells; ++cell) {
        const QRect rect = CellQRect(cell);
        if (!region.intersects(rect)) continue;
        const bool inMonth = cell >= offset && cell < offset + monthLength;
        PaintDayCell(painter, rect, first + cell, inMonth, false);
    }
    const int selectedCell = day_ + offset - 1;
    const QRect selected = CellQRect(selectedCell);
    if (region.intersects(selected)) PaintDayCell(painter, selected, first + selectedCell, true, true);
}

void TdsCalendar::PaintDayCell(QPainter& painter, const QRect& rect, DateTime date, bool inShownMonth,
                               bool selected) const {
    QColor fill = colors_.Background();
    QColor pen = colors_.Title();
    QColor number = TextFontColor();
    if (!inShownMonth) {
        number = colors_.TrailingDays();
    } else {
        const int weekday = DayOfWeek(date);
        if (showOptions_.testFlag(soSundays) && weekday == 1) number = colors_.Sundays();
        if (showOptions_.testFlag(soSaturdays) && weekday == 7) number = colors_.Sundays();
        const bool holiday = FindHoliday(date) != nullptr || !HolidayName(date).isEmpty();
        if (showOptions_.testFlag(soHolidays) && holiday) number = colors_.Holidays();
    }
    ApplyMarks(date, fill, pen, number);
    painter.fillRect(rect, fill);
    if (selected) {
        const QRect box = rect.adjusted(2, 2, -2, -2);
        if (TransparentCursor()) {
            PaintShape(painter, box, 1, colors_.Title(), std::nullopt);
            number = Qt::black;
        } else {
            PaintShape(painter, box, 1, colors_.Title(), colors_.Title());
            number = Qt::white;
        }
    }
    painter.setPen(number);
    DrawCentredText(painter, rect, QString::number(DecodeDate(date).day));
}

void TdsCalendar::PaintShape(QPainter& painter, const QRect& box, int penWidth, const QColor& pen,
                             const std::optional<QColor>& fill) const {
    if (SelectedShape() == ssRectangle) {
        if (fill) painter.fillRect(box.adjusted(penWidth, penWidth, -penWidth, -penWidth), *fill);
        painter.fillRect(box.left(), box.top(), box.width(), penWidth, pen);
        painter.fillRect(box.left(), box.bottom() - penWidth + 1, box.width(), penWidth, pen);
        painter.fillRect(box.left(), box.top(), penWidth, box.height(), pen);
        painter.fillRect(box.right() - penWidth + 1, box.top(), penWidth, box.height(), pen);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(pen, penWidth));
    painter.setBrush(fill ? QBrush(*fill) : QBrush(Qt::NoBrush));
    const double inset = penWidth / 2.0;
    painter.drawEllipse(QRectF(box).adjusted(inset, inset, -inset, -inset));
    painter.restore();
}

void TdsCalendar::PaintTodayOutline(QPainter& painter) const {
    if (!showOptions_.testFlag(soTodayCircle)) return;
    const DateTime today = Today();
    const CivilDate civil = DecodeDate(today);
    if (civil.year != year_ || civil.month != month_) return;
    PaintShape(painter, CellQRect(GridCellOfDate(today)), 3, colors_.Circle(), std::nullopt);
}

void TdsCalendar::PaintWeekNumbers(QPainter& painter) const {
    const int cw = CellWidth();
    const int ch = CellHeight();
    const int top = (showOptions_.testFlag(soTitle) ? 3 : 1) * ch;
    const int stripHeight = kGridRows * ch + 6;
    painter.fillRect(0, top, cw, stripHeight, colors_.Background());
    painter.fillRect(cw - 1, top + 2, 1, stripHeight - 1, colors_.Title());
    QFont font = TextFont();
    font.setBold(false);
    painter.setFont(font);
    painter.setPen(colors_.Title());
    const DateTime first = CellDate(year_, month_, firstDayNumber_, 0);
    for (int row = 0; row < kGridRows; ++row) {
        const int week = CalendarWeekNumber(first + 7 * row);
        DrawCentredText(painter, QRect(0, top + row * ch, cw, ch), QString::number(week));
    }
}

void TdsCalendar::PaintTodayLine(QPainter& painter) const {
    const int cw = CellWidth();
    const int ch = CellHeight();
    const int bandTop = (RowCount() - 1) * ch;
    painter.fillRect(0, bandTop, width(), RowCount() * ch + 6 - bandTop, colors_.Background());
    const PixelRect area = TodayArea();
    painter.fillRect(5, area.top - 1, ColCount() * cw, 1, colors_.Title());
    const QRect box(area.left + 1, area.top + 3, cw - 2, area.bottom - 1 - (area.top + 3));
    PaintShape(painter, box, 3, colors_.Circle(), colors_.Background());
    QFont font = TitleFont();
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int textTop = area.top + (area.bottom - area.top) / 2 - metrics.height() / 2 + 1;
    painter.setFont(font);
    painter.setPen(TextFontColor());
    painter.drawText(QPoint(area.left + cw + 5, textTop + metrics.ascent()), TodayText(Today()));
}

void TdsCalendar::PaintFrame(QPainter& painter) const {
    const int w = width();
    const int h = height();
    painter.fillRect(0, 0, w, 1, Qt::black);
    painter.fillRect(0, h - 1, w, 1, Qt::black);
    painter.fillRect(0, 0, 1, h, Qt::black);
    painter.fillRect(w - 1, 0, 1, h, Qt::black);
}

// The system's focus colour inside the edge (and inside the single border), in the margin the
// title band, the grid and the today line leave free: three pixels, two under the today mark.
void TdsCalendar::PaintFocusFrame(QPainter& painter) const {
    const QColor colour = palette().color(QPalette::Active, QPalette::Highlight);
    const int w = width();
    const int h = height();
    constexpr int kThickness = 3;
    painter.fillRect(1, 1, w - 2, kThickness, colour);
    painter.fillRect(1, h - 3, w - 2, 2, colour);
    painter.fillRect(1, 1, kThickness, h - 2, colour);
    painter.fillRect(w - 1 - kThickness, 1, kThickness, h - 2, colour);
}

TdsPlanner::TdsPlanner(QWidget* parent) : TdsCalendar(parent), categories_(this) {}

TdsPlanner::~TdsPlanner() = default;

QString TdsPlanner::DateText(DateTime date) const { return FromUtf8(DateToStr(date, Settings())); }

const TdsPlanerCategorie* TdsPlanner::FindMarkCategory(DateTime date) const {
    if (!categories_.HasDates()) return nullptr;
    const QString text = DateText(date);
    for (int i = 0; i < categories_.Count(); ++i) {
        const TdsPlanerCategorie& category = categories_.Items(i);
        if (category.Visible() && category.IndexOfDate(text) >= 0) return &category;
    }
    return nullptr;
}

void TdsPlanner::ToggleMark(DateTime date) {
    if (activeCategorie_ < 0 || activeCategorie_ >= categories_.Count()) return;
    const QString text = DateText(date);
    TdsPlanerCategorie& active = categories_.Items(activeCategorie_);
    categories_.BeginUpdate();
    const int index = active.IndexOfDate(text);
    if (index >= 0) {
        active.DeleteDate(index);
    } else {
        if (!overlapDates_) UnmarkEverywhere(date);
        active.AppendDate(text);
    }
    categories_.EndUpdate();
}

void TdsPlanner::UnmarkEverywhere(DateTime date) {
    const QString text = DateText(date);
    categories_.BeginUpdate();
    for (int i = 0; i < categories_.Count(); ++i) {
        TdsPlanerCategorie& category = categories_.Items(i);
        for (int index = category.IndexOfDate(text); index >= 0; index = category.IndexOfDate(text)) {
            category.DeleteDate(index);
        }
    }
    categories_.EndUpdate();
}

void TdsPlanner::ApplyMarks(DateTime date, QColor& fill, QColor& pen, QColor& number) const {
    if (const TdsPlanerCategorie* category = FindMarkCategory(date)) {
        fill = category->Color();
        pen = category->Color();
        number = Qt::white;
    }
}

void TdsPlanner::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) ToggleMark(Date());
    TdsCalendar::keyPressEvent(event);
}

void TdsPlanner::mouseReleaseEvent(QMouseEvent* event) {
    TdsCalendar::mouseReleaseEvent(event);
    if (event->modifiers().testFlag(Qt::ShiftModifier) && rect().contains(event->position().toPoint())) {
        ToggleMark(Date());
        event->accept();
    }
}

} // namespace kalendo
