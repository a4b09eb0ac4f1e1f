#include "update/mxWebUpdateInfo.h"

#include "update/UpdateNetwork.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPushButton>
#include <QScreen>
#include <QStringDecoder>
#include <QVBoxLayout>

namespace kalendo::update {

namespace {

constexpr int kCheckStripHeight = 31;
constexpr int kBottomStripHeight = 41;
constexpr int kButtonTop = 8;
constexpr int kPageTransferTimeoutMs = 30000;

QString DecodePage(const QByteArray& html) {
    QStringDecoder decoder = QStringDecoder::decoderForHtml(html);
    return decoder.isValid() ? decoder.decode(html) : QString::fromLatin1(html);
}

} // namespace

TUpdatePageView::TUpdatePageView(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(false);
    setOpenExternalLinks(false);
}

QVariant TUpdatePageView::loadResource(int, const QUrl&) { return {}; }

Tfrm_ShowInfoUpdate::Tfrm_ShowInfoUpdate(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      Panel_Browser(new QFrame(this)), WebBrowser(new TUpdatePageView(Panel_Browser)),
      Panel_Check(new QFrame(this)), chk_FutureUpdate(new QCheckBox(Panel_Check)),
      Panel_Bottom(new QFrame(this)), btn_OK(new QPushButton(Panel_Bottom)),
      btn_Cancel(new QPushButton(Panel_Bottom)), network_(new QNetworkAccessManager(this)) {
    setWindowTitle(QStringLiteral("mxWebUpdate"));
    resize(530, 453);
    setSizeGripEnabled(true);
    UseSystemProxyExceptLoopback(*network_);

    Panel_Browser->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* browserLayout = new QVBoxLayout(Panel_Browser);
    browserLayout->setContentsMargins(1, 1, 1, 1);
    browserLayout->addWidget(WebBrowser);

    Panel_Check->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel_Check->setFixedHeight(kCheckStripHeight);
    auto* checkLayout = new QVBoxLayout(Panel_Check);
    checkLayout->setContentsMargins(8, 0, 8, 0);
    checkLayout->addWidget(chk_FutureUpdate);
    chk_FutureUpdate->setChecked(true);
    chk_FutureUpdate->setText(QStringLiteral("C&heck for updates in the future"));

    Panel_Bottom->setFixedHeight(kBottomStripHeight);
    for (QPushButton* button : {btn_OK, btn_Cancel}) {
        button->setGeometry(0, kButtonTop, 75, 25);
        button->setCursor(Qt::PointingHandCursor);
        button->setAutoDefault(false);
    }
    btn_OK->setText(QStringLiteral("&OK"));
    btn_Cancel->setText(QStringLiteral("&Cancel"));
    btn_OK->setDefault(true);
    connect(btn_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    Panel_Bottom->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel_Browser, 1);
    layout->addWidget(Panel_Check);
    layout->addWidget(Panel_Bottom);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

Tfrm_ShowInfoUpdate::~Tfrm_ShowInfoUpdate() { StopLoading(); }

void Tfrm_ShowInfoUpdate::Panel_BottomResize() {
    // Integer division truncates toward zero, also for a strip narrower than the two buttons.
    const int okLeft = (Panel_Bottom->width() - btn_OK->width() - btn_Cancel->width() - 6) / 2;
    btn_OK->move(okLeft, btn_OK->y());
    btn_Cancel->move(btn_OK->x() + btn_OK->width() + 3, btn_Cancel->y());
}

bool Tfrm_ShowInfoUpdate::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Panel_Bottom && event->type() == QEvent::Resize) Panel_BottomResize();
    return QDialog::eventFilter(watched, event);
}

void Tfrm_ShowInfoUpdate::done(int result) {
    StopLoading();
    QDialog::done(result);
}

void Tfrm_ShowInfoUpdate::StopLoading() {
    if (!pageReply_) return;
    QNetworkReply* reply = pageReply_;
    pageReply_ = nullptr;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

void Tfrm_ShowInfoUpdate::Navigate(const QUrl& url) {
    StopLoading();
    navigatedURL_ = url;
    WebBrowser->clear();
    if (!url.isValid()) {
        WebBrowser->setPlainText(QStringLiteral("The update page could not be loaded."));
        emit PageLoaded(false);
        return;
    }
    QNetworkRequest request = MakeUpdateRequest(url);
    request.setTransferTimeout(kPageTransferTimeoutMs);
    QNetworkReply* reply = network_->get(request);
    pageReply_ = reply;
    connect(reply, &QNetworkReply::downloadProgress, this, [reply](qint64 received, qint64) {
        if (received > kMaxShownPageBytes) reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { PageArrived(reply); });
}

void Tfrm_ShowInfoUpdate::PageArrived(QNetworkReply* reply) {
    reply->deleteLater();
    if (reply != pageReply_) return;
    pageReply_ = nullptr;
    if (reply->error() != QNetworkReply::NoError) {
        WebBrowser->setPlainText(QStringLiteral("The update page could not be loaded from %1.")
                                     .arg(navigatedURL_.toString(QUrl::RemoveUserInfo)));
        emit PageLoaded(false);
        return;
    }
    WebBrowser->setHtml(DecodePage(reply->readAll()));
    emit PageLoaded(true);
}

} // namespace kalendo::update
