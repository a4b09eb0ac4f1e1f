// The main window's controls and menu as the design places them, and the one list of every
// event with the handler it runs.
#include "KalendoVersion.h"
#include "app/DateTextEntry.h"
#include "app/DesignColours.h"
#include "app/ErrorReport.h"
#include "app/GotoDateRow.h"
#include "app/ResultButton.h"
#include "app/TrayIconMenu.h"
#include "app/Unit2.h"
#include "platform/Fonts.h"
#include "ui/CoolTrayIcon.h"
#include "ui/Credits.h"
#include "ui/TextFade.h"

#include <QAction>
#include <QActionGroup>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpressionValidator>

namespace kalendo::app {

namespace {

using platform::DesignFont;

QString Latin1(const char* text) { return QString::fromLatin1(text); }

// Controls come in pairs, one per calendar; a screen reader hears which side each is on.
QString OnSide(const QString& side, const QString& what) { return side + QStringLiteral(": ") + what; }

// The calendar's own child controls, named with its side.
void NameCalendarParts(TdsPlanner& planner, const QString& side) {
    planner.setAccessibleName(side);
    for (TdsMonthButton* button : planner.findChildren<TdsMonthButton*>(Qt::FindDirectChildrenOnly))
        button->setAccessibleName(
            OnSide(side, button->IsNext() ? QStringLiteral("next month") : QStringLiteral("previous month")));
    planner.YearSpinner()->setAccessibleName(OnSide(side, QStringLiteral("change the year")));
    planner.MonthMenu()->setAccessibleName(OnSide(side, QStringLiteral("choose a month")));
}

} // namespace

void TForm1::ConfigurePlanner(TdsPlanner& planner, const QString& hint) {
    planner.SetMinDate(kSerialOf1Jan1752);
    planner.SetMaxDate(kSerialOf31Dec3000);
    planner.SetCellWidth(kCellWidth);
    planner.SetSelectedShape(ssRectangle);
    planner.SetTransparentCursor(false);
    planner.SetTodayString(QStringLiteral("Today: "));
    planner.SetTextFont(DesignFont(11, false));
    planner.SetTextFontColor(QColor(0, 0, 0));
    planner.SetTitleFont(DesignFont(11, true));
    planner.SetTitleFontColor(kWhite);
    TdsCalendarColors& colours = planner.Colors();
    colours.SetBackground(kInfoTipYellow);
    colours.SetTitle(kNavy);
    colours.SetCircle(kRed);
    colours.SetHolidays(kRed);
    colours.SetSundays(kRed);
    colours.SetSelected(kGreen);
    colours.SetTrailingDays(kSilver);
    planner.SetShowOptions(
        TShowOptions{soHolidays, soSundays, soSaturdays, soTitle, soYear, soToday, soTodayCircle});
    planner.Categories().Add(QStringLiteral("UK Holidays"), kBlue);
    planner.Categories().Add(QStringLiteral("US Holidays"), kGreen);
    planner.SetActiveCategorie(0);
    planner.SetOverlapDates(false);
    planner.SetDate(38611);
    planner.setCursor(Qt::PointingHandCursor);
    planner.setToolTip(hint);
}

void TForm1::BuildControls() {
    ClientArea = new QWidget(this);
    ClientArea->setObjectName(QStringLiteral("ClientArea"));
    ClientArea->setFixedSize(kClientWidth, kClientHeight);
    SetColours(*ClientArea, kSkyBlue, QColor(0, 0, 0));
    setCentralWidget(ClientArea);
    // The title bar shows no text by design; assistive technology still hears the program's title.
    setAccessibleName(Latin1(kVersionedName));
    // Made in the design's order, which is also the order Tab takes.
    BuildAddSubtractPanel();
    BuildSpanPanels();
    BuildCalendars();
}

void TForm1::BuildAddSubtractPanel() {
    Panel2 = new QFrame(ClientArea);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(8, 8, 481, 145);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    SetColours(*Panel2, kMoneyGreen, QColor(0, 0, 0));

    Label1 = new QLabel(QStringLiteral("Calculate a date from a number of days"), Panel2);
    Label1->setFont(DesignFont(16, true));
    Label1->move(84, 7);
    Label1->adjustSize();

    Label2 = new QLabel(QStringLiteral("Input number of days from calendar on left."), Panel2);
    Label2->setFont(DesignFont(11, true));
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2->setGeometry(32, 44, 249, Label2->sizeHint().height());

    NoDays = new QLineEdit(QStringLiteral("0"), Panel2);
    NoDays->setObjectName(QStringLiteral("NoDays"));
    NoDays->setGeometry(288, 39, 50, 24);
    NoDays->setFont(DesignFont(13, true));
    NoDays->setMaxLength(5);
    // Pasted text is held to the digits that typing allows.
    NoDays->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), NoDays));
    NoDays->setToolTip(QStringLiteral(" Enter number here "));
    // The field is named by the prompt the user sees beside it.
    Label2->setBuddy(NoDays);

    AddCheck = new TTickBox(QStringLiteral("Add Days"), Panel2);
    AddCheck->move(346, 32);
    AddCheck->adjustSize();
    AddCheck->setChecked(true);
    AddCheck->setToolTip(QStringLiteral(" Click here to \n to add days "));

    SubtractCheck = new TTickBox(QStringLiteral("Subtract Days"), Panel2);
    SubtractCheck->move(346, 54);
    SubtractCheck->adjustSize();
    SubtractCheck->setToolTip(QStringLiteral(" Click here to \n subtract days "));

    // It belongs to the add/subtract group, so it lives in Panel2, placed so that it stands at
    // (50, 84) of the window like the window's own tick boxes.
    WEcheck = new TTickBox(QStringLiteral("Include week-ends for calculating a date from a number of days"),
                           Panel2);
    WEcheck->setGeometry(QRect(50, 84, 391, 19).translated(-Panel2->pos()));
    WEcheck->setToolTip(QStringLiteral(" Put tick here to \n include week-ends "));

    // Its caption, the result, is its accessible name.
    SB1 = new TResultButton(Panel2);
    SB1->setObjectName(QStringLiteral("SB1"));
    SB1->setGeometry(15, 104, 449, 25);
    SB1->setFont(DesignFont(13, true));
    SB1->setCursor(Qt::PointingHandCursor);
    SB1->setAccessibleDescription(
        QStringLiteral("The calculated date. Press it to set the right calendar from the number of days."));
}

void TForm1::BuildSpanPanels() {
    SECheck =
        new TTickBox(QStringLiteral("Include both start and end dates from calendars below"), ClientArea);
    SECheck->setGeometry(80, 159, 341, 19);
    SECheck->setToolTip(QStringLiteral("Put tick here to include\nboth start & end dates"));

    auto makePanel = [this](const char* name, int x, int y, int w, int h) {
        auto* panel = new QLabel(ClientArea);
        panel->setObjectName(Latin1(name));
        panel->setGeometry(x, y, w, h);
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel->setAlignment(Qt::AlignCenter);
        panel->setFont(DesignFont(13, true));
        SetColours(*panel, kNavy, kYellow);
        return panel;
    };
    DayPanel = makePanel("DayPanel", 8, 183, 169, 28);
    WeekPanel = makePanel("WeekPanel", 184, 183, 305, 28);
    MonthPanel = makePanel("MonthPanel", 8, 213, 481, 28);
    YearPanel = makePanel("YearPanel", 8, 244, 481, 28);

    Panel1 = new QLabel(QStringLiteral("Downloading Update File....."), ClientArea);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(136, 200, 225, 49);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(3);
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setFont(DesignFont(13, true));
    SetColours(*Panel1, palette().color(QPalette::Button), QColor(0, 0, 0));

    TextFader1 = MakeCreditsFader(ClientArea);
    // Every frame covers the whole line, so nothing beneath it needs painting first.
    TextFader1->setAttribute(Qt::WA_OpaquePaintEvent);
    // The line fades through the credits one at a time; a screen reader gets them all at once.
    TextFader1->setAccessibleName(QStringLiteral("Credits"));
    QStringList creditLines;
    for (const QString& line : credits::CreditLines())
        creditLines << TTextFader::DecodeLine(line);
    TextFader1->setAccessibleDescription(creditLines.join(u'\n'));
}

void TForm1::BuildCalendars() {
    const QString left = QStringLiteral("Left calendar");
    const QString right = QStringLiteral("Right calendar");
    auto makeGoto = [this](int x, const QString& side) {
        auto* button = new QPushButton(QStringLiteral("Goto Date"), ClientArea);
        button->setGeometry(x, kGotoTop, 98, 28);
        button->setFont(DesignFont(13, true));
        button->setToolTip(QStringLiteral(" Click here to enter a date for the %1 ").arg(side.toLower()));
        button->setAccessibleName(OnSide(side, QStringLiteral("go to a date")));
        return button;
    };
    auto makeInput = [this](int x, const QString& side) {
        auto* input = new QLineEdit(ClientArea);
        input->setGeometry(x, kGotoTop, 98, 28);
        input->setFont(DesignFont(16, true));
        input->setInputMask(DateInputMask());
        input->setToolTip(
            QStringLiteral(" Enter a date for the %1 here, then press Enter ").arg(side.toLower()));
        input->setAccessibleName(OnSide(side, QStringLiteral("date to go to")));
        return input;
    };
    GotoDateLeft = makeGoto(9, left);
    GotoDateRight = makeGoto(388, right);
    DateInputLeft = makeInput(9, left);
    DateInputRight = makeInput(388, right);
    DateInputLeft->setObjectName(QStringLiteral("DateInputLeft"));
    DateInputRight->setObjectName(QStringLiteral("DateInputRight"));

    DateTextEntry1 = new TDateTextEntry(kSerialOf1Jan1752, kSerialOf31Dec3000, ClientArea);

    Planner1 = new TdsPlanner(ClientArea);
    Planner1->setObjectName(QStringLiteral("Planner1"));
    Planner1->move(9, 314);
    ConfigurePlanner(*Planner1, QStringLiteral(" Select date here from... "));
    NameCalendarParts(*Planner1, left);
    Planner2 = new TdsPlanner(ClientArea);
    Planner2->setObjectName(QStringLiteral("Planner2"));
    Planner2->move(253, 314);
    ConfigurePlanner(*Planner2, QStringLiteral(" Select date here to... "));
    NameCalendarParts(*Planner2, right);

    // The arrows of the captions are not read out; the name says the move in words.
    auto makeYearButton = [this](int x, int w, const char* caption, const char* move, bool forward,
                                 const QString& side) {
        auto* button = new QPushButton(Latin1(caption), ClientArea);
        button->setGeometry(x, 546, w, 25);
        button->setFont(DesignFont(11, false));
        button->setCursor(Qt::PointingHandCursor);
        const QString name = OnSide(side, Latin1(move));
        button->setToolTip(u' ' + name + u' ');
        button->setAccessibleName(name);
        SetTextColour(*button, forward ? kGreen : kRed);
        return button;
    };
    Back1Cal1 = makeYearButton(7, 55, "<- 1 year", "back 1 year", false, left);
    Forward1Cal1 = makeYearButton(64, 55, "1 year ->", "forward 1 year", true, left);
    Back10Cal1 = makeYearButton(121, 60, "<- 10 years", "back 10 years", false, left);
    Forward10Cal1 = makeYearButton(183, 60, "10 years ->", "forward 10 years", true, left);
    Back1Cal2 = makeYearButton(251, 55, "<- 1 year", "back 1 year", false, right);
    Forward1Cal2 = makeYearButton(308, 55, "1 year ->", "forward 1 year", true, right);
    Back10Cal2 = makeYearButton(365, 60, "<- 10 years", "back 10 years", false, right);
    Forward10Cal2 = makeYearButton(427, 60, "10 years ->", "forward 10 years", true, right);
}

void TForm1::BuildMenu() {
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    setMenuBar(MainMenu1);

    auto checkable = [](QMenu* menu, const char* caption, bool checked) {
        QAction* action = menu->addAction(Latin1(caption));
        action->setCheckable(true);
        action->setChecked(checked);
        return action;
    };

    File1 = MainMenu1->addMenu(QStringLiteral("&File"));
    TypeDateLeft1 = File1->addAction(QStringLiteral("Type a Date for the &Left Calendar..."));
    TypeDateLeft1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    TypeDateRight1 = File1->addAction(QStringLiteral("Type a Date for the &Right Calendar..."));
    TypeDateRight1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    File1->addSeparator();
    CopyResults1 = File1->addAction(QStringLiteral("&Copy Results"));
    CopyResults1->setShortcut(QKeySequence::Copy);
    File1->addSeparator();
    ExitClickItem = File1->addAction(QStringLiteral("E&xit"));

    Minimize1 = MainMenu1->addAction(QStringLiteral("&Minimise"));

    Setup1 = MainMenu1->addMenu(QStringLiteral("&Defaults"));
    SundayWeek = checkable(Setup1, "&Sunday - Start of week", false);
    MondayWeek = checkable(Setup1, "&Monday - Start of week", true);
    WeekNumbers = checkable(Setup1, "&Week Numbers", false);
    Alwaysontop1 = checkable(Setup1, "&Stay on top", true);
    TodaysDate = checkable(Setup1, "&Today's Date", true);
    Setup1->addSeparator();
    ShowHolidays1 = checkable(Setup1, "Show &public holidays", true);
    SkipHolidays1 = checkable(Setup1, "Skip public &holidays in business days", false);
    PublicHolidays1 = Setup1->addAction(QStringLiteral("Public Holi&days\u2026"));
    // The two first-day items are a radio pair; the handlers still set both ticks themselves.
    auto* firstDayGroup = new QActionGroup(Setup1);
    firstDayGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    firstDayGroup->addAction(SundayWeek);
    firstDayGroup->addAction(MondayWeek);
    // The handlers decide the ticks themselves; a click must not toggle them first. Connected
    // before the handlers, so it runs before them.
    for (QAction* action :
         {SundayWeek, MondayWeek, WeekNumbers, Alwaysontop1, TodaysDate, ShowHolidays1, SkipHolidays1})
        connect(action, &QAction::triggered, action,
                [action](bool checked) { action->setChecked(!checked); });

    SaveDates2 = MainMenu1->addAction(QStringLiteral("&Save Dates"));
    PrintResults1 = MainMenu1->addAction(QStringLiteral("&Print"));
    EasterCalculations1 = MainMenu1->addAction(QStringLiteral("&Easter Dates"));
    Updates1 = MainMenu1->addAction(QStringLiteral("&Check for Updates"));

    Help1 = MainMenu1->addMenu(QStringLiteral("&Help"));
    About2 = Help1->addAction(QStringLiteral("&Help"));
    About1 = Help1->addAction(QStringLiteral("&About"));
}

void TForm1::ConnectHandlers() {
    // Every user action runs inside the error report, so an error ends only that action.
    auto on = [this](auto* sender, auto signal, auto action) {
        connect(sender, signal, this, [action] { RunUserAction(action); });
    };
    auto hook = [this, &on](auto* sender, auto signal, void (TForm1::*handler)()) {
        on(sender, signal, [this, handler] { (this->*handler)(); });
    };

    hook(AddCheck, &QCheckBox::clicked, &TForm1::AddCheckClick);
    hook(SubtractCheck, &QCheckBox::clicked, &TForm1::SubtractCheckClick);
    hook(WEcheck, &QCheckBox::clicked, &TForm1::WEcheckClick);
    hook(SECheck, &QCheckBox::clicked, &TForm1::SEcheckClick);
    hook(AddCheck, &TTickBox::MouseUp, &TForm1::AddCheckMouseUp);
    hook(SubtractCheck, &TTickBox::MouseUp, &TForm1::SubtractCheckMouseUp);
    hook(WEcheck, &TTickBox::MouseUp, &TForm1::WEcheckMouseUp);
    hook(SECheck, &TTickBox::MouseUp, &TForm1::WEcheckMouseUp);
    hook(SB1, &QPushButton::clicked, &TForm1::SB1Click);
    hook(GotoDateLeft, &QPushButton::clicked, &TForm1::GotoDateLeft1Click);
    hook(GotoDateRight, &QPushButton::clicked, &TForm1::GotoDateRightClick);
    hook(Back1Cal1, &QPushButton::clicked, &TForm1::Back1Cal1Click);
    hook(Forward1Cal1, &QPushButton::clicked, &TForm1::Forward1Cal1Click);
    hook(Back10Cal1, &QPushButton::clicked, &TForm1::Back10Cal1Click);
    hook(Forward10Cal1, &QPushButton::clicked, &TForm1::Forward10Cal1Click);
    hook(Back1Cal2, &QPushButton::clicked, &TForm1::Back1Cal2Click);
    hook(Forward1Cal2, &QPushButton::clicked, &TForm1::Forward1Cal2Click);
    hook(Back10Cal2, &QPushButton::clicked, &TForm1::Back10Cal2Click);
    hook(Forward10Cal2, &QPushButton::clicked, &TForm1::Forward10Cal2Click);
    for (TdsPlanner* planner : {Planner1, Planner2})
        connect(planner, &TdsCalendar::OnDateChange, this, [this](QObject* sender, double from, double to) {
            RunUserAction([=, this] { Planner1DateC(sender, from, to); });
        });
    connect(DateTextEntry1, &TDateTextEntry::Accepted, this, [this](double date) {
        RunUserAction([this, date] {
            if (typedDateTarget_) MoveCalendarTo(*typedDateTarget_, date);
            FocusNoDays();
        });
    });
    on(DateTextEntry1, &TDateTextEntry::Cancelled, [this] { FocusNoDays(); });
    on(&Timer1, &QTimer::timeout, [this] { Timer1Timer(); });

    hook(TypeDateLeft1, &QAction::triggered, &TForm1::TypeDateLeft1Click);
    hook(TypeDateRight1, &QAction::triggered, &TForm1::TypeDateRight1Click);
    hook(CopyResults1, &QAction::triggered, &TForm1::CopyResults1Click);
    hook(ExitClickItem, &QAction::triggered, &TForm1::ExitClick);
    hook(Minimize1, &QAction::triggered, &TForm1::Minimize1Click);
    hook(Setup1, &QMenu::aboutToShow, &TForm1::Setup1Click);
    hook(SundayWeek, &QAction::triggered, &TForm1::SundayWeekClick);
    hook(MondayWeek, &QAction::triggered, &TForm1::MondayWeekClick);
    hook(WeekNumbers, &QAction::triggered, &TForm1::WeekNumbersClick);
    hook(Alwaysontop1, &QAction::triggered, &TForm1::Alwaysontop1Click);
    hook(TodaysDate, &QAction::triggered, &TForm1::TodaysDateClick);
    hook(ShowHolidays1, &QAction::triggered, &TForm1::ShowHolidays1Click);
    hook(SkipHolidays1, &QAction::triggered, &TForm1::SkipHolidays1Click);
    hook(PublicHolidays1, &QAction::triggered, &TForm1::PublicHolidays1Click);
    hook(SaveDates2, &QAction::triggered, &TForm1::SaveDatesNow1Click);
    hook(PrintResults1, &QAction::triggered, &TForm1::PrintResults1Click);
    hook(EasterCalculations1, &QAction::triggered, &TForm1::EasterCalculations1Click);
    hook(Updates1, &QAction::triggered, &TForm1::Updates1Click);
    hook(About2, &QAction::triggered, &TForm1::About2Click);
    hook(About1, &QAction::triggered, &TForm1::About1Click);

    // Keys and focus of the count and the date inputs: eventFilter.
    for (QWidget* watched : {static_cast<QWidget*>(NoDays), static_cast<QWidget*>(DateInputLeft),
                             static_cast<QWidget*>(DateInputRight)})
        watched->installEventFilter(this);
}

void TForm1::EnsureTrayIcon() {
    if (TrayIcon1) return;
    const TrayIconParts parts = MakeTrayIcon(*this);
    TrayIcon1 = parts.icon;
    PopupMenu1 = parts.menu;
    connect(parts.restore, &QAction::triggered, this, [this] { RunUserAction([this] { Restore1Click(); }); });
    connect(parts.about, &QAction::triggered, this, [this] { RunUserAction([this] { About1Click(); }); });
    // The icon's Exit leaves the program the way File > Exit does, saving the options.
    connect(parts.exit, &QAction::triggered, this, [this] {
        RunUserAction([this] {
            RestoreFromTray();
            ExitClick();
        });
    });
    connect(TrayIcon1, &TCoolTrayIcon::OnClick, this,
            [this] { RunUserAction([this] { TrayIcon1Click(); }); });
    TrayIcon1->Loaded();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    // Ctrl+C copies the results, even from the count, whose text is always selected.
    if (watched == NoDays && event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy))
        return true;
    if (watched == NoDays && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        // Keys without a character (arrows, Delete) and control characters (shortcuts) pass.
        return text.size() == 1 && text[0].isPrint() && !NoDaysKeyPress(text[0]);
    }
    if (watched == DateInputLeft || watched == DateInputRight) {
        const bool left = watched == DateInputLeft;
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
            bool consumed = false;
            RunUserAction(
                [&] { consumed = left ? DateInputLeftKeyPress(u'\r') : DateInputRightKeyPress(u'\r'); });
            return consumed;
        }
        if (event->type() == QEvent::FocusOut) {
            // Only a move of the focus inside this window ends the input, not a message box
            // or another window taking it.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                static_cast<QWidget*>(watched)->isVisible())
                RunUserAction([&] { left ? DateInputLeftExit() : DateInputRightExit(); });
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace kalendo::app
