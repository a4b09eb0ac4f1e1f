#include "ui/about.h"

#include "KalendoVersion.h"

#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kalendo {
namespace {

const QString kSubjectMailUrl =
    QStringLiteral("mailto:support@marrowby.example?Subject=Register ") + QString::fromLatin1(kVersionedName);
const QString kFullMailUrl = kSubjectMailUrl +
                             QStringLiteral("&Body="
                                            "Please fill in the details below for my own curiosity. %0A%0D"
                                            "%0A%0D"
                                            "Name: %0A%0D"
                                            "City/Town: %0A%0D"
                                            "Country: %0A%0D"
                                            "Where did you hear about me ? %0A%0D"
                                            "Where did you download ") +
                             QString::fromLatin1(kVersionedName) + QStringLiteral(" %0A%0D");

// Any pixel in the widget's area of the shot close to the colour.
bool HasInk(const QImage& shot, const QRect& area, const QColor& colour) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor seen = shot.pixelColor(x, y);
            if (std::abs(seen.red() - colour.red()) < 40 && std::abs(seen.green() - colour.green()) < 40 &&
                std::abs(seen.blue() - colour.blue()) < 40)
                return true;
        }
    return false;
}

TEST(AboutBox, mailUrlIsBuiltExactly) {
    EXPECT_EQ(TAboutBox::BuildMailUrl(QStringLiteral("support@marrowby.example"), TAboutBox::MailSubject(),
                                      TAboutBox::DefaultBodyLines()),
              kFullMailUrl);
    EXPECT_EQ(
        TAboutBox::BuildMailUrl(QStringLiteral("support@marrowby.example"), TAboutBox::MailSubject(), {}),
        kSubjectMailUrl)
        << "no body part at all for an empty body list";
    EXPECT_EQ(TAboutBox::BuildMailUrl(QStringLiteral("a@b.example"), QStringLiteral("S"), {QString()}),
              QStringLiteral("mailto:a@b.example?Subject=S&Body=%0A%0D"))
        << "a single empty line still gives its line break";
}

TEST(AboutBox, linksOpenTheirAddressesExactly) {
    TAboutBox about;
    QStringList opened;
    about.SetUrlOpener([&](const QString& url) { opened << url; });
    about.show();
    QTest::mouseClick(about.EmailLink, Qt::LeftButton);
    QTest::mouseClick(about.WebLink, Qt::LeftButton);
    about.BodyLines.clear();
    QTest::mouseClick(about.EmailLink, Qt::LeftButton);
    ASSERT_EQ(opened.size(), 3);
    EXPECT_EQ(opened.at(0), kFullMailUrl);
    EXPECT_EQ(opened.at(1), QStringLiteral("www.marrowby.example")) << "no scheme is added";
    EXPECT_EQ(opened.at(2), kSubjectMailUrl);

    QTest::mouseClick(about.EmailLink, Qt::RightButton);
    EXPECT_EQ(opened.size(), 3) << "only the left button follows a link";
}

TEST(AboutBox, tabReachesBothLinksInOrderAndEnterOpensThem) {
    TAboutBox about;
    QStringList opened;
    about.SetUrlOpener([&](const QString& url) { opened << url; });
    about.show();
    about.activateWindow();
    QApplication::processEvents();
    about.EmailLink->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), about.EmailLink);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), about.WebLink);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), about.ReturnButton);
    EXPECT_EQ(opened, (QStringList{kFullMailUrl, QStringLiteral("www.marrowby.example")}));
}

TEST(AboutBox, linkTurnsRedUnderTheMouse) {
    TAboutBox about;
    about.show();
    TLinkLabel* link = about.WebLink;
    const QRect area = link->rect();
    EXPECT_TRUE(HasInk(link->grab().toImage(), area, QColor(0, 0, 255)));
    EXPECT_FALSE(HasInk(link->grab().toImage(), area, QColor(255, 0, 0)));

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(link, &enter);
    EXPECT_TRUE(link->Hot());
    EXPECT_TRUE(HasInk(link->grab().toImage(), area, QColor(255, 0, 0)));
    EXPECT_FALSE(HasInk(link->grab().toImage(), area, QColor(0, 0, 255)));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(link, &leave);
    EXPECT_FALSE(link->Hot());
    EXPECT_TRUE(HasInk(link->grab().toImage(), area, QColor(0, 0, 255)));
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(link->font().underline());
}

TEST(AboutBox, showsFlagAndReturnsToTheProgram) {
    TAboutBox about;
    about.show();
    const QImage shot = about.grab().toImage();
    // The flag's blue field and red cross, at known points of the stretched picture.
    const QPoint flag = about.Flag->pos();
    EXPECT_TRUE(HasInk(shot, QRect(flag + QPoint(15, 4), QSize(3, 3)), QColor(1, 33, 105)));
    EXPECT_TRUE(HasInk(shot, QRect(flag + QPoint(31, 26), QSize(3, 3)), QColor(200, 16, 46)));

    QDir().mkpath(QStringLiteral(KALENDO_SCREENSHOT_DIR));
    shot.save(QStringLiteral(KALENDO_SCREENSHOT_DIR "/about.png"));
    QTest::mouseClick(about.ReturnButton, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
}

} // namespace
} // namespace kalendo
