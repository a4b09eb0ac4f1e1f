#include "update/UpdateFlow.h"

#include "platform/MessageBoxes.h"
#include "update/UpdateMessage.h"
#include "update/mxWebUpdate.h"

#include <QDir>
#include <QLabel>
#include <QWidget>

namespace kalendo::update {

namespace {

using platform::MessageButtons;
using platform::MessageKind;
using platform::MessageRequest;
using platform::MessageResult;

const QColor kProgressBandColour(255, 0, 0);
constexpr int kProgressBandWidth = 5;

MessageResult ShowBox(MessageKind kind, const QString& text, MessageButtons buttons, QPoint topLeft,
                      QWidget* parent) {
    MessageRequest request;
    request.kind = kind;
    request.text = text;
    request.buttons = buttons;
    request.title = platform::DefaultTitle(kind);
    request.topLeft = topLeft;
    request.parent = parent;
    return platform::ShowMessageBox(request);
}

} // namespace

TUpdateFlow::TUpdateFlow(QWidget* mainWindow, QWidget* busyPanel, Tform_Message* progressWindow,
                         TmxWebUpdate* checker, QObject* parent)
    : QObject(parent), mainWindow_(mainWindow), busyPanel_(busyPanel), progressWindow_(progressWindow),
      checker_(checker) {
    checker_->OnAfterDownload = [this](QObject* sender, const QString& fileName) {
        mxWebUpdate1AfterDownload(sender, fileName);
    };
    checker_->OnUpdateAvailable = [this](QObject* sender, const QString& actual, const QString& newer,
                                         bool& canUpdate) {
        mxWebUpdate1UpdateAvailable(sender, actual, newer, canUpdate);
    };
    checker_->OnGetClientFileName = [this](QObject* sender, QString& fileName) {
        mxWebUpdate1GetClientFileName(sender, fileName);
    };
    checker_->OnClientFileExists = [this](QObject* sender, QString& fileName, bool& overwrite) {
        mxWebUpdate1ClientFileExists(sender, fileName, overwrite);
    };
    checker_->OnBeforeShowInfo = [this](QObject* sender, bool& showInfo, bool& checkForUpdate) {
        mxWebUpdate1BeforeShowInfo(sender, showInfo, checkForUpdate);
    };
    checker_->OnAfterShowInfo = [this](QObject* sender, bool checkForUpdate) {
        mxWebUpdate1AfterShowInfo(sender, checkForUpdate);
    };
    checker_->OnBeforeGetInfo = [this](QObject* sender) { mxWebUpdate1BeforeGetInfo(sender); };
    checker_->OnAfterGetInfo = [this](QObject* sender) { mxWebUpdate1AfterGetInfo(sender); };
    checker_->OnNoUpdateFound = [this](QObject* sender) { mxWebUpdate1NoUpdateFound(sender); };
    checker_->OnDownload = [this](QObject* sender, qint32 total, qint32 downloaded) {
        mxWebUpdate1Download(sender, total, downloaded);
    };
    checker_->OnDownloadError = [this](QObject* sender) { mxWebUpdate1DownloadError(sender); };
    checker_->OnCannotExecute = [this](QObject* sender) { mxWebUpdate1CannotExecute(sender); };
}

void TUpdateFlow::SetProgressWindow(Tform_Message* progressWindow) { progressWindow_ = progressWindow; }

QPoint TUpdateFlow::MainWindowOffset(int right, int down) const {
    return (mainWindow_ ? mainWindow_->pos() : QPoint()) + QPoint(right, down);
}

void TUpdateFlow::ShowProgressWindow() {
    if (!progressWindow_) return;
    progressWindow_->SetColor(kProgressBandColour);
    progressWindow_->SetBorderWidth(kProgressBandWidth);
    progressWindow_->move(MainWindowOffset(135, 245));
    progressWindow_->panel_message->setText(QStringLiteral("Checking for an update..."));
    progressWindow_->show();
    progressWindow_->repaint();
}

void TUpdateFlow::HideProgressWindow() {
    if (progressWindow_) progressWindow_->hide();
}

void TUpdateFlow::Updates1Click() {
    const QString folder = checker_->TargetFolder();
    // One level only; a folder that cannot be made sends the download to the temporary folder.
    if (!folder.isEmpty() && !QDir(folder).exists()) QDir().mkdir(folder);
    ShowProgressWindow();
    checker_->CheckForNewVersion();
}

void TUpdateFlow::mxWebUpdate1BeforeGetInfo(QObject*) { ShowProgressWindow(); }

void TUpdateFlow::mxWebUpdate1AfterGetInfo(QObject*) { HideProgressWindow(); }

void TUpdateFlow::mxWebUpdate1DownloadError(QObject*) {
    HideProgressWindow();
    // A failed download ends the busy stage too; the panel must not outlive it.
    if (busyPanel_) busyPanel_->hide();
    ShowBox(MessageKind::Error, QStringLiteral("Cannot download data from the web!"), MessageButtons::Ok,
            MainWindowOffset(115, 213), mainWindow_);
}

void TUpdateFlow::mxWebUpdate1NoUpdateFound(QObject*) {
    HideProgressWindow();
    ShowBox(MessageKind::Information,
            QStringLiteral("You have the latest version, there is no update available at this time!"),
            MessageButtons::Ok, MainWindowOffset(35, 230), mainWindow_);
}

void TUpdateFlow::mxWebUpdate1UpdateAvailable(QObject*, const QString& ActualVersion,
                                              const QString& NewVersion, bool& CanUpdate) {
    HideProgressWindow();
    const QString question = QStringLiteral("You are using version %1, but version %2 is available to \r\n"
                                            "download at the author's website.\r\n"
                                            "Do you want to update your application now?")
                                 .arg(ActualVersion, NewVersion);
    CanUpdate = ShowBox(MessageKind::Warning, question, MessageButtons::YesNo, MainWindowOffset(60, 210),
                        mainWindow_) == MessageResult::Yes;
}

void TUpdateFlow::mxWebUpdate1BeforeShowInfo(QObject*, bool&, bool&) {}

void TUpdateFlow::mxWebUpdate1AfterShowInfo(QObject*, bool) {}

void TUpdateFlow::mxWebUpdate1GetClientFileName(QObject*, QString& FileName) {
    HideProgressWindow();
    ShowBox(MessageKind::Information,
            QStringLiteral("Update will be downloaded to\r\n%1").arg(QDir::toNativeSeparators(FileName)),
            MessageButtons::Ok, MainWindowOffset(120, 230), mainWindow_);
    if (busyPanel_) {
        busyPanel_->show();
        busyPanel_->raise();
    }
}

void TUpdateFlow::mxWebUpdate1ClientFileExists(QObject*, QString&, bool&) {}

void TUpdateFlow::mxWebUpdate1Download(QObject*, qint32, qint32) {}

void TUpdateFlow::mxWebUpdate1AfterDownload(QObject*, const QString& FileName) {
    HideProgressWindow();
    if (busyPanel_) busyPanel_->hide();
    // A failed download has already been reported by the error box; only a file that is really
    // there is announced, under the name it was written to.
    if (!checker_->Success()) return;
    ShowBox(MessageKind::Information,
            QStringLiteral("Update has been downloaded to %1.").arg(QDir::toNativeSeparators(FileName)),
            MessageButtons::Ok, MainWindowOffset(35, 230), mainWindow_);
}

void TUpdateFlow::mxWebUpdate1CannotExecute(QObject*) {
    // The program stays open; the user must be told where the update is to start it by hand.
    ShowBox(MessageKind::Error,
            QStringLiteral("Cannot start the update!\r\nIt has been saved to\r\n%1")
                .arg(QDir::toNativeSeparators(checker_->ClientFile())),
            MessageButtons::Ok, MainWindowOffset(115, 213), mainWindow_);
}

} // namespace kalendo::update
