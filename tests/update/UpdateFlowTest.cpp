#include "update/UpdateFlow.h"

#include "platform/MessageBoxes.h"
#include "update/TestHttpServer.h"
#include "update/UpdateMessage.h"
#include "update/UpdateTestSupport.h"
#include "update/mxWebUpdate.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kalendo::update {
namespace {

using platform::MessageButtons;
using platform::MessageKind;
using platform::MessageRequest;
using platform::MessageResult;
using testing::ScriptedResponse;
using testing::TestHttpServer;

struct ShownBox {
    MessageKind kind;
    QString title;
    QString text;
    MessageButtons buttons;
    QPoint topLeft;
    bool progressVisible;
    bool busyVisible;
};

QByteArray Installer() { return {3000, 'k'}; }

// The flow on a plain window standing in for the main window at (522, 143), with the boxes
// answered and recorded, the installer's start and the application's end captured.
class UpdateFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(base.isValid());
        mainWindow.resize(496, 579);
        mainWindow.move(522, 143);
        busyPanel->setGeometry(136, 200, 225, 49);
        busyPanel->hide();
        checker.ProductInfo().SetURL(server.Url("/newkalendo.htm"));
        checker.ProductInfo().SetVersion("2.74");
        checker.SetOptions({uoRunUpdate, uoTerminate, uoOverwrite});
        checker.SetTargetFolder(folder);
        checker.SetStallTimeout(std::chrono::seconds(3));
        checker.SetShellOpener([this](const QString& fileName, const QString&) {
            started.append(fileName);
            return startSucceeds;
        });
        checker.SetApplicationTerminator([this] { ++terminations; });
    }

    void ServeUpdate(const QString& clientName = "kalendo32_275.exe", const QString& version = "2.75",
                     const ScriptedResponse& installer = {200, {}, Installer(), false, {}, -1}) {
        server.ServeHtml("/newkalendo.htm",
                         testing::UpdatePage({{"mxProduct", "Kalendo"},
                                              {"mxVersion", version},
                                              {"mxClientSideName", clientName},
                                              {"mxDownload", "/files/kalendo32_275.exe"}}));
        server.Serve("/files/kalendo32_275.exe", installer);
    }

    QString Target() const { return QDir::toNativeSeparators(folder + "/kalendo32_275.exe"); }
    QStringList Texts() const {
        QStringList texts;
        for (const ShownBox& box : boxes)
            texts.append(box.text);
        return texts;
    }

    TestHttpServer server;
    QTemporaryDir base;
    QString folder = base.path() + "/downloads";
    QWidget mainWindow;
    QWidget* busyPanel = new QWidget(&mainWindow);
    Tform_Message progressWindow;
    TmxWebUpdate checker;
    TUpdateFlow flow{&mainWindow, busyPanel, &progressWindow, &checker};
    std::vector<ShownBox> boxes;
    MessageResult questionAnswer = MessageResult::Yes;
    platform::ScopedMessageHandler answerBoxes{[this](const MessageRequest& request) {
        boxes.push_back({request.kind, request.title, request.text, request.buttons,
                         request.topLeft.value_or(QPoint()), progressWindow.isVisible(),
                         busyPanel->isVisibleTo(&mainWindow)});
        return request.buttons == MessageButtons::YesNo ? questionAnswer : MessageResult::Ok;
    }};
    QStringList started;
    bool startSucceeds = true;
    int terminations = 0;
};

const QString kCannotDownload = "Cannot download data from the web!";

TEST_F(UpdateFlowTest, noServer_showsProgressThenTheErrorOnceAndCreatesTheFolder) {
    checker.ProductInfo().SetURL(
        QString("http://127.0.0.1:%1/newkalendo.htm").arg(TestHttpServer::UnusedPort()));
    flow.Updates1Click();
    EXPECT_TRUE(QDir(folder).exists());
    ASSERT_EQ(boxes.size(), 1u);
    for (const ShownBox& box : boxes) {
        EXPECT_EQ(box.kind, MessageKind::Error);
        EXPECT_EQ(box.title, "Error");
        EXPECT_EQ(box.text, kCannotDownload);
        EXPECT_EQ(box.buttons, MessageButtons::Ok);
        EXPECT_EQ(box.topLeft, QPoint(522 + 115, 143 + 213));
        EXPECT_FALSE(box.progressVisible);
    }
    EXPECT_EQ(progressWindow.pos(), QPoint(522 + 135, 143 + 245));
    EXPECT_EQ(progressWindow.panel_message->text(), "Checking for an update...");
    EXPECT_EQ(progressWindow.Color(), QColor(255, 0, 0));
    EXPECT_EQ(progressWindow.BorderWidth(), 5);
    EXPECT_FALSE(progressWindow.isVisible());
    EXPECT_FALSE(busyPanel->isVisibleTo(&mainWindow));
}

TEST_F(UpdateFlowTest, sameVersion_saysThereIsNoUpdate) {
    ServeUpdate("kalendo32_275.exe", "2.74");
    flow.Updates1Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, MessageKind::Information);
    EXPECT_EQ(boxes[0].title, "Information");
    EXPECT_EQ(boxes[0].text, "You have the latest version, there is no update available at this time!");
    EXPECT_EQ(boxes[0].topLeft, QPoint(522 + 35, 143 + 230));
    EXPECT_EQ(server.RequestCount("/files/kalendo32_275.exe"), 0);
}

TEST_F(UpdateFlowTest, noToTheQuestion_endsTheCheck) {
    ServeUpdate();
    questionAnswer = MessageResult::No;
    flow.Updates1Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, MessageKind::Warning);
    EXPECT_EQ(boxes[0].title, "Warning");
    EXPECT_EQ(boxes[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(boxes[0].text,
              "You are using version 2.74, but version 2.75 is available to \r\n"
              "download at the author's website.\r\nDo you want to update your application now?");
    EXPECT_EQ(boxes[0].topLeft, QPoint(522 + 60, 143 + 210));
    EXPECT_FALSE(boxes[0].progressVisible);
    EXPECT_EQ(checker.InfoWindow(), nullptr);
    EXPECT_EQ(server.RequestCount("/files/kalendo32_275.exe"), 0);
}

TEST_F(UpdateFlowTest, acceptedUpdate_replacesTheFileReportsItAndStartsIt) {
    ServeUpdate();
    QDir().mkdir(folder);
    QFile old(Target());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    std::vector<bool> busyDuringDownload;
    checker.OnDownload = [&, flowHandler = checker.OnDownload](QObject* sender, qint32 total,
                                                               qint32 downloaded) {
        busyDuringDownload.push_back(busyPanel->isVisibleTo(&mainWindow));
        flowHandler(sender, total, downloaded);
    };
    testing::InfoWindowAnswer answer(true);
    flow.Updates1Click();
    EXPECT_EQ(answer.Answered(), 1);
    EXPECT_EQ(Texts(), (QStringList{boxes.at(0).text, "Update will be downloaded to\r\n" + Target(),
                                    "Update has been downloaded to " + Target() + "."}));
    EXPECT_EQ(boxes[1].topLeft, QPoint(522 + 120, 143 + 230));
    EXPECT_FALSE(boxes[1].busyVisible);
    EXPECT_EQ(boxes[2].kind, MessageKind::Information);
    EXPECT_EQ(boxes[2].topLeft, QPoint(522 + 35, 143 + 230));
    EXPECT_FALSE(boxes[2].busyVisible);
    EXPECT_EQ(busyDuringDownload.back(), true);
    QFile written(Target());
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), Installer());
    EXPECT_EQ(started, QStringList{Target()});
    EXPECT_EQ(terminations, 1);
    EXPECT_FALSE(progressWindow.isVisible());
}

// Nothing was started, so the program the user has stays, and says where the update is.
TEST_F(UpdateFlowTest, updateThatCannotBeOpened_isReportedWithItsPathAndTheProgramStays) {
    ServeUpdate();
    startSucceeds = false;
    testing::InfoWindowAnswer answer(true);
    flow.Updates1Click();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[2].text, "Update has been downloaded to " + Target() + ".");
    EXPECT_EQ(boxes[3].kind, MessageKind::Error);
    EXPECT_EQ(boxes[3].title, "Error");
    EXPECT_EQ(boxes[3].text, "Cannot start the update!\r\nIt has been saved to\r\n" + Target());
    EXPECT_EQ(boxes[3].buttons, MessageButtons::Ok);
    EXPECT_EQ(boxes[3].topLeft, QPoint(522 + 115, 143 + 213));
    EXPECT_EQ(started, QStringList{Target()});
    EXPECT_EQ(terminations, 0);
    EXPECT_TRUE(QFile::exists(Target()));
}

TEST_F(UpdateFlowTest, failedDownload_showsOnlyTheErrorAndClearsTheBusyPanel) {
    ScriptedResponse shortBody{200, {}, Installer(), false, "9000", -1};
    ServeUpdate("kalendo32_275.exe", "2.75", shortBody);
    testing::InfoWindowAnswer answer(true);
    flow.Updates1Click();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[2].text, kCannotDownload);
    EXPECT_FALSE(busyPanel->isVisibleTo(&mainWindow));
    EXPECT_FALSE(progressWindow.isVisible());
    EXPECT_FALSE(QFile::exists(Target()));
    EXPECT_TRUE(started.isEmpty());
    EXPECT_EQ(terminations, 0);
}

TEST_F(UpdateFlowTest, unusableFileName_isReportedBeforeAnythingIsAnnounced) {
    ServeUpdate("..");
    testing::InfoWindowAnswer answer(true);
    flow.Updates1Click();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, kCannotDownload);
    EXPECT_FALSE(busyPanel->isVisibleTo(&mainWindow));
    EXPECT_EQ(server.RequestCount("/files/kalendo32_275.exe"), 0);
}

TEST_F(UpdateFlowTest, secondClickDuringADownload_onlyShowsTheProgressWindow) {
    ServeUpdate();
    bool clickedAgain = false;
    bool progressAfterSecondClick = false;
    checker.OnDownload = [&](QObject*, qint32 total, qint32) {
        if (clickedAgain || total != 3000) return;
        clickedAgain = true;
        flow.Updates1Click();
        progressAfterSecondClick = progressWindow.isVisible();
    };
    int pageReads = 0;
    checker.OnBeforeGetInfo = [&, flowHandler = checker.OnBeforeGetInfo](QObject* sender) {
        ++pageReads;
        flowHandler(sender);
    };
    testing::InfoWindowAnswer answer(true);
    flow.Updates1Click();
    EXPECT_TRUE(progressAfterSecondClick);
    EXPECT_EQ(pageReads, 1);
    EXPECT_EQ(boxes.size(), 3u);
    EXPECT_FALSE(progressWindow.isVisible());
}

} // namespace
} // namespace kalendo::update
