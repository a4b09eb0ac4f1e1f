#include "update/mxWebUpdateInfo.h"

#include "update/TestHttpServer.h"
#include "update/UpdateTestSupport.h"
#include "update/mxWebUpdate.h"

#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <optional>

namespace kalendo::update {
namespace {

using testing::TestHttpServer;

TEST(InfoWindow, isLaidOutAsDesigned) {
    Tfrm_ShowInfoUpdate window;
    EXPECT_EQ(window.windowTitle(), "mxWebUpdate");
    EXPECT_EQ(window.size(), QSize(530, 453));
    EXPECT_FALSE(window.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint));
    EXPECT_TRUE(window.chk_FutureUpdate->isChecked());
    EXPECT_TRUE(window.btn_OK->isDefault());
    for (QPushButton* button : {window.btn_OK, window.btn_Cancel}) {
        EXPECT_EQ(button->size(), QSize(75, 25));
        EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);
    }
    window.show();
    EXPECT_EQ(window.Panel_Check->height(), 31);
    EXPECT_EQ(window.Panel_Bottom->height(), 41);
    EXPECT_EQ(window.Panel_Bottom->geometry().bottom(), window.height() - 1);
}

TEST(InfoWindow, bottomStripResize_centresTheButtons) {
    const struct {
        const char* meaning;
        int stripWidth, okLeft;
    } rows[] = {
        {"design width", 530, 187},
        {"odd width rounds down", 531, 187},
        {"wide window", 800, 322},
        {"strip narrower than the buttons truncates toward zero", 99, -28},
    };
    Tfrm_ShowInfoUpdate window;
    window.show();
    for (const auto& row : rows) {
        window.Panel_Bottom->resize(row.stripWidth, 41);
        EXPECT_EQ(window.btn_OK->x(), row.okLeft) << row.meaning;
        EXPECT_EQ(window.btn_Cancel->x(), row.okLeft + 78) << row.meaning;
    }
    window.resize(640, 453);
    EXPECT_EQ(window.btn_OK->x(), (640 - 156) / 2);
}

TEST(InfoWindow, buttonsAndEscapeCloseWithTheirResult) {
    Tfrm_ShowInfoUpdate window;
    window.open();
    QTest::mouseClick(window.btn_OK, Qt::LeftButton);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    window.open();
    QTest::mouseClick(window.btn_Cancel, Qt::LeftButton);
    EXPECT_EQ(window.result(), QDialog::Rejected);
    window.open();
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Rejected);
}

TEST(InfoWindow, showsThePageFromTheWebAndNothingItRefersTo) {
    TestHttpServer server;
    server.ServeHtml("/newkalendo.htm", testing::UpdatePage({{"mxVersion", "2.75"}}));
    Tfrm_ShowInfoUpdate window;
    QSignalSpy loaded(&window, &Tfrm_ShowInfoUpdate::PageLoaded);
    window.Navigate(QUrl(server.Url("/newkalendo.htm")));
    window.show();
    ASSERT_TRUE(loaded.wait(3000));
    EXPECT_TRUE(loaded.at(0).at(0).toBool());
    EXPECT_TRUE(window.WebBrowser->toPlainText().contains("A new version is ready."));
    QDir().mkpath(KALENDO_SCREENSHOT_DIR);
    window.grab().save(KALENDO_SCREENSHOT_DIR "/update_info_window.png");

    QTemporaryFile localFile;
    ASSERT_TRUE(localFile.open());
    localFile.write("secret");
    localFile.flush();
    EXPECT_FALSE(window.WebBrowser
                     ->loadResource(QTextDocument::ImageResource, QUrl::fromLocalFile(localFile.fileName()))
                     .isValid());

    window.Navigate(QUrl(QString("http://127.0.0.1:%1/gone.htm").arg(TestHttpServer::UnusedPort())));
    ASSERT_TRUE(loaded.wait(3000));
    EXPECT_FALSE(loaded.at(1).at(0).toBool());
    EXPECT_TRUE(window.WebBrowser->toPlainText().startsWith("The update page could not be loaded"));
}

TEST(InfoWindow, showInfo_appliesCaptionsAndReportsTheCheckBox) {
    TestHttpServer server;
    server.ServeHtml("/newkalendo.htm", "<p>Kalendo</p>");
    TmxWebUpdate checker;
    checker.ProductInfo().SetURL(server.Url("/newkalendo.htm"));
    checker.InfoCaption() = {"Yes, &update", "&Not now", "&Remind me"};
    checker.OnBeforeShowInfo = [](QObject*, bool&, bool& checkForUpdate) { checkForUpdate = false; };
    std::optional<bool> reported;
    checker.OnAfterShowInfo = [&](QObject*, bool checkForUpdate) { reported = checkForUpdate; };
    testing::InfoWindowAnswer answer(true);
    EXPECT_TRUE(checker.ShowInfo());
    Tfrm_ShowInfoUpdate* window = checker.InfoWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->btn_OK->text(), "Yes, &update");
    EXPECT_EQ(window->btn_Cancel->text(), "&Not now");
    EXPECT_EQ(window->chk_FutureUpdate->text(), "&Remind me");
    EXPECT_EQ(reported, std::optional<bool>(false));

    checker.OnBeforeShowInfo = [](QObject*, bool& showInfo, bool&) { showInfo = false; };
    reported.reset();
    EXPECT_TRUE(checker.ShowInfo());
    EXPECT_FALSE(reported.has_value());
}

} // namespace
} // namespace kalendo::update
