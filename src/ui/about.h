#pragma once

#include <QDialog>
#include <QLabel>
#include <QStringList>

#include <functional>

class QFrame;
class QToolButton;

namespace kalendo {

// A label that reads and behaves like a web link: underlined, blue, red while the mouse is over
// it, a hand cursor, and a click signal; Tab reaches it (it then shows a focus frame) and Enter
// or Space opens it.
class TLinkLabel : public QLabel {
    Q_OBJECT

public:
    explicit TLinkLabel(const QString& text, QWidget* parent = nullptr);
    bool Hot() const { return hot_; }

signals:
    void Clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void SetHot(bool hot);
    bool hot_ = false;
};

// The about window: product name, the maker's e-mail and web links, and a short note.
// Created hidden with the application and shown modally; closing only hides it.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    // Hands a link to the desktop. Tests replace it to see the exact text.
    using UrlOpener = std::function<void(const QString& url)>;

    explicit TAboutBox(QWidget* parent = nullptr);

    void SetUrlOpener(UrlOpener opener) { openUrl_ = std::move(opener); }

    void ReturnButtonClick();
    void EmailLinkClick();
    void WebLinkClick();

    // "mailto:" address "?Subject=" subject, then "&Body=" and the body lines, each ended by a
    // line break written as "%0A%0D"; no body part at all for an empty list.
    static QString BuildMailUrl(const QString& address, const QString& subject, const QStringList& bodyLines);
    static QString MailSubject();
    static QStringList DefaultBodyLines();

    // The lines of the registration mail; the default asks for name, town and country.
    QStringList BodyLines;

    QFrame* Panel1 = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Author = nullptr;
    QLabel* Comments = nullptr;
    QFrame* EmailPanel = nullptr;
    QLabel* Envelope = nullptr;
    TLinkLabel* EmailLink = nullptr;
    QLabel* WebLabel = nullptr;
    TLinkLabel* WebLink = nullptr;
    QLabel* MadeIn = nullptr;
    QToolButton* ReturnButton = nullptr;
    QLabel* Flag = nullptr;

private:
    UrlOpener openUrl_;
};

// The desktop's way of opening a link. An address without a scheme, such as a web address
// starting with "www.", is read as the user would type it into a browser.
void OpenUrlOnDesktop(const QString& url);

} // namespace kalendo
