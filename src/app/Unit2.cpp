#include "app/Unit2.h"

#include "KalendoVersion.h"
#include "app/Activation.h"
#include "app/CountryHolidays.h"
#include "app/DateTextEntry.h"
#include "app/DesignColours.h"
#include "app/ErrorReport.h"
#include "app/GotoDateRow.h"
#include "app/HolidayChoice.h"
#include "app/PublicHolidaysDialog.h"
#include "app/ResultDate.h"
#include "app/SecondaryWindows.h"
#include "app/SettingsFailureMessages.h"
#include "app/SpanPanels.h"
#include "app/StoredOptions.h"
#include "app/WindowPlacement.h"
#include "app/YearSteps.h"
#include "dates/DateEnvironment.h"
#include "dates/DateFormat.h"
#include "platform/Fonts.h"
#include "platform/MessageBoxes.h"
#include "ui/CoolTrayIcon.h"
#include "ui/TextFade.h"
#include "update/UpdateConfig.h"
#include "update/UpdateFlow.h"
#include "update/mxWebUpdate.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QLayout>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QShowEvent>
#include <QWindow>

#include <algorithm>
#include <optional>

namespace kalendo::app {

namespace {

// A message box; offset places its top-left corner relative to the window's.
platform::MessageResult Message(QWidget& window, platform::MessageKind kind, const QString& text,
                                platform::MessageButtons buttons, std::optional<QPoint> offset) {
    platform::MessageRequest request;
    request.kind = kind;
    request.text = text;
    request.buttons = buttons;
    request.parent = &window;
    if (offset) request.topLeft = window.pos() + *offset;
    return platform::ShowMessageBox(request);
}

void Inform(QWidget& window, const QString& text, std::optional<QPoint> offset = std::nullopt) {
    Message(window, platform::MessageKind::Information, text, platform::MessageButtons::Ok, offset);
}

void SetOption(TdsPlanner& planner, TShowOption option, bool on) {
    if (on)
        planner.AddShowOption(option);
    else
        planner.RemoveShowOption(option);
}

} // namespace

TForm1::TForm1(std::shared_ptr<platform::SettingsStore> store, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      store_(std::move(store)), holidays_(std::make_unique<TCountryHolidays>()) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString());
    setFont(platform::DesignFont(11, false));
    BuildControls();
    BuildMenu();
    span_ = std::make_unique<TSpanPanels>(*DayPanel, *WeekPanel, *MonthPanel, *YearPanel);
    auto gotoRow = [this](QPushButton& button, QLineEdit& input, TdsPlanner& planner,
                          bool closeOnRangeError) {
        return std::make_unique<TGotoDateRow>(
            button, input, planner, closeOnRangeError,
            TGotoDateRow::Hooks{[this](const QString& text) { Inform(*this, text); },
                                [this] { focusNextChild(); },
                                [this, &planner](DateTime date) { MoveCalendarTo(planner, date); }});
    };
    gotoLeft_ = gotoRow(*GotoDateLeft, *DateInputLeft, *Planner1, true);
    gotoRight_ = gotoRow(*GotoDateRight, *DateInputRight, *Planner2, false);
    secondary_ = new TSecondaryWindows(*this);
    // Each activation recomputes the result in Add mode.
    activation_ = new TActivation(*this, [this] { AddCheckClick(); });
    for (TdsPlanner* planner : {Planner1, Planner2})
        planner->SetHolidayLookup(
            [this](DateTime date) { return PH == 1 ? holidays_->NamesOn(date) : QString(); });
    mxWebUpdate1 = new update::TmxWebUpdate(this);
    update::ConfigureMainWindowChecker(*mxWebUpdate1);
    updateFlow_ = new update::TUpdateFlow(this, Panel1, nullptr, mxWebUpdate1, this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    MoveOuterTo(QPoint(kDefaultLeft, kDefaultTop));
    // Initially the window stays on top of the others.
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    Timer1.setInterval(500);
    ConnectHandlers();

    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::SetAboutBox(QWidget* window) { aboutBox_ = secondary_->Adopt(window); }
void TForm1::SetHelpFact(QWidget* window) { helpFact_ = secondary_->Adopt(window); }
void TForm1::SetEasterForm(QWidget* window) { easterForm_ = secondary_->Adopt(window); }
void TForm1::SetFormMessage(update::Tform_Message* window) { updateFlow_->SetProgressWindow(window); }
void TForm1::SetModalRunner(std::function<void(QWidget&)> runner) {
    secondary_->SetModalRunner(std::move(runner));
}

void TForm1::SetWeekendHighlight(bool highlighted) {
    for (TdsPlanner* planner : {Planner1, Planner2}) {
        SetOption(*planner, soSaturdays, highlighted);
        SetOption(*planner, soSundays, highlighted);
    }
}

void TForm1::SetFirstDayOfWeek(TDayOfWeek day) {
    Planner1->SetFirstDayOfWeek(day);
    Planner2->SetFirstDayOfWeek(day);
}

void TForm1::SetWeekNumbersShown(bool shown) {
    WeekNumbers->setChecked(shown);
    for (TdsPlanner* planner : {Planner1, Planner2}) {
        planner->SetCellWidth(shown ? kCellWidthWithWeekNumbers : kCellWidth);
        SetOption(*planner, soWeekNumbers, shown);
    }
    WN = shown ? 1 : 0;
}

void TForm1::SetTodayLineShown(bool shown) {
    TodaysDate->setChecked(shown);
    for (TdsPlanner* planner : {Planner1, Planner2}) {
        planner->SetCellHeight(shown ? kCellHeight : kCellHeightWithoutTodayLine);
        SetOption(*planner, soToday, shown);
    }
    ST = shown ? 1 : 0;
}

void TForm1::ApplyStayOnTop(bool onTop) {
    Alwaysontop1->setChecked(onTop);
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop) return;
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    // Told to the native window as it is: setWindowFlags() would make the window anew, hidden
    // and shown again, flickering and for a moment unsure of its own place.
    overrideWindowFlags(flags);
    if (QWindow* handle = windowHandle()) handle->setFlags(flags);
}

void TForm1::MoveOuterTo(QPoint topLeft) {
    // Before the window manager has framed the window, Qt can only hand it a position that
    // includes the frame while the window's size stays as it is until it is shown; a resize on
    // showing turns the position into the client area's, and the window would creep up by a
    // title bar on every start. So the size is settled first.
    if (!isVisible()) adjustSize();
    move(topLeft);
}

QPoint TForm1::OpeningPlace(QPoint stored) const {
    // A position left over from a larger or since removed screen would hide the window, or leave
    // a corner of it out of reach of the mouse.
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    return WindowPlacement(stored, frameGeometry().size(), screens, QPoint(kDefaultLeft, kDefaultTop));
}

void TForm1::FormCreate() {
    TextFader1->SetActive(true);
    Panel1->hide();
    DateInputLeft->hide();
    DateInputRight->hide();

    auto key = store_->OpenKey();
    const QString cal1 = key->ReadString(QStringLiteral("Cal1"), QString());
    const QString cal2 = key->ReadString(QStringLiteral("Cal2"), QString());
    QString startOfWeek = key->ReadString(QStringLiteral("StartOfWeek"), QString());
    key->ReadString(QStringLiteral("appver"), QString::fromLatin1(kVersion));
    const int left = key->ReadInteger(QStringLiteral("left"), x());
    const int top = key->ReadInteger(QStringLiteral("top"), y());
    MoveOuterTo(OpeningPlace(QPoint(left, top)));
    ReadStoredOptions(*key, *this);

    if (AlwaysOnTop == 1 || AlwaysOnTop == 0) ApplyStayOnTop(AlwaysOnTop == 0);
    Planner1->SetBorderStyle(bsSingle);
    Planner2->SetBorderStyle(bsSingle);
    if (WE == 0 || WE == 1) {
        WEcheck->setChecked(WE == 1);
        SetWeekendHighlight(WE == 0);
    }
    SECheck->setChecked(SE == 1);
    if (WN == 0 || WN == 1) SetWeekNumbersShown(WN == 1);
    if (ST == 0) {
        SetTodayLineShown(false);
        for (QWidget* widget : {static_cast<QWidget*>(GotoDateLeft), static_cast<QWidget*>(DateInputLeft),
                                static_cast<QWidget*>(GotoDateRight), static_cast<QWidget*>(DateInputRight)})
            widget->move(widget->x(), kGotoTopWithoutTodayLine);
    } else if (ST == 1) {
        SetTodayLineShown(true);
    }
    if (startOfWeek.isEmpty()) startOfWeek = QStringLiteral("M");
    if (startOfWeek == QStringLiteral("S") || startOfWeek == QStringLiteral("M")) {
        const bool sunday = startOfWeek == QStringLiteral("S");
        SundayWeek->setChecked(sunday);
        MondayWeek->setChecked(!sunday);
        SetFirstDayOfWeek(sunday ? dwSunday : dwMonday);
    }

    // A stored date that no longer reads in the current locale, or lies outside the calendars'
    // range, opens that calendar on today rather than stopping the start.
    const DateTime today = CurrentClock().Today();
    auto storedDate = [&](const QString& text) {
        if (text.isEmpty()) return today;
        const std::optional<DateTime> date = TryStrToDate(text.toStdString(), CurrentFormatSettings());
        if (!date || *date < kSerialOf1Jan1752 || *date > kSerialOf31Dec3000) return today;
        return DateOf(*date);
    };
    Planner1->SetDate(storedDate(cal1));
    Planner2->SetDate(storedDate(cal2));
    holidays_->Load(HolidayPlace, ReadHolidayChanges(OwnDaysOff, WorkedDays));
    ApplyHolidayOptions();

    key->Close();
    RecalcSpan();

    // The timer serves only the roll-over, and WC is read only here; without it the timer
    // would wake an idle program twice a second for nothing.
    if (WC == 1) Timer1.start();
}

void TForm1::FocusNoDays() {
    NoDays->setFocus(Qt::OtherFocusReason);
    // The count is selected, so a number typed next replaces it instead of joining the old one.
    NoDays->selectAll();
}

void TForm1::FormShow() { FocusNoDays(); }

void TForm1::ExitClick() {
    auto key = store_->OpenKey();
    key->WriteInteger(QStringLiteral("left"), x());
    key->WriteInteger(QStringLiteral("top"), y());
    WriteStoredOptions(*key, *this);
    key->WriteString(QStringLiteral("appver"), QString::fromLatin1(kVersion));
    key->WriteString(QStringLiteral("StartOfWeek"),
                     SundayWeek->isChecked() ? QStringLiteral("S") : QStringLiteral("M"));
    // The user can always quit: a store that cannot be written costs this run's options, once
    // the user has been told which and agreed; No keeps the program open to try again.
    const std::optional<platform::SettingsWriteFailure> failure = key->TryClose();
    if (failure && Message(*this, platform::MessageKind::Warning, ExitWithoutSavingQuestion(*failure),
                           platform::MessageButtons::YesNo, std::nullopt) != platform::MessageResult::Yes)
        return;
    mxWebUpdate1->AbandonCheck();
    if (TrayIcon1) TrayIcon1->SetIconVisible(false);
    exiting_ = true;
    if (terminator_)
        terminator_();
    else
        QCoreApplication::quit();
}

void TForm1::Timer1Timer() {
    if (WC != 1) return;
    const DateTime now = CurrentClock().Now();
    const DateTime today = DateOf(now);
    const std::string time = FormatTime(CurrentFormatSettings().longTimeFormat, now, CurrentFormatSettings());
    if (time != "11:59:58 PM" && time != "23:59:58") return;
    for (TdsPlanner* planner : {Planner1, Planner2})
        if (planner->Date() == today) MoveCalendarTo(*planner, today + 1);
}

void TForm1::MoveCalendarTo(TdsPlanner& calendar, DateTime date) {
    calendar.SetDate(date);
    RecalcSpan();
}

const HolidayTable* TForm1::SkippedHolidays() const { return PB == 1 ? holidays_->Table() : nullptr; }

void TForm1::RecalcSpan() {
    span_->Show(Planner1->Date(), Planner2->Date(), SE == 1, SkippedHolidays(), holidays_->ShortName());
}

void TForm1::Planner1DateC(QObject* Sender, double, double) {
    // A click moves on to the count, as mouse users expect; a key leaves the focus in the
    // calendar, so the next arrow key moves the date again instead of typing into the count.
    const auto* planner = qobject_cast<const TdsCalendar*>(Sender);
    if (planner == nullptr || !planner->DateChangeFromKeyboard()) FocusNoDays();
    RecalcSpan();
}

void TForm1::SEcheckClick() {
    SE = SECheck->isChecked() ? 1 : 0;
    FocusNoDays();
    RecalcSpan();
}

void TForm1::WEcheckMouseUp() { FocusNoDays(); }

QString TForm1::DateInputMask() { return TGotoDateRow::Mask(); }
int TForm1::DateInputYearPosition() { return TGotoDateRow::YearPosition(); }

void TForm1::GotoDateLeft1Click() { gotoLeft_->Open(); }
void TForm1::GotoDateRightClick() { gotoRight_->Open(); }
void TForm1::DateInputLeftExit() { gotoLeft_->Close(); }
void TForm1::DateInputRightExit() { gotoRight_->Close(); }
bool TForm1::DateInputLeftKeyPress(QChar key) { return key == u'\r' && gotoLeft_->Accept(); }
bool TForm1::DateInputRightKeyPress(QChar key) { return key == u'\r' && gotoRight_->Accept(); }

void TForm1::MoveYears(TdsPlanner& planner, int years) {
    MoveCalendarTo(planner, YearsMoved(planner.Year(), planner.Month(), planner.Day(), years));
    FocusNoDays();
}

void TForm1::Back1Cal1Click() { MoveYears(*Planner1, -1); }
void TForm1::Forward1Cal1Click() { MoveYears(*Planner1, 1); }
void TForm1::Back10Cal1Click() { MoveYears(*Planner1, -10); }
void TForm1::Forward10Cal1Click() { MoveYears(*Planner1, 10); }
void TForm1::Back1Cal2Click() { MoveYears(*Planner2, -1); }
void TForm1::Forward1Cal2Click() { MoveYears(*Planner2, 1); }
void TForm1::Back10Cal2Click() { MoveYears(*Planner2, -10); }
void TForm1::Forward10Cal2Click() { MoveYears(*Planner2, 10); }

bool TForm1::NoDaysKeyPress(QChar key) {
    return (key >= u'0' && key <= u'9') || key == u'\b' || key == u'\t';
}

QString TForm1::CountText(bool subtract) const {
    return subtract ? QStringLiteral("-") + NoDays->text() : NoDays->text();
}

void TForm1::ShowResultDate(const QString& unit, const QString& countText) {
    const bool weekends = unit != QLatin1String("B");
    const std::optional<ResultDate> result =
        ComputeResultDate({Planner1->Date(), countText, weekends, SkippedHolidays(), holidays_->ShortName()});
    if (!result) return;
    SB1->setText(result->caption);
    shownResultDate_ = result->date;
}

void TForm1::AddCheckClick() {
    AddCheck->setChecked(true);
    SubtractCheck->setChecked(false);
    WE = WEcheck->isChecked() ? 1 : 0;
    SetTextColour(*SB1, kBlue);
    ShowResultDate(WEcheck->isChecked() ? QStringLiteral("D") : QStringLiteral("B"), CountText(false));
}

void TForm1::SubtractCheckClick() {
    SubtractCheck->setChecked(true);
    AddCheck->setChecked(false);
    WE = WEcheck->isChecked() ? 1 : 0;
    SetTextColour(*SB1, kRed);
    ShowResultDate(WEcheck->isChecked() ? QStringLiteral("D") : QStringLiteral("B"), CountText(true));
}

void TForm1::WEcheckClick() {
    const bool ticked = WEcheck->isChecked();
    WE = ticked ? 1 : 0;
    SetWeekendHighlight(!ticked);
    const QString unit = ticked ? QStringLiteral("D") : QStringLiteral("B");
    if (AddCheck->isChecked())
        ShowResultDate(unit, CountText(false));
    else if (SubtractCheck->isChecked())
        ShowResultDate(unit, CountText(true));
}

void TForm1::AddCheckMouseUp() { FocusNoDays(); }

void TForm1::SubtractCheckMouseUp() { FocusNoDays(); }

void TForm1::SB1Click() {
    if (!shownResultDate_) return;
    // A calendar put beyond its range could not be moved back by its keys, mouse or year
    // buttons, so the date stops at the range's end.
    MoveCalendarTo(*Planner2, std::clamp(*shownResultDate_, Planner2->MinDate(), Planner2->MaxDate()));
}

void TForm1::ApplyHolidayOptions() {
    // Without a section for the user's country there is nothing to show or skip.
    const bool available = holidays_->Table() != nullptr;
    ShowHolidays1->setEnabled(available);
    SkipHolidays1->setEnabled(available);
    ShowHolidays1->setChecked(PH == 1);
    SkipHolidays1->setChecked(PB == 1);
    // The calendars ask for each day's holiday as they paint; what they are told has changed.
    Planner1->update();
    Planner2->update();
}

void TForm1::ShowHolidays1Click() {
    PH = ShowHolidays1->isChecked() ? 0 : 1;
    ApplyHolidayOptions();
}

void TForm1::SkipHolidays1Click() {
    // Counting with a whole country's list where its regions differ may be wrong for the user,
    // so the region is asked for first (the whole country stays an answer).
    if (PB == 0 && holidays_->RegionsDiffer()) {
        ApplyHolidayOptions();
        ChoosePublicHolidays(true);
        return;
    }
    PB = SkipHolidays1->isChecked() ? 0 : 1;
    HolidaysChanged();
}

void TForm1::PublicHolidays1Click() { ChoosePublicHolidays(false); }

void TForm1::ChoosePublicHolidays(bool thenSkip) {
    const QString reason = thenSkip ? QStringLiteral("The regions of %1 have days off of their own. Choose "
                                                     "yours to count with, or keep the whole country's.")
                                          .arg(holidays_->ShortName())
                                    : QString();
    OpenPublicHolidaysDialog(*this, DecodeDate(Planner1->Date()).year, *holidays_, reason,
                             [this, thenSkip](const kalendo::HolidayPlace& place, HolidayChanges changes) {
                                 holidays_->Choose(place, std::move(changes));
                                 HolidayPlace = holidays_->PlaceCode();
                                 OwnDaysOff = OwnDaysOffText(holidays_->Changes());
                                 WorkedDays = WorkedDaysText(holidays_->Changes());
                                 if (thenSkip) PB = 1;
                                 HolidaysChanged();
                             });
}

void TForm1::HolidaysChanged() {
    ApplyHolidayOptions();
    RecalcSpan();
    // The result line follows at once, in the mode it is in.
    const QString unit = WEcheck->isChecked() ? QStringLiteral("D") : QStringLiteral("B");
    ShowResultDate(unit, CountText(SubtractCheck->isChecked()));
}

void TForm1::OpenDateTextEntry(TdsPlanner& planner, const QString& prompt) {
    typedDateTarget_ = &planner;
    // Over the Goto Date row, wherever the start-up put it: no control of the layout moves.
    DateTextEntry1->setGeometry(8, GotoDateLeft->y() - 3, 481, 34);
    DateTextEntry1->Open(prompt);
}

void TForm1::TypeDateLeft1Click() { OpenDateTextEntry(*Planner1, QStringLiteral("Left date:")); }

void TForm1::TypeDateRight1Click() { OpenDateTextEntry(*Planner2, QStringLiteral("Right date:")); }

QString TForm1::ResultsText() const { return (span_->Texts() << SB1->text()).join(u'\n') + u'\n'; }

void TForm1::CopyResults1Click() { QGuiApplication::clipboard()->setText(ResultsText()); }

void TForm1::SundayWeekClick() {
    const bool toMonday = SundayWeek->isChecked();
    SundayWeek->setChecked(!toMonday);
    MondayWeek->setChecked(toMonday);
    SetFirstDayOfWeek(toMonday ? dwMonday : dwSunday);
}

void TForm1::MondayWeekClick() {
    const bool toSunday = MondayWeek->isChecked();
    MondayWeek->setChecked(!toSunday);
    SundayWeek->setChecked(toSunday);
    SetFirstDayOfWeek(toSunday ? dwSunday : dwMonday);
}

void TForm1::Setup1Click() {
    if (WF != 1 && WF != 2) return;
    for (QAction* action : {SundayWeek, MondayWeek, WeekNumbers})
        action->setVisible(WF == 1);
}

void TForm1::WeekNumbersClick() { SetWeekNumbersShown(!WeekNumbers->isChecked()); }

void TForm1::TodaysDateClick() { SetTodayLineShown(!TodaysDate->isChecked()); }

void TForm1::Alwaysontop1Click() {
    const bool onTop = !Alwaysontop1->isChecked();
    ApplyStayOnTop(onTop);
    AlwaysOnTop = onTop ? 0 : 1;
}

void TForm1::Minimize1Click() {
    // Without a notification area a hidden window could never come back: minimise instead.
    if (!TCoolTrayIcon::IsTrayAvailable()) {
        showMinimized();
        return;
    }
    EnsureTrayIcon();
    TrayIcon1->SetIconVisible(true);
    // Hidden at once, not minimised first: the window manager's iconify would race the hiding
    // and could leave the window iconic where the icon can no longer bring it back.
    TrayIcon1->HideMainForm();
}

void TForm1::RestoreFromTray() {
    if (!TrayIcon1) return;
    TrayIcon1->SetIconVisible(false);
    TrayIcon1->ShowMainForm();
}

void TForm1::TrayIcon1Click() { RestoreFromTray(); }

void TForm1::Restore1Click() { RestoreFromTray(); }

void TForm1::About1Click() { secondary_->Show(aboutBox_, QPoint(65, 95)); }

void TForm1::About2Click() { secondary_->Show(helpFact_, QPoint(0, 0)); }

void TForm1::EasterCalculations1Click() { secondary_->Show(easterForm_, QPoint(85, 145)); }

void TForm1::Updates1Click() { updateFlow_->Updates1Click(); }

void TForm1::SaveDatesNow1Click() {
    if (Message(*this, platform::MessageKind::Confirmation,
                QStringLiteral("Are you sure you want to save dates?"), platform::MessageButtons::OkCancel,
                QPoint(120, 200)) != platform::MessageResult::Ok) {
        Inform(*this, QStringLiteral("Save aborted!!!"), QPoint(175, 200));
        return;
    }
    const FormatSettings& settings = CurrentFormatSettings();
    const DateTime today = CurrentClock().Today();
    // A calendar on today is stored empty, so that it opens on the day of the next start.
    auto stored = [&](DateTime date) {
        return date == today ? QString() : QString::fromStdString(DateToStr(date, settings));
    };
    auto key = store_->OpenKey();
    key->WriteString(QStringLiteral("Cal1"), stored(Planner1->Date()));
    key->WriteString(QStringLiteral("Cal2"), stored(Planner2->Date()));
    if (const std::optional<platform::SettingsWriteFailure> failure = key->TryClose()) {
        Message(*this, platform::MessageKind::Error, SaveDatesFailureText(*failure),
                platform::MessageButtons::Ok, std::nullopt);
        return;
    }
    Inform(*this, QStringLiteral("Dates successfully saved..."), QPoint(140, 200));
}

void TForm1::PrintResults1Click() {
    if (Message(*this, platform::MessageKind::Confirmation,
                QStringLiteral("This will print a screen capture of Kalendo!"),
                platform::MessageButtons::OkCancel, QPoint(80, 213)) != platform::MessageResult::Ok) {
        Inform(*this, QStringLiteral("Print aborted!!!"), QPoint(170, 214));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    const bool confirmed = printDialog_ ? printDialog_(printer) : [&] {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    }();
    if (confirmed) PrintClientArea(printer);
}

void TForm1::PrintClientArea(QPrinter& printer) {
    const QPixmap picture = ClientArea->grab();
    QPainter painter(&printer);
    if (!painter.isActive()) return; // the print system reports its own failures
    // Physical size: each screen pixel at 96 per inch becomes resolution / 96 printer dots.
    const double scale = printer.resolution() / 96.0;
    const QRect target(0, 0, static_cast<int>(kClientWidth * scale), static_cast<int>(kClientHeight * scale));
    painter.drawPixmap(target, picture);
    painter.end();
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FormShow();
    activation_->Shown(event->spontaneous());
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (exiting_) {
        event->accept();
        return;
    }
    // The exit sequence ends the program; when it cannot write the options it asks first, and
    // the window stays open only if the user would rather try again.
    event->ignore();
    RunUserAction([this] { ExitClick(); });
}

} // namespace kalendo::app
