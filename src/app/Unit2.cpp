#include "app/Unit2.h"

#include "app/DateTextEntry.h"
#include "app/DesignColours.h"
#include "app/ErrorReport.h"
#include "KalendoVersion.h"
#include "dates/DateEnvironment.h"
#include "dates/DateFormat.h"
#include "dates/DateStringTranslater.h"
#include "dates/Error.h"
#include "dates/HolidayTable.h"
#include "dates/VorlanDates.h"
#include "platform/Fonts.h"
#include "span/DateSpan.h"
#include "ui/CoolTrayIcon.h"
#include "ui/Pictures.h"
#include "ui/TextFade.h"
#include "update/UpdateConfig.h"
#include "update/UpdateFlow.h"
#include "update/mxWebUpdate.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QShowEvent>
#include <QWindow>

#include <algorithm>

namespace kalendo::app {

namespace {

constexpr const char* kLongDateForm = "dddd d mmmm yyyy";
constexpr int kGotoTop = 278;

using platform::DesignFont;

QString Latin1(const char* text) { return QString::fromLatin1(text); }

std::string ToStd(const QString& text) { return text.toStdString(); }

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

// Characters that mean something in a Qt input mask and must be escaped as separators.
bool IsMaskMetaCharacter(QChar c) { return QStringLiteral("AaNnXx90Dd#HhBb><!\\[]{}").contains(c); }

QString EscapedSeparator() {
    QString separator = FromStd(CurrentFormatSettings().dateSeparator);
    if (separator.isEmpty() || separator.contains(u';')) separator = QStringLiteral("/");
    QString escaped;
    for (const QChar c : separator) {
        if (IsMaskMetaCharacter(c)) escaped += u'\\';
        escaped += c;
    }
    return escaped;
}

int SeparatorLength() {
    const QString separator = FromStd(CurrentFormatSettings().dateSeparator);
    return separator.isEmpty() || separator.contains(u';') ? 1 : static_cast<int>(separator.size());
}

// The count typed into NoDays: digits only (or empty), at most 99999.
std::optional<std::int32_t> ParseCount(const QString& text) {
    QString digits = text;
    const bool negative = digits.startsWith(u'-');
    if (negative) digits.remove(0, 1);
    if (digits.isEmpty()) return 0; // an emptied field counts as 0
    bool ok = false;
    const int value = digits.toInt(&ok);
    if (!ok || digits.size() > 5 || digits.front() == u'+' || digits.front() == u'-') return std::nullopt;
    return negative ? -value : value;
}

void ExecModal(QWidget& window) {
    if (auto* dialog = qobject_cast<QDialog*>(&window)) {
        dialog->exec();
        return;
    }
    // A plain window made modal: wait until it is hidden again.
    class HideWatcher final : public QObject {
    public:
        explicit HideWatcher(QEventLoop& loop) : loop_(loop) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Hide) loop_.quit();
            return false;
        }

    private:
        QEventLoop& loop_;
    };
    QEventLoop loop;
    HideWatcher watcher(loop);
    window.installEventFilter(&watcher);
    window.setWindowModality(Qt::ApplicationModal);
    window.show();
    if (window.isVisible()) loop.exec();
    window.removeEventFilter(&watcher);
}

} // namespace

TTickBox::TTickBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {}

void TTickBox::mouseReleaseEvent(QMouseEvent* event) {
    QCheckBox::mouseReleaseEvent(event);
    emit MouseUp();
}

void TTickBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QCheckBox::keyPressEvent(event);
        return;
    }
    emit clicked(isChecked());
}

TForm1::TForm1(std::shared_ptr<platform::SettingsStore> store, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      store_(std::move(store)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString());
    setFont(DesignFont(11, false));
    BuildControls();
    BuildMenu();
    mxWebUpdate1 = new update::TmxWebUpdate(this);
    update::ConfigureMainWindowChecker(*mxWebUpdate1);
    updateFlow_ = new update::TUpdateFlow(this, Panel1, nullptr, mxWebUpdate1, this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    MoveOuterTo(QPoint(kDefaultLeft, kDefaultTop));
    // Initially the window stays on top of the others.
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &TForm1::FocusWindowChanged);

    Timer1.setInterval(500);
    connect(&Timer1, &QTimer::timeout, this, [this] { RunUserAction([this] { Timer1Timer(); }); });

    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::ConfigurePlanner(TdsPlanner& planner, const QString& hint) {
    planner.SetMinDate(kSerialOf1Jan1752);
    planner.SetMaxDate(kSerialOf31Dec3000);
    planner.SetCellWidth(32);
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
    connect(&planner, &TdsCalendar::OnDateChange, this, &TForm1::Planner1DateC);
    connect(&planner, &TdsCalendar::OnShownMonthChange, this, [this, &planner] { FillHolidays(planner); });
}

void TForm1::BuildControls() {
    ClientArea = new QWidget(this);
    ClientArea->setObjectName(QStringLiteral("ClientArea"));
    ClientArea->setFixedSize(kClientWidth, kClientHeight);
    SetColours(*ClientArea, kSkyBlue, QColor(0, 0, 0));
    setCentralWidget(ClientArea);

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
    NoDays->installEventFilter(this);

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

    SB1 = new QPushButton(Panel2);
    SB1->setObjectName(QStringLiteral("SB1"));
    SB1->setGeometry(15, 104, 449, 25);
    SB1->setFlat(true);
    SB1->setFont(DesignFont(13, true));
    SB1->setCursor(Qt::PointingHandCursor);
    SB1->setFocusPolicy(Qt::NoFocus);

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

    auto makeGoto = [this](int x) {
        auto* button = new QPushButton(QStringLiteral("Goto Date"), ClientArea);
        button->setGeometry(x, kGotoTop, 98, 28);
        button->setFont(DesignFont(13, true));
        button->setToolTip(QStringLiteral(" Click here to enter date "));
        return button;
    };
    auto makeInput = [this](int x) {
        auto* input = new QLineEdit(ClientArea);
        input->setGeometry(x, kGotoTop, 98, 28);
        input->setFont(DesignFont(16, true));
        input->setInputMask(DateInputMask());
        input->setToolTip(QStringLiteral(" Enter date here, then press Enter "));
        input->installEventFilter(this);
        return input;
    };
    GotoDateLeft = makeGoto(9);
    GotoDateRight = makeGoto(388);
    DateInputLeft = makeInput(9);
    DateInputRight = makeInput(388);
    DateInputLeft->setObjectName(QStringLiteral("DateInputLeft"));
    DateInputRight->setObjectName(QStringLiteral("DateInputRight"));

    DateTextEntry1 = new TDateTextEntry(kSerialOf1Jan1752, kSerialOf31Dec3000, ClientArea);
    connect(DateTextEntry1, &TDateTextEntry::Accepted, this, [this](double date) {
        RunUserAction([this, date] {
            if (typedDateTarget_) typedDateTarget_->SetDate(date);
            // A date set from code raises no event; the panels follow it here.
            RecalcSpan();
            FocusNoDays();
        });
    });
    connect(DateTextEntry1, &TDateTextEntry::Cancelled, this, [this] { FocusNoDays(); });

    Planner1 = new TdsPlanner(ClientArea);
    Planner1->setObjectName(QStringLiteral("Planner1"));
    Planner1->move(9, 314);
    ConfigurePlanner(*Planner1, QStringLiteral(" Select date here from... "));
    Planner2 = new TdsPlanner(ClientArea);
    Planner2->setObjectName(QStringLiteral("Planner2"));
    Planner2->move(253, 314);
    ConfigurePlanner(*Planner2, QStringLiteral(" Select date here to... "));

    auto makeYearButton = [this](int x, int w, const char* caption, const char* hint, bool forward) {
        auto* button = new QPushButton(Latin1(caption), ClientArea);
        button->setGeometry(x, 546, w, 25);
        button->setFont(DesignFont(11, false));
        button->setCursor(Qt::PointingHandCursor);
        button->setToolTip(Latin1(hint));
        SetTextColour(*button, forward ? kGreen : kRed);
        return button;
    };
    Back1Cal1 = makeYearButton(7, 55, "<- 1 year", " Back 1 year ", false);
    Forward1Cal1 = makeYearButton(64, 55, "1 year ->", " Forward 1 year ", true);
    Back10Cal1 = makeYearButton(121, 60, "<- 10 years", " Back 10 years ", false);
    Forward10Cal1 = makeYearButton(183, 60, "10 years ->", " Forward 10 years ", true);
    Back1Cal2 = makeYearButton(251, 55, "<- 1 year", " Back 1 year ", false);
    Forward1Cal2 = makeYearButton(308, 55, "1 year ->", " Forward 1 year ", true);
    Back10Cal2 = makeYearButton(365, 60, "<- 10 years", " Back 10 years ", false);
    Forward10Cal2 = makeYearButton(427, 60, "10 years ->", " Forward 10 years ", true);

    // Every user action runs inside the error report, so an error ends only that action.
    auto hook = [this](auto* sender, auto signal, void (TForm1::*handler)()) {
        connect(sender, signal, this,
                [this, handler] { RunUserAction([this, handler] { (this->*handler)(); }); });
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
}

void TForm1::BuildMenu() {
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    setMenuBar(MainMenu1);

    auto hook = [this](QAction* action, void (TForm1::*handler)()) {
        connect(action, &QAction::triggered, this,
                [this, handler] { RunUserAction([this, handler] { (this->*handler)(); }); });
    };
    auto checkable = [](QMenu* menu, const char* caption, bool checked) {
        QAction* action = menu->addAction(Latin1(caption));
        action->setCheckable(true);
        action->setChecked(checked);
        return action;
    };

    File1 = MainMenu1->addMenu(QStringLiteral("&File"));
    TypeDateLeft1 = File1->addAction(QStringLiteral("Type a Date for the &Left Calendar..."));
    TypeDateLeft1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    hook(TypeDateLeft1, &TForm1::TypeDateLeft1Click);
    TypeDateRight1 = File1->addAction(QStringLiteral("Type a Date for the &Right Calendar..."));
    TypeDateRight1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    hook(TypeDateRight1, &TForm1::TypeDateRight1Click);
    File1->addSeparator();
    CopyResults1 = File1->addAction(QStringLiteral("&Copy Results"));
    CopyResults1->setShortcut(QKeySequence::Copy);
    hook(CopyResults1, &TForm1::CopyResults1Click);
    File1->addSeparator();
    ExitClickItem = File1->addAction(QStringLiteral("E&xit"));
    hook(ExitClickItem, &TForm1::ExitClick);

    Minimize1 = MainMenu1->addAction(QStringLiteral("&Minimise"));
    hook(Minimize1, &TForm1::Minimize1Click);

    Setup1 = MainMenu1->addMenu(QStringLiteral("&Defaults"));
    connect(Setup1, &QMenu::aboutToShow, this, [this] { RunUserAction([this] { Setup1Click(); }); });
    SundayWeek = checkable(Setup1, "&Sunday - Start of week", false);
    MondayWeek = checkable(Setup1, "&Monday - Start of week", true);
    WeekNumbers = checkable(Setup1, "&Week Numbers", false);
    Alwaysontop1 = checkable(Setup1, "&Stay on top", true);
    TodaysDate = checkable(Setup1, "&Today's Date", true);
    Setup1->addSeparator();
    ShowHolidays1 = checkable(Setup1, "Show &public holidays", true);
    SkipHolidays1 = checkable(Setup1, "Skip public &holidays in business days", false);
    // The two first-day items are a radio pair; the handlers still set both ticks themselves.
    auto* firstDayGroup = new QActionGroup(Setup1);
    firstDayGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    firstDayGroup->addAction(SundayWeek);
    firstDayGroup->addAction(MondayWeek);
    // The handlers decide the ticks themselves; a click must not toggle them first.
    for (QAction* action :
         {SundayWeek, MondayWeek, WeekNumbers, Alwaysontop1, TodaysDate, ShowHolidays1, SkipHolidays1})
        connect(action, &QAction::triggered, action,
                [action](bool checked) { action->setChecked(!checked); });
    hook(SundayWeek, &TForm1::SundayWeekClick);
    hook(MondayWeek, &TForm1::MondayWeekClick);
    hook(WeekNumbers, &TForm1::WeekNumbersClick);
    hook(Alwaysontop1, &TForm1::Alwaysontop1Click);
    hook(TodaysDate, &TForm1::TodaysDateClick);
    hook(ShowHolidays1, &TForm1::ShowHolidays1Click);
    hook(SkipHolidays1, &TForm1::SkipHolidays1Click);

    SaveDates2 = MainMenu1->addAction(QStringLiteral("&Save Dates"));
    hook(SaveDates2, &TForm1::SaveDatesNow1Click);
    PrintResults1 = MainMenu1->addAction(QStringLiteral("&Print"));
    hook(PrintResults1, &TForm1::PrintResults1Click);
    EasterCalculations1 = MainMenu1->addAction(QStringLiteral("&Easter Dates"));
    hook(EasterCalculations1, &TForm1::EasterCalculations1Click);
    Updates1 = MainMenu1->addAction(QStringLiteral("&Check for Updates"));
    hook(Updates1, &TForm1::Updates1Click);

    Help1 = MainMenu1->addMenu(QStringLiteral("&Help"));
    About2 = Help1->addAction(QStringLiteral("&Help"));
    hook(About2, &TForm1::About2Click);
    About1 = Help1->addAction(QStringLiteral("&About"));
    hook(About1, &TForm1::About1Click);
}

void TForm1::SetWeekendHighlight(bool highlighted) {
    for (TdsPlanner* planner : {Planner1, Planner2}) {
        if (highlighted) {
            planner->AddShowOption(soSaturdays);
            planner->AddShowOption(soSundays);
        } else {
            planner->RemoveShowOption(soSaturdays);
            planner->RemoveShowOption(soSundays);
        }
    }
}

void TForm1::SetFirstDayOfWeek(TDayOfWeek day) {
    Planner1->SetFirstDayOfWeek(day);
    Planner2->SetFirstDayOfWeek(day);
}

void TForm1::SetCellWidth(int width) {
    Planner1->SetCellWidth(width);
    Planner2->SetCellWidth(width);
}

void TForm1::SetCellHeight(int height) {
    Planner1->SetCellHeight(height);
    Planner2->SetCellHeight(height);
}

void TForm1::SetWeekNumbersShown(bool shown) {
    WeekNumbers->setChecked(shown);
    SetCellWidth(shown ? 28 : 32);
    for (TdsPlanner* planner : {Planner1, Planner2}) {
        if (shown)
            planner->AddShowOption(soWeekNumbers);
        else
            planner->RemoveShowOption(soWeekNumbers);
    }
    WN = shown ? 1 : 0;
}

void TForm1::SetTodayLineShown(bool shown) {
    TodaysDate->setChecked(shown);
    SetCellHeight(shown ? 22 : 25);
    for (TdsPlanner* planner : {Planner1, Planner2}) {
        if (shown)
            planner->AddShowOption(soToday);
        else
            planner->RemoveShowOption(soToday);
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
    int left = key->ReadInteger(QStringLiteral("left"), x());
    int top = key->ReadInteger(QStringLiteral("top"), y());
    // A position left over from a larger or since removed screen would hide the window.
    if (!QGuiApplication::screenAt(QPoint(left + 50, top + 10))) {
        left = kDefaultLeft;
        top = kDefaultTop;
    }
    MoveOuterTo(QPoint(left, top));
    WN = key->ReadInteger(QStringLiteral("WN"), WN);
    WF = key->ReadInteger(QStringLiteral("WF"), WF);
    WE = key->ReadInteger(QStringLiteral("WE"), WE);
    SE = key->ReadInteger(QStringLiteral("SE"), SE);
    WC = key->ReadInteger(QStringLiteral("WC"), WC);
    ST = key->ReadInteger(QStringLiteral("ST"), ST);
    FI = key->ReadInteger(QStringLiteral("FI"), FI);
    AUP = key->ReadInteger(QStringLiteral("AUP"), AUP);
    MUP = key->ReadInteger(QStringLiteral("MUP"), MUP);
    AlwaysOnTop = key->ReadInteger(QStringLiteral("AlwaysOnTop"), 0);
    // Unknown to older versions, which leave them alone. Any value but 0 shows the holidays;
    // only 1 skips them in business days, so that by default business days are Monday to Friday.
    PH = key->ReadInteger(QStringLiteral("PH"), PH) == 0 ? 0 : 1;
    PB = key->ReadInteger(QStringLiteral("PB"), PB) == 1 ? 1 : 0;

    if (AlwaysOnTop == 1)
        ApplyStayOnTop(false);
    else if (AlwaysOnTop == 0)
        ApplyStayOnTop(true);

    Planner1->SetBorderStyle(bsSingle);
    Planner2->SetBorderStyle(bsSingle);

    if (WE == 0) {
        WEcheck->setChecked(false);
        SetWeekendHighlight(true);
    } else if (WE == 1) {
        WEcheck->setChecked(true);
        SetWeekendHighlight(false);
    }

    // Any stored value but 0 ticks the box; it then counts both dates, as the tick says.
    SECheck->setChecked(SE != 0);
    if (SE != 0) SE = 1;

    if (WN == 0 || WN == 1) SetWeekNumbersShown(WN == 1);

    if (ST == 0) {
        SetTodayLineShown(false);
        for (QWidget* widget : {static_cast<QWidget*>(GotoDateLeft), static_cast<QWidget*>(DateInputLeft),
                                static_cast<QWidget*>(GotoDateRight), static_cast<QWidget*>(DateInputRight)})
            widget->move(widget->x(), widget->y() + 3);
    } else if (ST == 1) {
        SetTodayLineShown(true);
    }

    if (startOfWeek.isEmpty()) startOfWeek = QStringLiteral("M");
    if (startOfWeek == QStringLiteral("S")) {
        SundayWeek->setChecked(true);
        MondayWeek->setChecked(false);
        SetFirstDayOfWeek(dwSunday);
    } else if (startOfWeek == QStringLiteral("M")) {
        MondayWeek->setChecked(true);
        SundayWeek->setChecked(false);
        SetFirstDayOfWeek(dwMonday);
    }

    // A stored date that no longer reads in the current locale, or lies outside the calendars'
    // range, opens that calendar on today rather than stopping the start.
    const FormatSettings& settings = CurrentFormatSettings();
    const DateTime today = CurrentClock().Today();
    auto storedDate = [&](const QString& text) {
        if (text.isEmpty()) return today;
        const std::optional<DateTime> date = TryStrToDate(ToStd(text), settings);
        if (!date || *date < kSerialOf1Jan1752 || *date > kSerialOf31Dec3000) return today;
        return DateOf(*date);
    };
    Planner1->SetDate(storedDate(cal1));
    Planner2->SetDate(storedDate(cal2));
    // Each needed section of the table is read once and kept for the program's life.
    holidays_ = NamedDatesHolidays();
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
    key->WriteInteger(QStringLiteral("WN"), WN);
    key->WriteInteger(QStringLiteral("WF"), WF);
    key->WriteInteger(QStringLiteral("WE"), WE);
    key->WriteInteger(QStringLiteral("SE"), SE);
    key->WriteInteger(QStringLiteral("WC"), WC);
    key->WriteInteger(QStringLiteral("ST"), ST);
    key->WriteInteger(QStringLiteral("FI"), FI);
    key->WriteInteger(QStringLiteral("AUP"), AUP);
    key->WriteInteger(QStringLiteral("MUP"), MUP);
    key->WriteInteger(QStringLiteral("AlwaysOnTop"), AlwaysOnTop);
    key->WriteInteger(QStringLiteral("PH"), PH);
    key->WriteInteger(QStringLiteral("PB"), PB);
    key->WriteString(QStringLiteral("appver"), QString::fromLatin1(kVersion));
    key->WriteString(QStringLiteral("StartOfWeek"),
                     SundayWeek->isChecked() ? QStringLiteral("S") : QStringLiteral("M"));
    // A failed write throws here: the program stays open so the user can try again.
    key->Close();
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
    bool moved = false;
    for (TdsPlanner* planner : {Planner1, Planner2}) {
        if (planner->Date() == today) {
            planner->SetDate(today + 1);
            moved = true;
        }
    }
    // The span follows the calendars, as it would after any other change of date.
    if (moved) RecalcSpan();
}

void TForm1::SetPanel(QLabel& panel, const QString& text, bool error) {
    SetColours(panel, error ? kRed : kNavy, error ? kWhite : kYellow);
    panel.setText(text);
}

void TForm1::RecalcSpan() {
    SetColours(*YearPanel, kNavy, kYellow);
    const SpanTexts span = ComputeSpan(Planner1->Date(), Planner2->Date(), SE == 1);
    if (span.orderError) {
        SetPanel(*YearPanel, Latin1(kSpanOrderError), true);
        return;
    }
    SetPanel(*DayPanel, FromStd(span.days), false);
    const HolidayTable* skipped = SkippingHolidays() ? CountryHolidays() : nullptr;
    const std::int64_t businessDays =
        skipped != nullptr ? SpanBusinessDays(Planner1->Date(), Planner2->Date(), SE == 1, skipped->DaysOff())
                           : SpanBusinessDays(Planner1->Date(), Planner2->Date(), SE == 1);
    DayPanel->setToolTip(QStringLiteral(" %1 business day%2 (Monday to Friday%3) ")
                             .arg(businessDays)
                             .arg(businessDays == 1 ? QString() : QStringLiteral("s"))
                             .arg(skipped != nullptr ? QStringLiteral(", less public holidays") : QString()));
    SetPanel(*WeekPanel, FromStd(span.weeks), false);
    SetPanel(*MonthPanel, FromStd(span.months), false);
    SetPanel(*YearPanel, FromStd(span.years), false);
}

void TForm1::Planner1DateC(QObject*, double, double) {
    FocusNoDays();
    RecalcSpan();
}

void TForm1::SEcheckClick() {
    SE = SECheck->isChecked() ? 1 : 0;
    FocusNoDays();
    RecalcSpan();
}

void TForm1::WEcheckMouseUp() { FocusNoDays(); }

QString TForm1::DateInputMask() {
    const QString separator = EscapedSeparator();
    const QString dayOrMonth = QStringLiteral("00"); // optional digits
    const QString year = QStringLiteral("9999");     // required digits
    const QString fields = DateOrderOf(CurrentFormatSettings().shortDateFormat) == doYearMonthDay
                               ? year + separator + dayOrMonth + separator + dayOrMonth
                               : dayOrMonth + separator + dayOrMonth + separator + year;
    return fields + QStringLiteral(";_");
}

int TForm1::DateInputYearPosition() {
    return DateOrderOf(CurrentFormatSettings().shortDateFormat) == doYearMonthDay ? 0
                                                                                  : 4 + 2 * SeparatorLength();
}

void TForm1::OpenDateInput(QLineEdit& input, QPushButton& button, TdsPlanner& planner) {
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
    input.setInputMask(DateInputMask());
    input.setText(FromStd(FormatDateTime(format, planner.Date(), settings)));
    button.hide();
    input.show();
    input.setFocus(Qt::OtherFocusReason);
    input.setCursorPosition(0);
}

void TForm1::CloseDateInput(QLineEdit& input, QPushButton& button, TdsPlanner& planner) {
    input.hide();
    button.show();
    planner.setFocus(Qt::OtherFocusReason);
}

void TForm1::GotoDateLeft1Click() { OpenDateInput(*DateInputLeft, *GotoDateLeft, *Planner1); }

void TForm1::GotoDateRightClick() { OpenDateInput(*DateInputRight, *GotoDateRight, *Planner2); }

void TForm1::DateInputLeftExit() { CloseDateInput(*DateInputLeft, *GotoDateLeft, *Planner1); }

void TForm1::DateInputRightExit() { CloseDateInput(*DateInputRight, *GotoDateRight, *Planner2); }

bool TForm1::AcceptDateInput(QLineEdit& input, QPushButton& button, TdsPlanner& planner,
                             bool closeOnRangeError) {
    // The text as the mask shows it, blanks read back as spaces.
    const QString text = input.displayText().replace(u'_', u' ');
    const QString year = text.mid(DateInputYearPosition(), 4);
    auto rangeError = [&](const char* message) {
        Message(platform::MessageKind::Information, Latin1(message), platform::MessageButtons::Ok,
                std::nullopt);
        if (closeOnRangeError) {
            input.hide();
            button.show();
        }
        return true;
    };
    if (year < QStringLiteral("1752")) return rangeError("Cannot go before the year 1752");
    if (year > QStringLiteral("3000")) return rangeError("Cannot go beyond the year 3000");

    focusNextChild();
    if (input.isVisible()) CloseDateInput(input, button, planner);

    const bool yearComplete =
        year.size() == 4 && std::all_of(year.begin(), year.end(), [](QChar c) { return c.isDigit(); });
    const std::optional<DateTime> date =
        yearComplete ? TryStrToDate(ToStd(text), CurrentFormatSettings()) : std::nullopt;
    if (!date) {
        Message(platform::MessageKind::Information, QStringLiteral("Invalid date, try again!"),
                platform::MessageButtons::Ok, std::nullopt);
        return true;
    }
    input.clear();
    planner.SetDate(DateOf(*date));
    // The panels follow a typed date as they follow a picked one.
    RecalcSpan();
    return true;
}

bool TForm1::DateInputLeftKeyPress(QChar key) {
    if (key != u'\r') return false;
    return AcceptDateInput(*DateInputLeft, *GotoDateLeft, *Planner1, true);
}

bool TForm1::DateInputRightKeyPress(QChar key) {
    if (key != u'\r') return false;
    return AcceptDateInput(*DateInputRight, *GotoDateRight, *Planner2, false);
}

void TForm1::MoveYears(TdsPlanner& planner, int years) {
    // One year at a time, as the ten-year buttons always did, but never out of 1752..3000:
    // a step that would leave the range stops at its end.
    const int step = years > 0 ? 1 : -1;
    for (int i = 0; i != years; i += step) {
        const int next = planner.Year() + step;
        if (next < kFirstYear || next > kLastYear) break;
        planner.SetYear(next);
    }
    FocusNoDays();
    RecalcSpan();
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
    const FormatSettings& settings = CurrentFormatSettings();
    const DateTime start = DecodeDateText(FormatDateTime(kLongDateForm, Planner1->Date(), settings));
    const std::optional<std::int32_t> count = ParseCount(countText);
    if (!count) return; // not a number: the caption keeps its text
    const HolidayTable* skipped =
        unit == QLatin1String("B") && SkippingHolidays() ? CountryHolidays() : nullptr;
    const DateTime result = skipped != nullptr ? AddToDate(ToStd(unit), *count, start, skipped->DaysOff())
                                               : AddToDate(ToStd(unit), *count, start);
    const DateTime shown = StrToDate(FormatDateLongYear(result), settings);
    QString caption = FromStd(FormatDateTime(kLongDateForm, shown, settings));
    if (skipped != nullptr) {
        // Beyond the table's years there is nothing to skip, and the line says so.
        const std::optional<YearRange> years = skipped->CoveredYears();
        const bool known =
            years && years->Contains(DecodeDate(start).year) && years->Contains(DecodeDate(result).year);
        caption += known ? QStringLiteral(" (public holidays skipped)")
                         : QStringLiteral(" (holidays known %1-%2)")
                               .arg(years ? years->first : 0)
                               .arg(years ? years->last : 0);
    }
    SB1->setText(caption);
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
    const std::optional<std::int32_t> count = ParseCount(NoDays->text());
    if (!count) return;
    const DateTime left = Planner1->Date();
    const DateTime target = AddCheck->isChecked() ? left + *count : left - *count;
    // A calendar put beyond its range could not be moved back by its keys, mouse or year
    // buttons, so the date stops at the range's end.
    Planner2->SetDate(std::clamp(target, Planner2->MinDate(), Planner2->MaxDate()));
    // Setting the date from code raises no event; the panels are brought up to date here.
    RecalcSpan();
}

const HolidayTable* TForm1::CountryHolidays() const {
    return holidays_ != nullptr && holidays_->SectionFound() ? holidays_.get() : nullptr;
}

bool TForm1::SkippingHolidays() const { return PB == 1 && CountryHolidays() != nullptr; }

void TForm1::FillHolidays(TdsPlanner& planner) {
    THolidays& list = planner.Holidays();
    list.Clear();
    const HolidayTable* table = PH == 1 ? CountryHolidays() : nullptr;
    if (table == nullptr) return;
    // The calendar knows a holiday by day and month; it is filled anew for each month shown, so
    // the holidays that move from year to year land on their days. Two on one day share a cell.
    int lastDay = 0;
    QString names;
    auto flush = [&] {
        if (lastDay != 0) list.Add(static_cast<TDay>(lastDay), static_cast<TMonth>(planner.Month()), names);
    };
    for (const NamedDay& holiday : table->Holidays().InMonth(planner.Year(), planner.Month())) {
        const int day = DecodeDate(holiday.Date).day;
        if (day != lastDay) {
            flush();
            lastDay = day;
            names.clear();
        }
        if (!names.isEmpty()) names += QStringLiteral(", ");
        names += FromStd(holiday.Name);
    }
    flush();
}

void TForm1::ApplyHolidayOptions() {
    // Without a section for the user's country there is nothing to show or skip.
    const bool available = CountryHolidays() != nullptr;
    ShowHolidays1->setEnabled(available);
    SkipHolidays1->setEnabled(available);
    ShowHolidays1->setChecked(PH == 1);
    SkipHolidays1->setChecked(PB == 1);
    FillHolidays(*Planner1);
    FillHolidays(*Planner2);
}

void TForm1::ShowHolidays1Click() {
    PH = ShowHolidays1->isChecked() ? 0 : 1;
    ApplyHolidayOptions();
}

void TForm1::SkipHolidays1Click() {
    PB = SkipHolidays1->isChecked() ? 0 : 1;
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

QString TForm1::ResultsText() const {
    return QStringList{DayPanel->text(), WeekPanel->text(), MonthPanel->text(), YearPanel->text(),
                       SB1->text()}
               .join(u'\n') +
           u'\n';
}

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

void TForm1::EnsureTrayIcon() {
    if (TrayIcon1) return;
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* restore = PopupMenu1->addAction(QStringLiteral("Restore"));
    restore->setObjectName(QStringLiteral("Restore1"));
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N1"));
    QAction* about = PopupMenu1->addAction(QStringLiteral("About"));
    about->setObjectName(QStringLiteral("Exit1"));
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N2"));
    QAction* exit = PopupMenu1->addAction(QStringLiteral("Exit"));
    exit->setObjectName(QStringLiteral("Exit2"));
    connect(restore, &QAction::triggered, this, [this] { RunUserAction([this] { Restore1Click(); }); });
    connect(about, &QAction::triggered, this, [this] { RunUserAction([this] { About1Click(); }); });
    // The icon's Exit leaves the program the way File > Exit does, saving the options.
    connect(exit, &QAction::triggered, this, [this] {
        RunUserAction([this] {
            RestoreFromTray();
            ExitClick();
        });
    });

    TrayIcon1 = new TCoolTrayIcon(this);
    TrayIcon1->setObjectName(QStringLiteral("TrayIcon1"));
    TrayIcon1->SetIcon(pictures::ProgramIcon());
    TrayIcon1->SetHint(u' ' + QString::fromLatin1(kVersionedName) + u' ');
    TrayIcon1->SetPopupMenu(PopupMenu1);
    connect(TrayIcon1, &TCoolTrayIcon::OnClick, this,
            [this] { RunUserAction([this] { TrayIcon1Click(); }); });
    TrayIcon1->Loaded();
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

void TForm1::ShowSecondaryWindow(QWidget* window, int dx, int dy) {
    if (!window) return;
    window->move(x() + dx, y() + dy);
    if (modalRunner_)
        modalRunner_(*window);
    else
        ExecModal(*window);
}

QWidget* TForm1::AdoptSecondaryWindow(QWidget* window) {
    if (window != nullptr) window->installEventFilter(this);
    return window;
}

void TForm1::About1Click() { ShowSecondaryWindow(aboutBox_, 65, 95); }

void TForm1::About2Click() { ShowSecondaryWindow(helpFact_, 0, 0); }

void TForm1::EasterCalculations1Click() { ShowSecondaryWindow(easterForm_, 85, 145); }

void TForm1::SetFormMessage(update::Tform_Message* window) { updateFlow_->SetProgressWindow(window); }

void TForm1::Updates1Click() { updateFlow_->Updates1Click(); }

platform::MessageResult TForm1::Message(platform::MessageKind kind, const QString& text,
                                        platform::MessageButtons buttons, std::optional<QPoint> offset) {
    platform::MessageRequest request;
    request.kind = kind;
    request.text = text;
    request.buttons = buttons;
    request.parent = this;
    if (offset) request.topLeft = pos() + *offset;
    return platform::ShowMessageBox(request);
}

void TForm1::SaveDatesNow1Click() {
    using platform::MessageButtons;
    using platform::MessageKind;
    if (Message(MessageKind::Confirmation, QStringLiteral("Are you sure you want to save dates?"),
                MessageButtons::OkCancel, QPoint(120, 200)) != platform::MessageResult::Ok) {
        Message(MessageKind::Information, QStringLiteral("Save aborted!!!"), MessageButtons::Ok,
                QPoint(175, 200));
        return;
    }
    const FormatSettings& settings = CurrentFormatSettings();
    QString left = FromStd(DateToStr(Planner1->Date(), settings));
    QString right = FromStd(DateToStr(Planner2->Date(), settings));
    auto key = store_->OpenKey();
    const DateTime today = CurrentClock().Today();
    if (Planner1->Date() == today) left.clear();
    if (Planner2->Date() == today) right.clear();
    key->WriteString(QStringLiteral("Cal1"), left);
    key->WriteString(QStringLiteral("Cal2"), right);
    key->Close();
    Message(MessageKind::Information, QStringLiteral("Dates successfully saved..."), MessageButtons::Ok,
            QPoint(140, 200));
}

void TForm1::PrintResults1Click() {
    using platform::MessageButtons;
    using platform::MessageKind;
    if (Message(MessageKind::Confirmation, QStringLiteral("This will print a screen capture of Kalendo!"),
                MessageButtons::OkCancel, QPoint(80, 213)) != platform::MessageResult::Ok) {
        Message(MessageKind::Information, QStringLiteral("Print aborted!!!"), MessageButtons::Ok,
                QPoint(170, 214));
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
    if (shownOnce_ || event->spontaneous()) return;
    shownOnce_ = true;
    // The first showing is the first activation, also where no window manager activates the
    // window. Queued, so that the window is on the screen before an error box could be.
    QTimer::singleShot(0, this, [this] { RecomputeOnActivation(); });
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (exiting_) {
        event->accept();
        return;
    }
    // The exit sequence ends the program; when it cannot write the options it reports that
    // and the window stays open, so nothing is lost.
    event->ignore();
    RunUserAction([this] { ExitClick(); });
}

void TForm1::FocusWindowChanged(QWindow* focus) {
    // No focus window: another program has the focus. Coming back from there is no activation,
    // and neither is this window coming back after being shown anew (Stay on top, the icon).
    if (focus == nullptr || focus->type() == Qt::Popup || focus->type() == Qt::ToolTip) return;
    if (focus != windowHandle()) {
        focusInOtherOwnWindow_ = true;
        return;
    }
    if (!focusInOtherOwnWindow_) return;
    focusInOtherOwnWindow_ = false;
    RecomputeOnActivation();
}

void TForm1::RecomputeOnActivation() {
    // Each activation recomputes the result in Add mode. An error the recomputation raises is
    // reported once: its box closing re-activates the window and must not raise it again.
    try {
        AddCheckClick();
        lastActivationError_.clear();
    } catch (const std::exception& error) {
        const QString text = QString::fromUtf8(error.what());
        if (text != lastActivationError_) {
            lastActivationError_ = text;
            ShowErrorReport(text);
        }
    }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show &&
        (watched == aboutBox_ || watched == helpFact_ || watched == easterForm_)) {
        // Sent just before the window is mapped. Belonging to this window, it is kept above this
        // one, and the window manager minimises and restores the two together, so this window
        // is never left blocked by one out of sight.
        QWidget* window = static_cast<QWidget*>(watched);
        if (window->windowHandle() != nullptr) window->windowHandle()->setTransientParent(windowHandle());
        return false;
    }
    // Ctrl+C copies the results, even from the count, whose text is always selected.
    if (watched == NoDays && event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy))
        return true;
    if (watched == NoDays && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        // Keys without a character (arrows, Delete) and control characters (shortcuts) pass.
        if (text.size() == 1 && text[0].isPrint() && !NoDaysKeyPress(text[0])) return true;
        return false;
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
