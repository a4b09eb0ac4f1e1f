#include "ui/about.h"

#include "platform/Fonts.h"
#include "ui/Credits.h"
#include "ui/Pictures.h"

#include <QDesktopServices>
#include <QEnterEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QToolButton>
#include <QUrl>

namespace kalendo {

namespace {

const QColor kLinkColour(0, 0, 255);
const QColor kHotLinkColour(255, 0, 0);

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette colours = widget->palette();
    colours.setColor(QPalette::WindowText, colour);
    widget->setPalette(colours);
}

QLabel* MakeLabel(QWidget* parent, const QString& text, const QRect& place, const QFont& font,
                  Qt::Alignment alignment = Qt::AlignHCenter | Qt::AlignVCenter) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    label->setFont(font);
    label->setAlignment(alignment);
    return label;
}

} // namespace

TLinkLabel::TLinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    QFont font = platform::DesignFont(16, false);
    font.setUnderline(true);
    setFont(font);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    SetTextColour(this, kLinkColour);
}

void TLinkLabel::SetHot(bool hot) {
    if (hot == hot_) return;
    hot_ = hot;
    SetTextColour(this, hot_ ? kHotLinkColour : kLinkColour);
}

void TLinkLabel::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    SetHot(true);
}

void TLinkLabel::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    SetHot(false);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit Clicked();
}

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint),
      BodyLines(DefaultBodyLines()), openUrl_(OpenUrlOnDesktop) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About the Author and Program"));
    setFixedSize(362, 327);

    Panel1 = new QFrame(this);
    Panel1->setGeometry(8, 8, 345, 249);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(3);

    ProductName = MakeLabel(Panel1, QString::fromUtf8(credits::kProductName), QRect(8, 10, 329, 28),
                            platform::DesignFont(19, true));
    SetTextColour(ProductName, QColor(0, 0, 255));
    Author =
        MakeLabel(Panel1,
                  QStringLiteral("by %1 of %2")
                      .arg(QString::fromUtf8(credits::kMakerName), QString::fromUtf8(credits::kCompanyName)),
                  QRect(8, 38, 329, 20), platform::DesignFont(13, false));
    SetTextColour(Author, QColor(0, 0, 128));
    Comments = MakeLabel(Panel1,
                         QStringLiteral("Your comments and ideas are always welcome. Please send them by "
                                        "e-mail to:"),
                         QRect(16, 64, 313, 36), platform::DesignFont(13, true));
    Comments->setWordWrap(true);

    EmailPanel = new QFrame(Panel1);
    EmailPanel->setGeometry(16, 106, 313, 44);
    EmailPanel->setFrameStyle(QFrame::Box | QFrame::Plain);
    EmailPanel->setLineWidth(1);
    Envelope = new QLabel(EmailPanel);
    Envelope->setPixmap(pictures::EnvelopePicture());
    Envelope->setGeometry(12, 11, 32, 22);
    EmailLink = new TLinkLabel(QString::fromUtf8(credits::kSupportEmail), EmailPanel);
    EmailLink->setGeometry(56, 10, 245, 24);
    EmailLink->setAlignment(Qt::AlignCenter);
    EmailLink->setAccessibleName(QStringLiteral("Send an e-mail to ") +
                                 QString::fromUtf8(credits::kSupportEmail));

    WebLabel = MakeLabel(Panel1, QStringLiteral("Please visit my web site :-"), QRect(16, 164, 313, 22),
                         platform::DesignFont(16, false));
    SetTextColour(WebLabel, QColor(0, 0, 255));
    WebLink = new TLinkLabel(QString::fromUtf8(credits::kWebAddress), Panel1);
    WebLink->setGeometry(16, 196, 313, 24);
    WebLink->setAlignment(Qt::AlignCenter);
    WebLink->setToolTip(QStringLiteral(" Please sign my Guestbook "));
    WebLink->setAccessibleName(QStringLiteral("Open the web site ") +
                               QString::fromUtf8(credits::kWebAddress));

    MadeIn = MakeLabel(this, QStringLiteral("Made in England"), QRect(24, 269, 81, 41),
                       platform::DesignFont(16, true));
    MadeIn->setWordWrap(true);

    ReturnButton = new QToolButton(this);
    ReturnButton->setText(QStringLiteral("Return to Program"));
    ReturnButton->setIcon(QIcon(pictures::ReturnPicture()));
    ReturnButton->setIconSize(QSize(32, 32));
    ReturnButton->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    ReturnButton->setGeometry(124, 263, 105, 57);

    Flag = new QLabel(this);
    Flag->setGeometry(256, 264, 65, 55);
    Flag->setPixmap(QPixmap::fromImage(pictures::FlagPicture()));
    Flag->setScaledContents(true);
    Flag->setAttribute(Qt::WA_TranslucentBackground);
    Flag->setToolTip(QStringLiteral(" Rule Britannia "));

    connect(ReturnButton, &QToolButton::clicked, this, &TAboutBox::ReturnButtonClick);
    connect(EmailLink, &TLinkLabel::Clicked, this, &TAboutBox::EmailLinkClick);
    connect(WebLink, &TLinkLabel::Clicked, this, &TAboutBox::WebLinkClick);
}

void TLinkLabel::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        emit Clicked();
        event->accept();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void TLinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(1, 1, -1, -1);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
}

void TAboutBox::ReturnButtonClick() { accept(); }

void TAboutBox::EmailLinkClick() {
    openUrl_(BuildMailUrl(QString::fromUtf8(credits::kSupportEmail), MailSubject(), BodyLines));
}

void TAboutBox::WebLinkClick() { openUrl_(QString::fromUtf8(credits::kWebAddress)); }

QString TAboutBox::BuildMailUrl(const QString& address, const QString& subject,
                                const QStringList& bodyLines) {
    QString url = QStringLiteral("mailto:") + address + QStringLiteral("?Subject=") + subject;
    if (bodyLines.isEmpty()) return url;
    QString body;
    for (const QString& line : bodyLines)
        body += line + QStringLiteral("\r\n");
    body.replace(QStringLiteral("\r\n"), QStringLiteral("%0A%0D"));
    return url + QStringLiteral("&Body=") + body;
}

QString TAboutBox::MailSubject() {
    return QStringLiteral("Register ") + QString::fromUtf8(credits::kProductName);
}

QStringList TAboutBox::DefaultBodyLines() {
    return {
        QStringLiteral("Please fill in the details below for my own curiosity. "),
        QString(),
        QStringLiteral("Name: "),
        QStringLiteral("City/Town: "),
        QStringLiteral("Country: "),
        QStringLiteral("Where did you hear about me ? "),
        QStringLiteral("Where did you download ") + QString::fromUtf8(credits::kProductName) +
            QStringLiteral(" "),
    };
}

void OpenUrlOnDesktop(const QString& url) { QDesktopServices::openUrl(QUrl::fromUserInput(url)); }

} // namespace kalendo
