#include "tools/easter1.h"

#include "dates/DateEnvironment.h"
#include "easter/Easter.h"

#include "KalendoVersion.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kalendo {

namespace {

const QColor kMoneyGreen(192, 220, 192);

QFont BoldFont(const QWidget* widget) {
    QFont font = widget->font();
    font.setBold(true);
    return font;
}

} // namespace

TEasterForm::TEasterForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("EasterForm"));
    setWindowTitle(QString::fromLatin1(kVersionedName) + QStringLiteral(" - Easter Calculator"));
    setFixedSize(327, 250);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kMoneyGreen);
    setPalette(colours);
    setAutoFillBackground(true);

    Label1 = new QLabel(QStringLiteral("For the Year ->"), this);
    Label1->setFont(BoldFont(this));
    Label1->setGeometry(16, 16, 96, 20);

    YearText = new QLineEdit(this);
    YearText->setGeometry(112, 16, 36, 20);
    YearText->setReadOnly(true);
    YearText->setFrame(false);
    YearText->setMaxLength(4);
    YearText->setFont(BoldFont(this));
    YearText->setCursor(Qt::ArrowCursor);
    YearText->setFocusPolicy(Qt::NoFocus);
    YearText->setMouseTracking(true);
    YearText->setContextMenuPolicy(Qt::NoContextMenu);
    QPalette boxColours = YearText->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        boxColours.setColor(group, QPalette::Base, kMoneyGreen);
        boxColours.setColor(group, QPalette::Text, QColor(255, 0, 0));
    }
    YearText->setPalette(boxColours);
    YearText->installEventFilter(this);
    // The label's arrow would be read out; the field's name says it plainly.
    YearText->setAccessibleName(QStringLiteral("Year"));

    UpDownYear = new TUpDown(this);
    UpDownYear->setGeometry(150, 14, 17, 24);
    UpDownYear->SetRange(kFirstYear, kLastYear);
    UpDownYear->setToolTip(QStringLiteral(" Click to select year "));
    UpDownYear->setCursor(Qt::PointingHandCursor);

    ExitButton = new QPushButton(QStringLiteral("Exit"), this);
    ExitButton->setGeometry(240, 10, 73, 30);
    ExitButton->setFont(BoldFont(this));
    QPalette exitColours = ExitButton->palette();
    exitColours.setColor(QPalette::ButtonText, QColor(255, 0, 0));
    ExitButton->setPalette(exitColours);
    ExitButton->setCursor(Qt::PointingHandCursor);
    ExitButton->setToolTip(QStringLiteral("Return to\nKalendo"));
    ExitButton->setAutoDefault(false);

    Bevel1 = new QFrame(this);
    Bevel1->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    Bevel1->setGeometry(8, 50, 311, 4);

    const char* captions[] = {"Shrove Tuesday", "Ash Wednesday", "Palm Sunday",  "Good Friday",
                              "Easter Day",     "Easter Monday", "Ascension Day"};
    QLabel** labels[] = {&ShroveTuesday, &AshWednesday, &PalmSunday,  &GoodFriday,
                         &EasterDay,     &EasterMonday, &AscensionDay};
    for (int row = 0; row < 7; ++row) {
        auto* label = new QLabel(QString::fromUtf8(captions[row]), this);
        label->setFont(BoldFont(this));
        label->setGeometry(24, 66 + row * 24, 290, 18);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        *labels[row] = label;
    }

    connect(YearText, &QLineEdit::textChanged, this, &TEasterForm::YearTextChange);
    connect(UpDownYear, &TUpDown::Clicked, this, &TEasterForm::UpDownYearClick);
    connect(ExitButton, &QPushButton::clicked, this, &TEasterForm::ExitButtonClick);
    UpDownYear->SetAssociate(YearText);
    FormCreate();
}

std::array<QLabel*, 7> TEasterForm::FeastLabels() const {
    return {ShroveTuesday, AshWednesday, PalmSunday, GoodFriday, EasterDay, EasterMonday, AscensionDay};
}

void TEasterForm::FormCreate() {
    UpDownYear->SetPosition(DecodeDate(CurrentClock().Today()).year);
    // Setting the position leaves the box unchanged when the year equals the old position.
    YearTextChange();
}

void TEasterForm::FormActivate() { UpDownYear->setFocus(Qt::ActiveWindowFocusReason); }

void TEasterForm::YearTextChange() {
    const QString text = YearText->text();
    if (text.isEmpty() || text == u"0" || text == u"00" || text == u"000" || text == u"0000") return;
    bool isNumber = false;
    const int year = text.toInt(&isNumber, 10);
    // Only the spinner writes the box, but a year outside the range is never computed.
    if (!isNumber || year < kFirstYear || year > kLastYear) return;
    ShowLines(year);
}

void TEasterForm::UpDownYearClick(TUDBtnType) { YearTextChange(); }

void TEasterForm::YearTextMouseMove() { UpDownYear->setFocus(Qt::OtherFocusReason); }

void TEasterForm::ExitButtonClick() { accept(); }

void TEasterForm::ShowLines(int year) {
    const std::array<std::string, 7> lines = EasterLines(year, CurrentFormatSettings());
    // The arrows that take the focus carry the year in their name, so a screen reader says the
    // year each step reaches.
    UpDownYear->setAccessibleName(QStringLiteral("Year: %1").arg(year));
    const std::array<QLabel*, 7> labels = FeastLabels();
    for (std::size_t row = 0; row < labels.size(); ++row)
        labels[row]->setText(QString::fromStdString(lines[row]));
}

bool TEasterForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) FormActivate();
    return QDialog::event(event);
}

void TEasterForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

bool TEasterForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == YearText && event->type() == QEvent::MouseMove) YearTextMouseMove();
    return QDialog::eventFilter(watched, event);
}

} // namespace kalendo
