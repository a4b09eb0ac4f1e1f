#pragma once

#include "calendar/dsCalendar.h"
#include "dates/DateTime.h"
#include "platform/MessageBoxes.h"
#include "platform/SettingsStore.h"

#include <QCheckBox>
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
class QWindow;

namespace kalendo {

class TTextFader;
class TCoolTrayIcon;
class HolidayTable;

namespace update {
class TmxWebUpdate;
class TUpdateFlow;
class Tform_Message;
} // namespace update

namespace app {

class TDateTextEntry;

// A tick box that reports the release of the mouse button after its click has been handled,
// the order in which the main window wants to hear of them. Enter runs its click handler
// without toggling it.
class TTickBox final : public QCheckBox {
    Q_OBJECT
public:
    TTickBox(const QString& caption, QWidget* parent);

signals:
    void MouseUp();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// Geometry and colours of the main window's design.
inline constexpr int kClientWidth = 496;
inline constexpr int kClientHeight = 579;
inline constexpr int kDefaultLeft = 522;
inline constexpr int kDefaultTop = 143;
inline constexpr int kFirstYear = 1752;
inline constexpr int kLastYear = 3000;

// The main window: two month calendars with the span between them in four panels, the
// add/subtract panel, date entry, year buttons, the Defaults menu, saving dates and printing.
// Creating it runs the start-up sequence against the given settings store.
class TForm1 final : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(std::shared_ptr<platform::SettingsStore> store, QWidget* parent = nullptr);
    ~TForm1() override;

    // The secondary windows, created by the program after this one; each is placed relative
    // to this window and shown modally by its menu command.
    void SetAboutBox(QWidget* window) { aboutBox_ = AdoptSecondaryWindow(window); }
    void SetHelpFact(QWidget* window) { helpFact_ = AdoptSecondaryWindow(window); }
    void SetEasterForm(QWidget* window) { easterForm_ = AdoptSecondaryWindow(window); }
    // The update progress window, shown by the Check for Updates flow.
    void SetFormMessage(update::Tform_Message* window);

    // Seams: how a secondary window is shown modally, how the print dialog is asked, and what
    // ends the program. Tests replace them; by default they are the real thing.
    void SetModalRunner(std::function<void(QWidget&)> runner) { modalRunner_ = std::move(runner); }
    void SetPrintDialog(std::function<bool(QPrinter&)> dialog) { printDialog_ = std::move(dialog); }
    void SetTerminator(std::function<void()> terminator) { terminator_ = std::move(terminator); }

    // The option fields, named after their stored values.
    std::int32_t WN = 0;
    std::int32_t WF = 0;
    std::int32_t WE = 0;
    std::int32_t SE = 0;
    std::int32_t WC = 0;
    std::int32_t ST = 0;
    std::int32_t FI = 0;
    std::int32_t AUP = 0;
    std::int32_t MUP = 0;
    std::int32_t AlwaysOnTop = 0;
    // Public holidays from the named-dates table: marked in the calendars (1 on, the default),
    // and skipped by business days (1 on; 0, the default, means Monday to Friday only).
    std::int32_t PH = 1;
    std::int32_t PB = 0;

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
    void SB1Click();
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
    void TypeDateLeft1Click();
    void TypeDateRight1Click();
    // Copies the four span texts and the result line, one per line, as plain text.
    void CopyResults1Click();
    QString ResultsText() const;

    void SaveDatesNow1Click();
    void PrintResults1Click();
    // Draws the client area at its physical size at the top-left of one page.
    void PrintClientArea(QPrinter& printer);

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
    void BuildControls();
    void BuildMenu();
    void ConfigurePlanner(TdsPlanner& planner, const QString& hint);
    void ApplyStayOnTop(bool onTop);
    void SetWeekendHighlight(bool highlighted);
    void SetFirstDayOfWeek(TDayOfWeek day);
    void SetCellWidth(int width);
    void SetCellHeight(int height);
    void SetWeekNumbersShown(bool shown);
    void SetTodayLineShown(bool shown);
    void OpenDateInput(QLineEdit& input, QPushButton& button, TdsPlanner& planner);
    void CloseDateInput(QLineEdit& input, QPushButton& button, TdsPlanner& planner);
    bool AcceptDateInput(QLineEdit& input, QPushButton& button, TdsPlanner& planner, bool closeOnRangeError);
    void MoveYears(TdsPlanner& planner, int years);
    void SetPanel(QLabel& panel, const QString& text, bool error);
    QString CountText(bool subtract) const;
    void ShowSecondaryWindow(QWidget* window, int dx, int dy);
    // Watches a secondary window, to make it belong to this one whenever it is shown.
    QWidget* AdoptSecondaryWindow(QWidget* window);
    // A message box; offset places its top-left corner relative to this window's.
    platform::MessageResult Message(platform::MessageKind kind, const QString& text,
                                    platform::MessageButtons buttons, std::optional<QPoint> offset);
    void RecomputeOnActivation();
    // Follows the application's focus so that only a return from another window of this
    // program counts as an activation, not a return from another program.
    void FocusWindowChanged(QWindow* focus);
    // Places the window's outer edge (frame included), as the stored left and top mean it.
    void MoveOuterTo(QPoint topLeft);
    // Puts the keyboard focus into NoDays with its text selected.
    void FocusNoDays();
    // The user's country's holidays for the month a calendar shows, when they are shown.
    void FillHolidays(TdsPlanner& planner);
    void ApplyHolidayOptions();
    // The table's holidays of the user's country, or null when the table has no such section.
    const HolidayTable* CountryHolidays() const;
    bool SkippingHolidays() const;
    void OpenDateTextEntry(TdsPlanner& planner, const QString& prompt);
    void EnsureTrayIcon();
    void RestoreFromTray();

    std::shared_ptr<platform::SettingsStore> store_;
    std::shared_ptr<const HolidayTable> holidays_;
    QPointer<TdsPlanner> typedDateTarget_;
    QPointer<QWidget> aboutBox_;
    QPointer<QWidget> helpFact_;
    QPointer<QWidget> easterForm_;
    std::function<void(QWidget&)> modalRunner_;
    std::function<bool(QPrinter&)> printDialog_;
    std::function<void()> terminator_;
    QString lastActivationError_;
    bool shownOnce_ = false;
    bool focusInOtherOwnWindow_ = false;
    bool exiting_ = false;
    update::TUpdateFlow* updateFlow_ = nullptr;
};

} // namespace app
} // namespace kalendo
