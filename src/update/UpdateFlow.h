#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

class QWidget;

namespace kalendo::update {

class Tform_Message;
class TmxWebUpdate;

// The main window's side of the update check: the "Check for Updates" command and the handlers
// that turn the checker's events into the progress window, message boxes and the busy panel.
// Constructing it assigns the handlers to the checker.
class TUpdateFlow : public QObject {
    Q_OBJECT

public:
    TUpdateFlow(QWidget* mainWindow, QWidget* busyPanel, Tform_Message* progressWindow, TmxWebUpdate* checker,
                QObject* parent = nullptr);

    // The progress window is made by the program after the main window, so it may come later.
    void SetProgressWindow(Tform_Message* progressWindow);

    void Updates1Click();

    void mxWebUpdate1BeforeGetInfo(QObject* Sender);
    void mxWebUpdate1AfterGetInfo(QObject* Sender);
    void mxWebUpdate1DownloadError(QObject* Sender);
    void mxWebUpdate1NoUpdateFound(QObject* Sender);
    void mxWebUpdate1UpdateAvailable(QObject* Sender, const QString& ActualVersion, const QString& NewVersion,
                                     bool& CanUpdate);
    void mxWebUpdate1BeforeShowInfo(QObject* Sender, bool& ShowInfo, bool& CheckForUpdate);
    void mxWebUpdate1AfterShowInfo(QObject* Sender, bool CheckForUpdate);
    void mxWebUpdate1GetClientFileName(QObject* Sender, QString& FileName);
    void mxWebUpdate1ClientFileExists(QObject* Sender, QString& FileName, bool& Overwrite);
    void mxWebUpdate1Download(QObject* Sender, qint32 Total, qint32 Downloaded);
    void mxWebUpdate1AfterDownload(QObject* Sender, const QString& FileName);
    void mxWebUpdate1CannotExecute(QObject* Sender);

private:
    void ShowProgressWindow();
    void HideProgressWindow();
    QPoint MainWindowOffset(int right, int down) const;

    QPointer<QWidget> mainWindow_;
    QPointer<QWidget> busyPanel_;
    QPointer<Tform_Message> progressWindow_;
    TmxWebUpdate* checker_;
};

} // namespace kalendo::update
