#include "KalendoVersion.h"
#include "app/Unit2.h"

#include "dates/DateEnvironment.h"
#include "platform/MessageBoxes.h"
#include "update/TestHttpServer.h"
#include "update/UpdateConfig.h"
#include "update/UpdateMessage.h"
#include "update/UpdateTestSupport.h"
#include "update/mxWebUpdate.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace kalendo::update {
namespace {

using platform::MessageButtons;
using platform::MessageRequest;
using platform::MessageResult;

// Sets KALENDO_UPDATE_URL while it lives.
class ScopedUpdateURL {
public:
    explicit ScopedUpdateURL(const QString& url) : previous_(qgetenv(kUpdatePageURLVariable)) {
        qputenv(kUpdatePageURLVariable, url.toUtf8());
    }
    ~ScopedUpdateURL() {
        if (previous_.isEmpty())
            qunsetenv(kUpdatePageURLVariable);
        else
            qputenv(kUpdatePageURLVariable, previous_);
    }

private:
    QByteArray previous_;
};

class MainWindowUpdateTest : public ::testing::Test {
protected:
    std::unique_ptr<app::TForm1> Start() {
        auto form = std::make_unique<app::TForm1>(std::make_shared<platform::MemorySettingsStore>());
        form->SetTerminator([] {});
        form->SetFormMessage(&progressWindow);
        return form;
    }

    ScopedDateEnvironment environment{
        UnitedKingdomSettings(),
        std::make_shared<FixedClock>(EncodeDate(2026, 12, 7) + EncodeTime(12, 0, 0))};
    Tform_Message progressWindow;
    QStringList boxTexts;
    platform::ScopedMessageHandler answerBoxes{[this](const MessageRequest& request) {
        boxTexts.append(request.text);
        return request.buttons == MessageButtons::YesNo ? MessageResult::Yes : MessageResult::Ok;
    }};
};

TEST_F(MainWindowUpdateTest, checkerIsConfiguredForTheProductPage) {
    std::optional<ScopedUpdateURL> noOverride;
    if (qEnvironmentVariableIsSet(kUpdatePageURLVariable)) noOverride.emplace(QString());
    auto form = Start();
    const TmxWebUpdate& checker = *form->mxWebUpdate1;
    EXPECT_EQ(checker.ProductInfo().URL(), "https://www.marrowby.example/newkalendo.htm");
    EXPECT_EQ(checker.ProductInfo().Version(), kalendo::kVersion);
    EXPECT_EQ(checker.Options(), (TmxUpdateOptions{uoRunUpdate, uoTerminate, uoOverwrite}));
    EXPECT_EQ(checker.TargetFolder(), UpdateTargetFolder());
    EXPECT_EQ(checker.HTTPPort(), 80u);
    EXPECT_EQ(form->Panel1->geometry(), QRect(136, 200, 225, 49));
    EXPECT_TRUE(form->Panel1->isHidden());
}

TEST_F(MainWindowUpdateTest, checkForUpdates_downloadsTheInstallerStartsItAndEnds) {
    testing::TestHttpServer server;
    server.ServeHtml("/newkalendo.htm", testing::UpdatePage({{"mxProduct", "Kalendo"},
                                                             {"mxVersion", "2.75"},
                                                             {"mxClientSideName", "kalendo32_275.exe"},
                                                             {"mxDownload", "/files/kalendo32_275.exe"},
                                                             {"mxRunParameters", "/S"}}));
    server.Serve("/files/kalendo32_275.exe", {200, {}, QByteArray(4000, 'k'), false, {}, -1});
    ScopedUpdateURL url(server.Url("/newkalendo.htm"));
    QTemporaryDir base;
    auto form = Start();
    form->mxWebUpdate1->SetTargetFolder(base.path() + "/downloads");
    QStringList started;
    QString parameters;
    int terminations = 0;
    form->mxWebUpdate1->SetShellOpener([&](const QString& fileName, const QString& given) {
        started.append(fileName);
        parameters = given;
        return true;
    });
    form->mxWebUpdate1->SetApplicationTerminator([&] { ++terminations; });
    bool busyShown = false;
    form->mxWebUpdate1->OnDownload =
        [&, flowHandler = form->mxWebUpdate1->OnDownload](QObject* sender, qint32 total, qint32 downloaded) {
            if (total == 4000 && !busyShown) {
                busyShown = form->Panel1->isVisibleTo(form.get());
                QDir().mkpath(KALENDO_SCREENSHOT_DIR);
                form->grab().save(KALENDO_SCREENSHOT_DIR "/update_busy_panel.png");
            }
            flowHandler(sender, total, downloaded);
        };
    testing::InfoWindowAnswer answer(true);

    form->Updates1->trigger();

    const QString target = QDir::toNativeSeparators(base.path() + "/downloads/kalendo32_275.exe");
    ASSERT_EQ(boxTexts.size(), 3);
    EXPECT_TRUE(boxTexts[0].startsWith("You are using version " + QString::fromLatin1(kalendo::kVersion) +
                                       ", but version 2.75 is available"));
    EXPECT_EQ(boxTexts[1], "Update will be downloaded to\r\n" + target);
    EXPECT_EQ(boxTexts[2], "Update has been downloaded to " + target + ".");
    QFile written(target);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray(4000, 'k'));
    EXPECT_EQ(started, QStringList{target});
    EXPECT_EQ(parameters, "/S");
    EXPECT_EQ(terminations, 1);
    EXPECT_TRUE(busyShown);
    EXPECT_TRUE(form->Panel1->isHidden());
    EXPECT_FALSE(progressWindow.isVisible());
}

// File > Exit while a transfer waits for a server that has fallen silent: the program ends at once,
// nothing of the check follows it, and no part of the installer stays on disk.
TEST_F(MainWindowUpdateTest, exitDuringATransfer_endsAtOnceAndLeavesNothingBehind) {
    const QByteArray page = testing::UpdatePage({{"mxProduct", "Kalendo"},
                                                 {"mxVersion", "2.75"},
                                                 {"mxClientSideName", "kalendo32_275.exe"},
                                                 {"mxDownload", "/files/kalendo32_275.exe"}});
    const struct {
        const char* meaning;
        testing::ScriptedResponse page, installer;
        qint32 exitAfter; // bytes of the transfer received when File > Exit is chosen
        qsizetype boxesBeforeExit;
    } rows[] = {
        {"while the page is read", {.body = page, .stallAfter = 40}, {.body = QByteArray(4000, 'k')}, 40, 0},
        {"as the last byte of the page arrives",
         {.body = page},
         {.body = QByteArray(4000, 'k')},
         static_cast<qint32>(page.size()),
         0},
        {"while the installer downloads",
         {.body = page},
         {.body = QByteArray(4000, 'k'), .stallAfter = 1000},
         1000,
         2},
    };
    for (const auto& row : rows) {
        boxTexts.clear();
        testing::TestHttpServer server;
        server.Serve("/newkalendo.htm", row.page);
        server.Serve("/files/kalendo32_275.exe", row.installer);
        ScopedUpdateURL url(server.Url("/newkalendo.htm"));
        QTemporaryDir base;
        const QString folder = base.path() + "/downloads";
        auto form = Start();
        form->SetTerminator({}); // the real end: the application's event loop is told to quit
        TmxWebUpdate& checker = *form->mxWebUpdate1;
        checker.SetTargetFolder(folder);
        int starts = 0;
        checker.SetShellOpener([&](const QString&, const QString&) {
            ++starts;
            return true;
        });
        bool exited = false;
        QStringList eventsAfterExit;
        const auto recordAfterExit = [&](const char* name) {
            return [&, name](auto&&...) {
                if (exited) eventsAfterExit.append(name);
            };
        };
        checker.OnDownload = [&](QObject*, qint32, qint32 downloaded) {
            if (exited) {
                eventsAfterExit.append("Download");
                return;
            }
            if (downloaded != row.exitAfter) return;
            exited = true;
            QTimer::singleShot(0, form.get(), [&] { form->ExitClickItem->trigger(); });
        };
        for (TNotifyEvent* event :
             {&checker.OnDownloadError, &checker.OnAfterGetInfo, &checker.OnNoUpdateFound})
            *event = [previous = *event, record = recordAfterExit("event")](QObject* sender) {
                record();
                previous(sender);
            };
        checker.OnAfterDownload = [previous = checker.OnAfterDownload,
                                   record = recordAfterExit("AfterDownload")](QObject* sender,
                                                                              const QString& fileName) {
            record();
            previous(sender, fileName);
        };
        testing::InfoWindowAnswer answer(true);
        bool checkReturned = false;
        QTimer::singleShot(0, form.get(), [&] {
            form->Updates1->trigger();
            checkReturned = true;
        });

        QApplication::exec();

        EXPECT_TRUE(exited) << row.meaning;
        EXPECT_TRUE(checkReturned) << row.meaning;
        EXPECT_EQ(boxTexts.size(), row.boxesBeforeExit)
            << row.meaning << ": " << boxTexts.join(" | ").toStdString();
        EXPECT_TRUE(eventsAfterExit.isEmpty())
            << row.meaning << ": " << eventsAfterExit.join(", ").toStdString();
        EXPECT_TRUE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty())
            << row.meaning;
        EXPECT_EQ(starts, 0) << row.meaning;
        EXPECT_FALSE(checker.Busy()) << row.meaning;
    }
}

} // namespace
} // namespace kalendo::update
