#pragma once

#include <QDialog>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

class QCheckBox;
class QFrame;
class QNetworkAccessManager;
class QNetworkReply;
class QPushButton;

namespace kalendo::update {

// Shows a page from the web as rich text. The page is untrusted: nothing it refers to (images,
// style sheets, local files) is loaded, and its links are not followed.
class TUpdatePageView : public QTextBrowser {
    Q_OBJECT

public:
    explicit TUpdatePageView(QWidget* parent = nullptr);
    QVariant loadResource(int type, const QUrl& name) override;
};

// The information window of the update checker: the product page above, the "check in the
// future" box and OK/Cancel below.
class Tfrm_ShowInfoUpdate : public QDialog {
    Q_OBJECT

public:
    // Pages larger than this are not shown.
    static constexpr qint64 kMaxShownPageBytes = qint64{4} * 1024 * 1024;

    explicit Tfrm_ShowInfoUpdate(QWidget* parent = nullptr);
    ~Tfrm_ShowInfoUpdate() override;

    // Loads the page in the background and shows it when it arrives; an invalid address or a
    // failed load shows a short note instead.
    void Navigate(const QUrl& url);
    const QUrl& NavigatedURL() const { return navigatedURL_; }
    bool Loading() const { return !pageReply_.isNull(); }

    // Centres OK and Cancel in the bottom strip, 3 pixels apart.
    void Panel_BottomResize();

    QFrame* Panel_Browser;
    TUpdatePageView* WebBrowser;
    QFrame* Panel_Check;
    QCheckBox* chk_FutureUpdate;
    QFrame* Panel_Bottom;
    QPushButton* btn_OK;
    QPushButton* btn_Cancel;

signals:
    void PageLoaded(bool shown);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void StopLoading();
    void PageArrived(QNetworkReply* reply);

    QNetworkAccessManager* network_;
    QPointer<QNetworkReply> pageReply_;
    QUrl navigatedURL_;
};

} // namespace kalendo::update
