#pragma once

#include "app/TickBox.h"
#include "calendar/dsCalendar.h"
#include "dates/DateTime.h"
#include "platform/SettingsStore.h"

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QMenu;
class QMenuBar;
class QPrinter;

namespace kalendo {

class HolidayTable;
class TTextFader;
class TCoolTrayIcon;

namespace update {
class TmxWebUpdate;
class TUpdateFlow;
class Tform_Message;
} // namespace update

namespace app {

class TActivation;
class TCountryHolidays;
class TDateTextEntry;
class TGotoDateRow;
class TSecondaryWindows;
class TSpanPanels;

// The main window: two month calendars with the span between them in four panels, the
// add/subtract panel, date entry, year buttons, the Defaults menu, saving dates and printing.
// Creating it runs the start-up sequence against the given settings store.
//
// Where things are: the controls, the menu and every event's handler in Unit2Layout.cpp; the
// stored options in StoredOptions.cpp; the parts the handlers call in files of their own
// (ResultDate, SpanPanels, GotoDateRow, CountryHolidays, SecondaryWindows, Activation,
// TrayIconMenu). The handlers here stay short callers.
class TForm1 final : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(std::shared_ptr<platform::SettingsStore> store, QWidget* parent = nullptr);
    ~TForm1() override;

    // The secondary windows, created by the program after this one; each is placed relative
    // to this window and shown modally by its menu command.
    void SetAboutBox(QWidget* window);
    void SetHelpFact(QWidget* window);
    void SetEasterForm(QWidget* window);
    // The update progress window, shown by the Check for Updates flow.
    void SetFormMessage(update::Tform_Message* window);

    // Seams: how a secondary window is shown modally, how the print dialog is asked, and what
    // ends the program. Tests replace them; by default they are the real thing.
    void SetModalRunner(std::function<void(QWidget&)> runner);
    void SetPrintDialog(std::function<bool(QPrinter&)> dialog) { printDialog_ = std::move(dialog); }
    void SetTerminator(std::function<void()> terminator) { terminator_ = std::move(terminator); }

    // The option fields, named after their stored values (see StoredOptions.cpp).
    std::int32_t WN = 0;          // week numbers shown (1) or not (0); other values change nothing
    std::int32_t WF = 0;          // 1 shows the week items of Defaults, 2 hides them, others leave them
    std::int32_t WE = 0;          // 1 counts week-ends in add/subtract, 0 business days; follows WEcheck
    std::int32_t SE = 0;          // 1 counts both dates in the span; any stored value but 0 reads as 1
    std::int32_t WC = 0;          // 1 rolls a calendar on today over at midnight; only the store sets it
    std::int32_t ST = 0;          // today line shown (1) or not (0, which also lowers the Goto Date row)
    std::int32_t FI = 0;          // kept and written back for older versions; nothing reads it
    std::int32_t AUP = 0;         // kept and written back for older versions; nothing reads it
    std::int32_t MUP = 0;         // kept and written back for older versions; nothing reads it
    std::int32_t AlwaysOnTop = 0; // inverted: 0 stays on top (the default), 1 is an ordinary window
    std::int32_t PH = 1;          // public holidays marked (1, the default); any value but 0 reads as 1
    std::int32_t PB = 0;          // holidays skipped in business days only when 1; by default Mon-Fri
    // The public holidays' place ("GB-ENG"; "" = the locale's country) and the user's changes to its
    // list, as HolidayChoice.h writes them.
    QString HolidayPlace;
    QString OwnDaysOff;
    QString WorkedDays;

    // Controls, by their design names.
    QWidget* ClientArea = nullptr;
    QFrame* Panel2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* NoDays = nullptr;
    TTickBox* AddCheck = nullptr;
    TTickBox* SubtractCheck = nullptr;
    TTickBox* WEcheck = nullptr;
    QPushButton* SB1 = nullptr;
    TTickBox* SECheck = nullptr;
    QLabel* DayPanel = nullptr;
    QLabel* WeekPanel = nullptr;
    QLabel* MonthPanel = nullptr;
    QLabel* YearPanel = nullptr;
    QLabel* Panel1 = nullptr;
    TTextFader* TextFader1 = nullptr;
    QPushButton* GotoDateLeft = nullptr;
    QPushButton* GotoDateRight = nullptr;
    QLineEdit* DateInputLeft = nullptr;
    QLineEdit* DateInputRight = nullptr;
    TdsPlanner* Planner1 = nullptr;
    TdsPlanner* Planner2 = nullptr;
    QPushButton* Back1Cal1 = nullptr;
    QPushButton* Forward1Cal1 = nullptr;
    QPushButton* Back10Cal1 = nullptr;
    QPushButton* Forward10Cal1 = nullptr;
    QPushButton* Back1Cal2 = nullptr;
    QPushButton* Forward1Cal2 = nullptr;
    QPushButton* Back10Cal2 = nullptr;
    QPushButton* Forward10Cal2 = nullptr;
    QTimer Timer1;
    // The free-text entry for either calendar, laid over the Goto Date row while it is open.
    TDateTextEntry* DateTextEntry1 = nullptr;

    // The main menu. The File > Exit item carries the name of its handler with "Item" added.
    QMenuBar* MainMenu1 = nullptr;
    QMenu* File1 = nullptr;
    QAction* TypeDateLeft1 = nullptr;
    QAction* TypeDateRight1 = nullptr;
    QAction* CopyResults1 = nullptr;
    QAction* ExitClickItem = nullptr;
    QAction* Minimize1 = nullptr;
    QMenu* Setup1 = nullptr;
    QAction* SundayWeek = nullptr;
    QAction* MondayWeek = nullptr;
    QAction* WeekNumbers = nullptr;
    QAction* Alwaysontop1 = nullptr;
    QAction* TodaysDate = nullptr;
    QAction* ShowHolidays1 = nullptr;
    QAction* SkipHolidays1 = nullptr;
    QAction* PublicHolidays1 = nullptr;
    QAction* SaveDates2 = nullptr;
    QAction* PrintResults1 = nullptr;
    QAction* EasterCalculations1 = nullptr;
    QAction* Updates1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* About2 = nullptr;
    QAction* About1 = nullptr;

    // The update checker, configured for the product's update page.
    update::TmxWebUpdate* mxWebUpdate1 = nullptr;

    // The notification-area icon and its menu, made the first time the window is minimised.
    TCoolTrayIcon* TrayIcon1 = nullptr;
    QMenu* PopupMenu1 = nullptr;

    // Handlers. Each is what the event of its name does; tests call them directly too.
    void FormCreate();
    void FormShow();
    void ExitClick();
    void Timer1Timer();

    void RecalcSpan();
    void Planner1DateC(QObject* Sender, double FromDate, double ToDate);
    void SEcheckClick();
    void WEcheckMouseUp();

    void GotoDateLeft1Click();
    void GotoDateRightClick();
    // key is the typed character; only a carriage return is acted on. Returns whether the key
    // was consumed.
    bool DateInputLeftKeyPress(QChar key);
    bool DateInputRightKeyPress(QChar key);
    void DateInputLeftExit();
    void DateInputRightExit();
    void Back1Cal1Click();
    void Forward1Cal1Click();
    void Back10Cal1Click();
    void Forward10Cal1Click();
    void Back1Cal2Click();
    void Forward1Cal2Click();
    void Back10Cal2Click();
    void Forward10Cal2Click();

    // Whether the typed character may reach NoDays.
    static bool NoDaysKeyPress(QChar key);
    void AddCheckClick();
    void SubtractCheckClick();
    void WEcheckClick();
    void AddCheckMouseUp();
    void SubtractCheckMouseUp();
    // Puts the date the button shows into the right calendar.
    void SB1Click();
    // unit "D" counts calendar days, "B" business days; countText is NoDays' text, "-" in
    // front to subtract.
    void ShowResultDate(const QString& unit, const QString& countText);

    void SundayWeekClick();
    void MondayWeekClick();
    void Setup1Click();
    void WeekNumbersClick();
    void Alwaysontop1Click();
    void TodaysDateClick();
    void Minimize1Click();
    void TrayIcon1Click();
    void Restore1Click();
    void About1Click();
    void About2Click();
    void EasterCalculations1Click();
    void Updates1Click();

    void ShowHolidays1Click();
    void SkipHolidays1Click();
    void PublicHolidays1Click();
    void TypeDateLeft1Click();
    void TypeDateRight1Click();
    // Copies the four span texts (only the error line when the dates are in the wrong order) and
    // the result line, one per line, as plain text.
    void CopyResults1Click();
    QString ResultsText() const;

    void SaveDatesNow1Click();
    void PrintResults1Click();
    // Draws the client area at its physical size at the top-left of one page.
    void PrintClientArea(QPrinter& printer);

    // The one way code sets a calendar's date: the span panels follow it, as they follow a date
    // the user picks (a date set from code raises no OnDateChange).
    void MoveCalendarTo(TdsPlanner& calendar, DateTime date);

    // The mask of the date inputs for the current locale, in Qt's mask letters, and where the
    // four-digit year sits in the masked text (0-based).
    static QString DateInputMask();
    static int DateInputYearPosition();

protected:
    void showEvent(QShowEvent* event) override;
    // Closing the window (its title bar, Alt+F4) leaves the program the way File > Exit does.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Unit2Layout.cpp: the controls, the menu, and every event with the handler it runs.
    void BuildControls();
    void BuildAddSubtractPanel();
    void BuildSpanPanels();
    void BuildCalendars();
    void BuildMenu();
    void ConfigurePlanner(TdsPlanner& planner, const QString& hint);
    void ConnectHandlers();
    void EnsureTrayIcon();

    // The options applied to the window.
    void ApplyStayOnTop(bool onTop);
    void SetWeekendHighlight(bool highlighted);
    void SetFirstDayOfWeek(TDayOfWeek day);
    void SetWeekNumbersShown(bool shown);
    void SetTodayLineShown(bool shown);
    void ApplyHolidayOptions();
    // Opens Defaults > Public Holidays; its OK applies the choice (and, with thenSkip, turns on
    // the skipping of holidays in business days).
    void ChoosePublicHolidays(bool thenSkip);
    // After a change of the holidays or their options: the menu, calendars, span and result line.
    void HolidaysChanged();
    // The holidays business days skip, or null.
    const HolidayTable* SkippedHolidays() const;

    void MoveYears(TdsPlanner& planner, int years);
    QString CountText(bool subtract) const;
    // Places the window's outer edge (frame included), as the stored left and top mean it.
    void MoveOuterTo(QPoint topLeft);
    // Where the window opens for a stored outer position: there when the top of the window can
    // be reached on the screens, else the design's place.
    QPoint OpeningPlace(QPoint stored) const;
    // Puts the keyboard focus into NoDays with its text selected.
    void FocusNoDays();
    void OpenDateTextEntry(TdsPlanner& planner, const QString& prompt);
    void RestoreFromTray();

    std::shared_ptr<platform::SettingsStore> store_;
    std::unique_ptr<TCountryHolidays> holidays_;
    std::unique_ptr<TSpanPanels> span_;
    std::unique_ptr<TGotoDateRow> gotoLeft_;
    std::unique_ptr<TGotoDateRow> gotoRight_;
    TSecondaryWindows* secondary_ = nullptr;
    TActivation* activation_ = nullptr;
    QPointer<TdsPlanner> typedDateTarget_;
    // The date SB1's caption names, set with the caption: a click sets this, not a recount that
    // a count typed since, or a new left date, would make differ from what the button shows.
    std::optional<DateTime> shownResultDate_;
    QPointer<QWidget> aboutBox_;
    QPointer<QWidget> helpFact_;
    QPointer<QWidget> easterForm_;
    std::function<bool(QPrinter&)> printDialog_;
    std::function<void()> terminator_;
    bool exiting_ = false;
    update::TUpdateFlow* updateFlow_ = nullptr;
};

} // namespace app
} // namespace kalendo
