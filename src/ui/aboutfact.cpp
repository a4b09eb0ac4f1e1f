#include "ui/aboutfact.h"

#include "platform/Fonts.h"
#include "ui/Credits.h"
#include "ui/Pictures.h"

#include <QEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include <exception>

namespace kalendo {

namespace {

constexpr int kRuleLength = 76;

QFont PrinterFont(int points, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

QLabel* MakeTitle(QWidget* page, const QString& text, const QRect& place) {
    auto* title = new QLabel(text, page);
    title->setGeometry(place);
    title->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    title->setFont(platform::DesignFont(16, false));
    QPalette colours = title->palette();
    colours.setColor(QPalette::WindowText, QColor(0, 0, 255));
    title->setPalette(colours);
    return title;
}

// Read-only, green with white text, out of the Tab order; one stored line per paragraph line.
QPlainTextEdit* MakeMemo(QWidget* page, const QStringList& lines, const QRect& place) {
    auto* memo = new QPlainTextEdit(page);
    memo->setGeometry(place);
    memo->setReadOnly(true);
    memo->setPlainText(lines.join(u'\n'));
    memo->setFont(platform::DesignFont(11, false));
    memo->setFocusPolicy(Qt::ClickFocus);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->viewport()->setCursor(Qt::ArrowCursor);
    // Wide enough for the month names, so the factsheet's table lines up.
    memo->setTabStopDistance(84);
    QPalette colours = memo->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        colours.setColor(group, QPalette::Base, QColor(0, 128, 0));
        colours.setColor(group, QPalette::Text, Qt::white);
    }
    memo->setPalette(colours);
    return memo;
}

QToolButton* MakePictureButton(QWidget* page, const QString& caption, const QPixmap& picture,
                               const QRect& place) {
    auto* button = new QToolButton(page);
    button->setText(caption);
    button->setIcon(QIcon(picture));
    button->setIconSize(picture.size());
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setGeometry(place);
    return button;
}

} // namespace

THelpFact::THelpFact(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("HelpFact"));
    setWindowTitle(QStringLiteral("Help & Factsheet"));
    setFixedSize(496, 598);

    PageControl1 = new QTabWidget(this);
    PageControl1->setGeometry(0, 0, 496, 598);
    PageControl1->tabBar()->setFont(platform::DesignFont(11, true));
    PageControl1->tabBar()->setCursor(Qt::PointingHandCursor);
    PageControl1->setDocumentMode(false);

    TabSheet1 = new QWidget;
    PageControl1->addTab(TabSheet1, QString(24, u' ') + QStringLiteral("Help") + QString(23, u' '));
    Label1 = MakeTitle(TabSheet1, TitleText(), QRect(40, 8, 401, 22));
    Memo1 = MakeMemo(TabSheet1, HelpLines(), QRect(12, 40, 457, 457));
    ReturnButton = MakePictureButton(TabSheet1, QStringLiteral("Return to Program"),
                                     pictures::ReturnPicture(), QRect(88, 507, 129, 54));
    PrintButton = MakePictureButton(TabSheet1, QStringLiteral("Print Help"), pictures::PrintPicture(),
                                    QRect(264, 507, 129, 54));
    Panel1 = new QLabel(QStringLiteral("Busy printing..............."), TabSheet1);
    Panel1->setGeometry(120, 208, 225, 41);
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setFont(platform::DesignFont(16, true));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(2);
    Panel1->setAutoFillBackground(true);

    TabSheet2 = new QWidget;
    PageControl1->addTab(TabSheet2, QString(21, u' ') + QStringLiteral("Factsheet") + QString(28, u' '));
    Label2 = MakeTitle(TabSheet2, QStringLiteral("Some Facts about calendars"), QRect(8, 8, 465, 22));
    Memo2 = MakeMemo(TabSheet2, FactsheetLines(), QRect(12, 40, 457, 449));
    ReturnButton2 = MakePictureButton(TabSheet2, QStringLiteral("Return to Program"),
                                      pictures::ReturnPicture(), QRect(178, 507, 129, 57));

    connect(ReturnButton, &QToolButton::clicked, this, &THelpFact::ReturnButtonClick);
    connect(ReturnButton2, &QToolButton::clicked, this, &THelpFact::ReturnButtonClick);
    connect(PrintButton, &QToolButton::clicked, this, &THelpFact::PrintButtonClick);
    connect(PageControl1, &QTabWidget::currentChanged, this, &THelpFact::PageControl1Change);

    openPrinter_ = [this](QWidget* owner) { return OpenPrinterWithDialog(owner); };
    FormCreate();
}

THelpFact::~THelpFact() = default;

void THelpFact::ReturnButtonClick() { accept(); }

void THelpFact::FormCreate() { Panel1->hide(); }

void THelpFact::FormActivate() {
    PageControl1->setCurrentWidget(TabSheet1);
    Memo1->setFocus();
}

void THelpFact::PageControl1Change() {
    if (PageControl1->currentWidget() == TabSheet1)
        Memo1->setFocus();
    else
        Memo2->setFocus();
}

bool THelpFact::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) FormActivate();
    return QDialog::event(event);
}

void THelpFact::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The page is chosen before the window is seen, not only once the platform activates it.
    FormActivate();
}

std::unique_ptr<TTextDevice> THelpFact::OpenPrinterWithDialog(QWidget* parent) {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog PrintDialog1(printer_.get(), parent);
    if (PrintDialog1.exec() != QDialog::Accepted) return nullptr;
    return std::make_unique<TPrinterTextDevice>(*printer_);
}

void THelpFact::PrintButtonClick() {
    std::unique_ptr<TTextDevice> device = openPrinter_(this);
    if (!device) return;
    Panel1->show();
    Panel1->raise();
    Panel1->repaint();
    struct HidePanel {
        QLabel* panel;
        ~HidePanel() { panel->hide(); }
    } hidePanel{Panel1};
    PrintHelpText(*device, HelpLines());
}

QString THelpFact::TitleText() {
    return QString::fromUtf8(credits::kProductName) + QString::fromUtf8(credits::kMakerNotice);
}

void THelpFact::PrintHelpText(TTextDevice& device, const QStringList& lines) {
    device.SetFont(PrinterFont(12, true));
    device.WriteLine();
    device.WriteLine();
    device.WriteLine(TitleText());
    device.WriteLine(QString(kRuleLength, u'-'));
    device.SetFont(PrinterFont(10, false));
    device.WriteLine();

    std::exception_ptr failure;
    try {
        for (const QString& line : lines)
            device.WriteLine(line);
    } catch (...) {
        failure = std::current_exception();
    }

    device.WriteLine();
    device.Write(QStringLiteral("Email address       : "));
    device.SetFont(PrinterFont(10, true));
    device.WriteLine(QString::fromUtf8(credits::kSupportEmail));
    device.SetFont(PrinterFont(10, false));
    device.WriteLine();
    device.Write(QStringLiteral("Web Site address : "));
    device.SetFont(PrinterFont(10, true));
    device.WriteLine(QString::fromUtf8(credits::kWebAddress));
    device.SetFont(PrinterFont(10, false));
    device.Close();

    if (failure) std::rethrow_exception(failure);
}

QStringList THelpFact::HelpLines() {
    return {
        QStringLiteral("Thank you for trying Kalendo."),
        QStringLiteral(""),
        QStringLiteral("Kalendo began as a small tool of my own. I kept needing to know how"),
        QStringLiteral("many days were left until a holiday or a deadline, and counting"),
        QStringLiteral("squares on a paper calendar soon grew tiresome, so I wrote a program"),
        QStringLiteral("to do the counting for me. Friends asked for copies, and here it is."),
        QStringLiteral(""),
        QStringLiteral("Kalendo answers questions such as:"),
        QStringLiteral("  - How old was I, in days or in weeks, on a given day?"),
        QStringLiteral("  - How old will someone be on their next birthday?"),
        QStringLiteral("  - On which day of the week does my birthday fall this year?"),
        QStringLiteral("  - What day of the week is Christmas Day in any year?"),
        QStringLiteral(""),
        QStringLiteral("The program remembers where you left its window on the screen and"),
        QStringLiteral("opens there again next time."),
        QStringLiteral(""),
        QStringLiteral("Pick a start date in the left calendar and an end date in the right"),
        QStringLiteral("one. Every result is shown at once: the span in days, in weeks, in"),
        QStringLiteral("months and in years, months, weeks and days. Any date from"),
        QStringLiteral("1 January 1752 to 31 December 3000 can be chosen."),
        QStringLiteral(""),
        QStringLiteral("The calendars work from the keyboard too. Press Tab until a calendar"),
        QStringLiteral("has the focus (a coloured frame shows round it), then:"),
        QStringLiteral("  - Left and Right arrows: one day earlier or later"),
        QStringLiteral("  - Up and Down arrows: one week earlier or later"),
        QStringLiteral("  - Page Up and Page Down: one month later or earlier"),
        QStringLiteral("  - Ctrl with Page Up or Page Down: one year later or earlier"),
        QStringLiteral("  - Space: today"),
        QStringLiteral("  - Enter: mark the chosen day in colour, or clear its mark"),
        QStringLiteral("Screen readers read each calendar as a table of days, every day with"),
        QStringLiteral("its full date and whether it is today, a holiday or a week-end."),
        QStringLiteral(""),
        QStringLiteral("The calendars can open on dates you have saved instead of today."),
        QStringLiteral(""),
        QStringLiteral("When you leave with File > Exit, Kalendo keeps your defaults for"),
        QStringLiteral("next time: from the Defaults menu, whether the week starts on"),
        QStringLiteral("Sunday or Monday, the week numbers, Stay on top and Today's Date"),
        QStringLiteral("under the calendars; and whether the week-ends box is ticked."),
        QStringLiteral(""),
        QStringLiteral("To count down to a special day, put today in the left calendar and"),
        QStringLiteral("the special day in the right calendar, then choose Save Dates in"),
        QStringLiteral("the menu bar. The date on the left must be the earlier of the two."),
        QStringLiteral(""),
        QStringLiteral("The green panel at the top adds a number of days to, or subtracts"),
        QStringLiteral("them from, the date in the left calendar. Tick the week-ends box to"),
        QStringLiteral("count every day; leave it clear to count working days only,"),
        QStringLiteral("skipping Saturdays and Sundays."),
        QStringLiteral(""),
        QStringLiteral("If the program reports an invalid date, check the short date style"),
        QStringLiteral("in your system's regional settings and set it to show the year with"),
        QStringLiteral("four digits (for example 25/12/2026 rather than 25/12/26)."),
        QStringLiteral(""),
        QStringLiteral("Tick 'Include both start and end dates from calendars below' when"),
        QStringLiteral("the first and the last day should both be counted, as when counting"),
        QStringLiteral("the days of a holiday."),
        QStringLiteral(""),
        QStringLiteral("A personal note: Kalendo is written in my spare time, between work"),
        QStringLiteral("and family. Every message from someone who finds it useful makes"),
        QStringLiteral("that time well spent."),
        QStringLiteral(""),
        QStringLiteral("Thank you again, and enjoy counting the days."),
    };
}

QStringList THelpFact::FactsheetLines() {
    return {
        QStringLiteral("The earliest date known from any record is 4236 B.C.E., the year"),
        QStringLiteral("in which the Egyptian calendar is believed to have begun."),
        QStringLiteral(""),
        QStringLiteral("The Julian calendar gives the year 365 1/4 days: three years of 365"),
        QStringLiteral("days and then a leap year of 366."),
        QStringLiteral(""),
        QStringLiteral("Rome changed over to the Julian calendar on 1 January 45 B.C.E."),
        QStringLiteral(""),
        QStringLiteral("Great Britain and its colonies adopted the Gregorian calendar in"),
        QStringLiteral("1752, and so Kalendo accepts no date before 1 January 1752."),
        QStringLiteral(""),
        QStringLiteral("Even the Gregorian calendar is not perfect: its year runs about"),
        QStringLiteral("12 seconds longer than the average vernal equinox year."),
        QStringLiteral(""),
        QStringLiteral("Today the world's time is kept by atoms. An international bureau"),
        QStringLiteral("takes the readings of about 220 atomic clocks kept in more than two"),
        QStringLiteral("dozen countries and averages them into one time scale, to which a"),
        QStringLiteral("leap second is added now and then to keep step with the Earth."),
        QStringLiteral(""),
        QStringLiteral("Month\tLatin\tOrigin"),
        QStringLiteral("January\tIanuarius\tJanus, god of doors and beginnings"),
        QStringLiteral("February\tFebruarius\tFebrua, the Roman feast of cleansing"),
        QStringLiteral("March\tMartius\tMars, the god of war"),
        QStringLiteral("April\tAprilis\tperhaps aperire, to open, as buds do"),
        QStringLiteral("May\tMaius\tMaia, goddess of growth"),
        QStringLiteral("June\tIunius\tJuno, queen of the gods"),
        QStringLiteral("July\tIulius\tJulius Caesar; once Quintilis, the fifth"),
        QStringLiteral("August\tAugustus\tthe emperor Augustus; once Sextilis"),
        QStringLiteral("September\tSeptember\tseptem, seven: the seventh month"),
        QStringLiteral("October\tOctober\tocto, eight"),
        QStringLiteral("November\tNovember\tnovem, nine"),
        QStringLiteral("December\tDecember\tdecem, ten"),
    };
}

} // namespace kalendo
