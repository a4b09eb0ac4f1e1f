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
    EXPECT_EQ(checker.ProductInfo().Version(), "2.74");
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
    QStringList arguments;
    int terminations = 0;
    form->mxWebUpdate1->SetProcessStarter([&](const QString& program, const QStringList& given) {
        started.append(program);
        arguments = given;
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
    EXPECT_TRUE(boxTexts[0].startsWith("You are using version 2.74, but version 2.75 is available"));
    EXPECT_EQ(boxTexts[1], "Update will be downloaded to\r\n" + target);
    EXPECT_EQ(boxTexts[2], "Update has been downloaded to " + target + ".");
    QFile written(target);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray(4000, 'k'));
    EXPECT_EQ(started, QStringList{target});
    EXPECT_EQ(arguments, QStringList{"/S"});
    EXPECT_EQ(terminations, 1);
    EXPECT_TRUE(busyShown);
    EXPECT_TRUE(form->Panel1->isHidden());
    EXPECT_FALSE(progressWindow.isVisible());
}

} // namespace
} // namespace kalendo::update
