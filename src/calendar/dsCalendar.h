#pragma once

#include "calendar/dsDateUtils.h"
#include "dates/Clock.h"
#include "dates/DateTime.h"
#include "dates/FormatSettings.h"

#include <QColor>
#include <QFlags>
#include <QFont>
#include <QHash>
#include <QPushButton>
#include <QStaticText>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QMenu;

namespace kalendo {

enum TSelectedShape : int { ssEllipse = 0, ssRectangle = 1 };

enum TBorderStyle : int { bsNone = 0, bsSingle = 1 };

// What a calendar shows; the bit order is the stored order.
enum TShowOption : unsigned {
    soHolidays = 1u << 0,
    soSundays = 1u << 1,
    soSaturdays = 1u << 2, // Saturdays take the Sundays colour
    soTitle = 1u << 3,     // title band, month buttons, month menu and year spinner
    soYear = 1u << 4,
    soWeekNumbers = 1u << 5,
    soToday = 1u << 6,
    soTodayCircle = 1u << 7,
};
Q_DECLARE_FLAGS(TShowOptions, TShowOption)

inline constexpr TShowOptions kDefaultShowOptions = {soHolidays, soSundays, soTitle,
                                                     soYear,     soToday,   soTodayCircle};

// The three colours every month view has. Changing one to a different value tells the owner,
// which repaints at once.
class TdsMonthsColors {
public:
    TdsMonthsColors();
    virtual ~TdsMonthsColors() = default;
    TdsMonthsColors(const TdsMonthsColors&) = delete;
    TdsMonthsColors& operator=(const TdsMonthsColors&) = delete;

    QColor Background() const { return background_; }
    QColor Title() const { return title_; }
    QColor Circle() const { return circle_; }
    void SetBackground(const QColor& value) { Store(background_, value); }
    void SetTitle(const QColor& value) { Store(title_, value); }
    void SetCircle(const QColor& value) { Store(circle_, value); }

    void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

protected:
    void Store(QColor& slot, const QColor& value);
    void Changed() const;

    QColor background_;
    QColor title_;
    QColor circle_;

private:
    std::function<void()> onChange_;
};

// The calendar's full colour record.
class TdsCalendarColors final : public TdsMonthsColors {
public:
    TdsCalendarColors();

    QColor Holidays() const { return holidays_; }
    QColor Sundays() const { return sundays_; }
    // Stored for completeness; the selected day is drawn in the Title colour.
    QColor Selected() const { return selected_; }
    QColor TrailingDays() const { return trailingDays_; }
    void SetHolidays(const QColor& value) { Store(holidays_, value); }
    void SetSundays(const QColor& value) { Store(sundays_, value); }
    void SetSelected(const QColor& value) { Store(selected_, value); }
    void SetTrailingDays(const QColor& value) { Store(trailingDays_, value); }

    // Copies every colour; the owner hears of it once.
    void Assign(const TdsCalendarColors& source);

private:
    QColor holidays_;
    QColor sundays_;
    QColor selected_;
    QColor trailingDays_;
};

// A holiday on a day of a month: it repeats every year. Holidays that move from year to year come
// from the owner's look-up (SetHolidayLookup).
struct THoliday {
    TDay Day = 1;
    TMonth Month = 1;
    QString Name;
};

class THolidays {
public:
    void Add(TDay day, TMonth month, const QString& name);
    int Count() const { return static_cast<int>(items_.size()); }
    const THoliday& Items(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    void Delete(int index);
    void Clear();
    // The first holiday on this day of this month, or null.
    const THoliday* Find(int month, int day) const;

    void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

private:
    std::vector<THoliday> items_;
    std::function<void()> onChange_;
};

class TdsPlanner;
class TdsPlanerCategories;

// A named, coloured category of marked dates; each date is kept as its short-date text.
class TdsPlanerCategorie {
public:
    explicit TdsPlanerCategorie(TdsPlanerCategories* collection);
    TdsPlanerCategorie(const TdsPlanerCategorie&) = delete;
    TdsPlanerCategorie& operator=(const TdsPlanerCategorie&) = delete;

    const QString& Name() const { return name_; }
    void SetName(const QString& name) { name_ = name; }
    const QStringList& Dates() const { return dates_; }
    void SetDates(const QStringList& dates);
    void AppendDate(const QString& text);
    // Index of the text in Dates compared without regard to case, or -1.
    int IndexOfDate(const QString& text) const;
    void DeleteDate(int index);
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    void Assign(const TdsPlanerCategorie& source);

private:
    void Changed();

    TdsPlanerCategories* collection_;
    QString name_;
    QStringList dates_;
    QColor color_{0, 128, 0};
    bool visible_ = true;
};

// The planner's categories in order. Changes redraw the planner's day grid at once, or once
// when the outermost BeginUpdate/EndUpdate bracket closes.
class TdsPlanerCategories {
public:
    explicit TdsPlanerCategories(TdsPlanner* planner);
    TdsPlanerCategories(const TdsPlanerCategories&) = delete;
    TdsPlanerCategories& operator=(const TdsPlanerCategories&) = delete;

    TdsPlanner* Planner() const { return planner_; }
    TdsPlanerCategorie& Add();
    TdsPlanerCategorie& Add(const QString& name, const QColor& color);
    int Count() const { return static_cast<int>(items_.size()); }
    TdsPlanerCategorie& Items(int index) { return *items_.at(static_cast<std::size_t>(index)); }
    const TdsPlanerCategorie& Items(int index) const { return *items_.at(static_cast<std::size_t>(index)); }
    void Delete(int index);
    void Clear();
    bool HasDates() const;

    void BeginUpdate();
    void EndUpdate();

private:
    friend class TdsPlanerCategorie;
    void Changed();

    TdsPlanner* planner_;
    std::vector<std::unique_ptr<TdsPlanerCategorie>> items_;
    int updateDepth_ = 0;
    bool changedInUpdate_ = false;
};

// A month button of the title band: never takes the focus, shows a black triangle (up for the
// next month, down for the previous one).
class TdsMonthButton final : public QPushButton {
    Q_OBJECT
public:
    TdsMonthButton(bool next, QWidget* parent);
    bool IsNext() const { return next_; }

signals:
    // The left button went down or up on the button, wherever the pointer is in between
    // (pressed() and released() also fire when the pointer leaves and re-enters).
    void MouseDown();
    void MouseUp();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool next_;
};

// The small up/down control that steps the year; only the direction of a click matters.
class TdsYearSpinner final : public QWidget {
    Q_OBJECT
public:
    explicit TdsYearSpinner(QWidget* parent);

signals:
    void Step(int direction); // +1 up, -1 down

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

// Custom-drawn, focusable base of the month calendar: cell sizes, fonts, the selection shape,
// the date bounds, the border and the two month buttons with their repeat timer.
class TdsCustomCalendar : public QWidget {
    Q_OBJECT
public:
    explicit TdsCustomCalendar(QWidget* parent = nullptr);
    ~TdsCustomCalendar() override;

    int CellWidth() const { return cellWidth_; }
    void SetCellWidth(int width);
    int CellHeight() const { return cellHeight_; }
    void SetCellHeight(int height);

    // Day numbers, weekday names and week numbers; its colour is the today text's colour.
    const QFont& TextFont() const { return textFont_; }
    void SetTextFont(const QFont& font);
    QColor TextFontColor() const { return textFontColor_; }
    void SetTextFontColor(const QColor& color);
    // Month title and the today text's face and size.
    const QFont& TitleFont() const { return titleFont_; }
    void SetTitleFont(const QFont& font);
    QColor TitleFontColor() const { return titleFontColor_; }
    void SetTitleFontColor(const QColor& color);

    TSelectedShape SelectedShape() const { return selectedShape_; }
    void SetSelectedShape(TSelectedShape shape);
    bool TransparentCursor() const { return transparentCursor_; }
    void SetTransparentCursor(bool transparent);

    // Earliest and latest date a user action may select; 0 means no bound.
    DateTime MinDate() const { return minDate_; }
    void SetMinDate(DateTime date) { minDate_ = DateOf(date); }
    DateTime MaxDate() const { return maxDate_; }
    void SetMaxDate(DateTime date) { maxDate_ = DateOf(date); }
    bool IsDateAllowed(DateTime x) const;

    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);

    TdsMonthButton* NextMonthButton() const { return nextMonthButton_; }
    TdsMonthButton* PrevMonthButton() const { return prevMonthButton_; }
    QTimer& RepeatTimer() { return repeatTimer_; }
    // One tick of the month buttons' repeat timer: a step while the pointer is on the held button.
    void RepeatTimerTick();

    virtual void NextMonth() = 0;
    virtual void PrevMonth() = 0;

protected:
    // Re-applies the size rule and places the child controls.
    virtual void UpdateLayout() = 0;
    // Draws a line of text centred in a rectangle. In TextFont, the laid-out text is kept for
    // the next paint: day numbers and weekday names are drawn on every paint.
    void DrawCentredText(QPainter& painter, const QRect& rect, const QString& text) const;

private:
    void MonthButtonPressed(TdsMonthButton* button);
    void MonthButtonReleased();
    void MonthButtonClicked(TdsMonthButton* button);

    int cellWidth_ = 28;
    int cellHeight_ = 22;
    QFont textFont_;
    QColor textFontColor_;
    QFont titleFont_;
    QColor titleFontColor_{Qt::white};
    TSelectedShape selectedShape_ = ssEllipse;
    bool transparentCursor_ = false;
    DateTime minDate_ = 0;
    DateTime maxDate_ = 0;
    TBorderStyle borderStyle_ = bsNone;
    TdsMonthButton* nextMonthButton_;
    TdsMonthButton* prevMonthButton_;
    QTimer repeatTimer_;
    TdsMonthButton* heldButton_ = nullptr;
    mutable QHash<QString, QStaticText> textCache_;
};

// The month calendar: one selected date, display options, colours, week numbers, the today
// line, keyboard and mouse, the month menu and the year spinner.
class TdsCalendar : public TdsCustomCalendar {
    Q_OBJECT
public:
    explicit TdsCalendar(QWidget* parent = nullptr);
    ~TdsCalendar() override;

    // The selected date as a whole-day serial.
    DateTime Date() const;
    // From code: no bounds check, no OnDateChange. Serials outside years 1..9999 are ignored.
    void SetDate(DateTime date);
    int Year() const { return year_; }
    int Month() const { return month_; }
    int Day() const { return day_; }
    // From code, keeping month and day; 29 February in a common year becomes 28 February.
    void SetYear(int year);

    TShowOptions ShowOptions() const { return showOptions_; }
    void SetShowOptions(TShowOptions options);
    void AddShowOption(TShowOption option) { SetShowOptions(showOptions_ | option); }
    void RemoveShowOption(TShowOption option) { SetShowOptions(showOptions_ & ~TShowOptions(option)); }

    TDayOfWeek FirstDayOfWeek() const { return firstDayOfWeek_; }
    void SetFirstDayOfWeek(TDayOfWeek day);
    int FirstDayNumber() const { return firstDayNumber_; }

    const QString& TodayString() const { return todayString_; }
    void SetTodayString(const QString& text);

    TdsCalendarColors& Colors() { return colors_; }
    const TdsCalendarColors& Colors() const { return colors_; }
    THolidays& Holidays() { return holidays_; }
    const THolidays& Holidays() const { return holidays_; }
    const THoliday* FindHoliday(DateTime date) const;
    // Where the calendar asks for a day's holiday when it paints and for its tooltips: a name,
    // empty for none. The owner repaints (update()) when what it answers changes.
    void SetHolidayLookup(std::function<QString(DateTime)> lookup);
    // The day's holiday from the look-up, else from Holidays(); empty when there is none.
    QString HolidayName(DateTime date) const;

    // Where "today" comes from; null means the program's current clock.
    void SetClock(std::shared_ptr<const Clock> clock);
    DateTime Today() const;
    // Locale names and the short date format; nullopt means the program's current settings.
    void SetFormatSettings(std::optional<FormatSettings> settings);
    const FormatSettings& Settings() const;

    CalendarLayout Layout() const;
    int ColCount() const { return kalendo::ColCount(Layout()); }
    int RowCount() const { return kalendo::RowCount(Layout()); }
    int FirstCellOffset() const;
    PixelRect CellRect(int row, int column) const { return kalendo::CellRect(Layout(), row, column); }
    // The date of the grid cell under a point, 0 outside the grid.
    DateTime DateAtPoint(int x, int y) const;
    int CalendarWeekNumber(DateTime x) const { return kalendo::CalendarWeekNumber(firstDayNumber_, x); }

    // Click targets of the title band and the today line.
    PixelRect MonthNameArea() const;
    PixelRect YearArea() const;
    PixelRect TodayArea() const;

    // The only way user actions change the date: refused (false) outside the bounds, else the
    // date moves, the changed cells (or the whole calendar) are drawn at once and OnDateChange
    // fires, also when the date stays the same.
    bool ChangeDate(DateTime date);
    void NextMonth() override;
    void PrevMonth() override;
    void GoToToday();
    // Choosing month 1..12 in the month menu.
    void MonthMenuClick(int month);
    // A click on the year spinner's arrows: +1 or -1 years.
    void YearSpinnerClick(int direction);

    QMenu* MonthMenu() const { return monthMenu_; }
    TdsYearSpinner* YearSpinner() const { return yearSpinner_; }

    // True while OnDateChange reports a change made with the calendar's own keys, so the owner
    // can leave the focus where the user is typing; false for the mouse, the month buttons and
    // menu, the year spinner and code.
    bool DateChangeFromKeyboard() const { return dateChangeFromKeyboard_; }

signals:
    void OnDateChange(QObject* Sender, double FromDate, double ToDate);
    // The grid shows another month, whether a user action or code moved the date.
    void OnShownMonthChange(QObject* Sender, int Year, int Month);

protected:
    virtual void DoDateChange(DateTime fromDate, DateTime toDate);
    // The planner's hook into a plain day cell's colours (fill, pen, number).
    virtual void ApplyMarks(DateTime date, QColor& fill, QColor& pen, QColor& number) const;
    // Redraws the day grid and today's outline at once.
    void RepaintGrid();

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void UpdateLayout() override;

private:
    void StoreDate(int year, int month, int day);
    bool ChangeDateTo(int year, int month, int day);
    bool StepMonths(int months);
    bool StepYears(int years);
    void HideYearSpinner();
    void ShowYearSpinner();
    int GridCellOfDate(DateTime date) const; // -1 when not in the grid
    QRect CellQRect(int cell) const;
    QRect GridBackgroundRect() const;
    QString TodayText(DateTime date) const;

    void PaintTitle(QPainter& painter) const;
    void PaintHeader(QPainter& painter) const;
    void PaintGrid(QPainter& painter, const QRegion& region) const;
    void PaintDayCell(QPainter& painter, const QRect& rect, DateTime date, bool inShownMonth,
                      bool selected) const;
    void PaintTodayOutline(QPainter& painter) const;
    void PaintWeekNumbers(QPainter& painter) const;
    void PaintTodayLine(QPainter& painter) const;
    void PaintFrame(QPainter& painter) const;
    void PaintFocusFrame(QPainter& painter) const;
    // The selected shape in a box (right and bottom exclusive), stroked inside the box.
    void PaintShape(QPainter& painter, const QRect& box, int penWidth, const QColor& pen,
                    const std::optional<QColor>& fill) const;
    void RefreshMonthMenu();

    int year_ = 1899;
    int month_ = 12;
    int day_ = 30;
    TShowOptions showOptions_ = kDefaultShowOptions;
    TDayOfWeek firstDayOfWeek_ = dwMonday;
    int firstDayNumber_ = 2;
    QString todayString_ = QStringLiteral("Today: ");
    TdsCalendarColors colors_;
    THolidays holidays_;
    std::function<QString(DateTime)> holidayLookup_;
    std::shared_ptr<const Clock> clock_;
    std::optional<FormatSettings> settings_;
    QMenu* monthMenu_;
    TdsYearSpinner* yearSpinner_;
    bool dateChangeFromKeyboard_ = false;
};

// The calendar with categories of marked dates: Enter, or a mouse release with Shift held,
// marks or unmarks the selected date in the active category.
class TdsPlanner : public TdsCalendar {
    Q_OBJECT
public:
    explicit TdsPlanner(QWidget* parent = nullptr);
    ~TdsPlanner() override;

    TdsPlanerCategories& Categories() { return categories_; }
    const TdsPlanerCategories& Categories() const { return categories_; }
    // Index of the category new marks go to.
    int ActiveCategorie() const { return activeCategorie_; }
    void SetActiveCategorie(int index) { activeCategorie_ = index; }
    // Whether one date may sit in several categories.
    bool OverlapDates() const { return overlapDates_; }
    void SetOverlapDates(bool overlap) { overlapDates_ = overlap; }

    // The first visible category holding the date, or null.
    const TdsPlanerCategorie* FindMarkCategory(DateTime date) const;
    // Marks the date in the active category, or unmarks it there when it is already marked.
    // Does nothing when the active index names no category.
    void ToggleMark(DateTime date);
    void UnmarkEverywhere(DateTime date);

protected:
    void ApplyMarks(DateTime date, QColor& fill, QColor& pen, QColor& number) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class TdsPlanerCategories;
    QString DateText(DateTime date) const;

    TdsPlanerCategories categories_;
    int activeCategorie_ = 0;
    bool overlapDates_ = false;
};

} // namespace kalendo

Q_DECLARE_OPERATORS_FOR_FLAGS(kalendo::TShowOptions)
