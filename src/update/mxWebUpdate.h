#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class QUrl;

namespace kalendo::update {

class Tfrm_ShowInfoUpdate;

enum TmxUpdateOption : std::uint8_t { uoRunUpdate = 0, uoTerminate = 1, uoOverwrite = 2 };

// A set of TmxUpdateOption, one bit per option (bit 0 = uoRunUpdate).
class TmxUpdateOptions {
public:
    constexpr TmxUpdateOptions() = default;
    constexpr TmxUpdateOptions(std::initializer_list<TmxUpdateOption> options) {
        for (TmxUpdateOption option : options)
            bits_ |= Bit(option);
    }
    constexpr bool Contains(TmxUpdateOption option) const { return (bits_ & Bit(option)) != 0; }
    constexpr void Include(TmxUpdateOption option) { bits_ |= Bit(option); }
    constexpr void Exclude(TmxUpdateOption option) { bits_ &= static_cast<std::uint8_t>(~Bit(option)); }
    constexpr std::uint8_t Bits() const { return bits_; }
    friend constexpr bool operator==(TmxUpdateOptions, TmxUpdateOptions) = default;

private:
    static constexpr std::uint8_t Bit(TmxUpdateOption option) {
        return static_cast<std::uint8_t>(1u << static_cast<unsigned>(option));
    }
    std::uint8_t bits_ = 0;
};

enum TmxVersionFormat { vfStandard, vfString, vfNumber };

// The META names looked for on the update page.
struct TmxTagInfo {
    QString Author = QStringLiteral("mxAuthor");
    QString Email = QStringLiteral("mxEmail");
    QString ClientFileName = QStringLiteral("mxClientSideName");
    QString Download = QStringLiteral("mxDownload");
    QString ProductName = QStringLiteral("mxProduct");
    QString Redirection = QStringLiteral("mxRedirection");
    QString RunParameters = QStringLiteral("mxRunParameters");
    QString Version = QStringLiteral("mxVersion");
    // Optional: the installer's SHA-256 in hexadecimal. A page without it is not checked.
    QString SHA256 = QStringLiteral("mxSHA256");
};

// The product page and the running version.
class TmxProductInfo {
public:
    const QString& URL() const { return url_; }
    // A value without "http://" or "https://" in front gets "http://" in front.
    void SetURL(const QString& value);
    const QString& Version() const { return version_; }
    void SetVersion(const QString& value) { version_ = value; }
    TmxVersionFormat VersionFormat() const { return versionFormat_; }
    void SetVersionFormat(TmxVersionFormat value) { versionFormat_ = value; }

private:
    QString url_ = QStringLiteral("http://");
    QString version_ = QStringLiteral("1.0");
    TmxVersionFormat versionFormat_ = vfStandard;
};

// Captions of the information window, applied each time it is shown.
struct TmxInfoCaption {
    QString OkButton = QStringLiteral("&OK");
    QString CancelButton = QStringLiteral("&Cancel");
    QString CheckForUpdate = QStringLiteral("C&heck for updates in the future");
};

using TNotifyEvent = std::function<void(QObject* Sender)>;
using TDownloadFileEvent = std::function<void(QObject* Sender, const QString& FileName)>;
using TUpdateAvailableEvent = std::function<void(QObject* Sender, const QString& ActualVersion,
                                                 const QString& NewVersion, bool& CanUpdate)>;
using TGetClientFileNameEvent = std::function<void(QObject* Sender, QString& FileName)>;
using TClientFileExistsEvent = std::function<void(QObject* Sender, QString& FileName, bool& Overwrite)>;
using TShowInfoEvent = std::function<void(QObject* Sender, bool& ShowInfo, bool& CheckForUpdate)>;
using TAfterShowInfoEvent = std::function<void(QObject* Sender, bool CheckForUpdate)>;
using TDownloadEvent = std::function<void(QObject* Sender, qint32 Total, qint32 Downloaded)>;

// The shell's "open" of the downloaded file with the page's run parameters; true when something
// was started.
using TShellOpener = std::function<bool(const QString& FileName, const QString& Parameters)>;
// Asks the application to end once control returns to its event loop.
using TApplicationTerminator = std::function<void()>;
// The clock that transfer stalls are measured by.
using TStallClock = std::function<std::chrono::steady_clock::time_point()>;

// Checks the product's update page for a newer version, asks through its events, downloads the
// installer into the target folder and optionally starts it and ends the application. All work
// runs on the GUI thread; transfers wait in local event loops, so the interface stays responsive.
class TmxWebUpdate : public QObject {
    Q_OBJECT

public:
    // Transfers whose server sends nothing for this long fail, however long the wait has lasted.
    static constexpr std::chrono::milliseconds kDefaultStallTimeout{30000};
    // Announced lengths beyond this fail without reading; memory pages are cut off there too.
    static constexpr qint64 kMaxTransferBytes = qint64{1} << 30;
    // Pages read for one check, the product page included, before the chain counts as broken.
    static constexpr int kMaxPageChain = 10;
    // HTTP-level redirections followed for one request.
    static constexpr int kMaxHttpRedirects = 10;
    // Bytes handed on per read step.
    static constexpr qint64 kReadChunk = 1025;

    explicit TmxWebUpdate(QObject* owner = nullptr);
    ~TmxWebUpdate() override;

    TmxTagInfo& TagInfo() { return tagInfo_; }
    const TmxTagInfo& TagInfo() const { return tagInfo_; }
    TmxProductInfo& ProductInfo() { return productInfo_; }
    const TmxProductInfo& ProductInfo() const { return productInfo_; }
    TmxInfoCaption& InfoCaption() { return infoCaption_; }
    const TmxInfoCaption& InfoCaption() const { return infoCaption_; }
    const QString& UserName() const { return userName_; }
    void SetUserName(const QString& value) { userName_ = value; }
    const QString& Password() const { return password_; }
    void SetPassword(const QString& value) { password_ = value; }
    TmxUpdateOptions Options() const { return options_; }
    void SetOptions(TmxUpdateOptions value) { options_ = value; }
    // The component's own version, "1.21"; read-only.
    QString Version() const;
    const QString& TargetFolder() const { return targetFolder_; }
    void SetTargetFolder(const QString& value) { targetFolder_ = value; }
    quint32 HTTPPort() const { return httpPort_; }
    void SetHTTPPort(quint32 value) { httpPort_ = value; }

    TDownloadFileEvent OnBeforeDownload;
    TDownloadFileEvent OnAfterDownload;
    TUpdateAvailableEvent OnUpdateAvailable;
    TGetClientFileNameEvent OnGetClientFileName;
    TClientFileExistsEvent OnClientFileExists;
    TShowInfoEvent OnBeforeShowInfo;
    TAfterShowInfoEvent OnAfterShowInfo;
    TNotifyEvent OnBeforeGetInfo;
    TNotifyEvent OnCannotExecute;
    TNotifyEvent OnAfterGetInfo;
    TNotifyEvent OnNoUpdateFound;
    TDownloadEvent OnDownload;
    TNotifyEvent OnDownloadError;

    const QStringList& PageLines() const { return pageLines_; }
    const QString& PageAuthor() const { return pageAuthor_; }
    const QString& PageEmail() const { return pageEmail_; }
    const QString& ClientSideName() const { return clientSideName_; }
    const QString& DownloadURL() const { return downloadURL_; }
    const QString& PageProductName() const { return pageProductName_; }
    const QString& RedirectionURL() const { return redirectionURL_; }
    const QString& PageRunParameters() const { return pageRunParameters_; }
    const QString& NewVersion() const { return newVersion_; }
    const QString& PageSHA256() const { return pageSHA256_; }
    const QString& ClientFile() const { return clientFile_; }
    bool Success() const { return success_; }
    qint32 TotalSize() const { return totalSize_; }
    qint32 Downloaded() const { return downloaded_; }
    qint32 LastRead() const { return lastRead_; }
    bool Busy() const { return busy_; }
    bool Aborted() const { return aborted_; }
    // The information window, once ShowInfo has made it.
    Tfrm_ShowInfoUpdate* InfoWindow() const { return infoWindow_.get(); }

    // Empty: the platform's own (platform::ShellOpenFile).
    void SetShellOpener(TShellOpener opener);
    void SetApplicationTerminator(TApplicationTerminator terminator);
    void SetStallTimeout(std::chrono::milliseconds timeout) { stallTimeout_ = timeout; }
    std::chrono::milliseconds StallTimeout() const { return stallTimeout_; }
    void SetStallClock(TStallClock clock);
    // The stall timer's tick, due when a waiting transfer may have stalled; public so that tests
    // can bring it due without waiting.
    void StallTimerTimer();

    // The whole check; true when a newer version was downloaded.
    bool CheckForNewVersion();
    // Stops the running transfer at its next test.
    void CancelTransfer();
    // Ends the running check because the application is ending: its transfer stops at once, the
    // partial file goes, and the check raises no further event and starts nothing. Does nothing
    // when no check runs.
    void AbandonCheck();
    // From AbandonCheck until the next check starts.
    bool Abandoned() const { return abandoned_; }
    // Reads the product page, following the page's redirection entries.
    void GetInfo();
    // Fills the page values from PageLines.
    void ParseInfoTags();
    bool IsNewerVersion();
    // Forms the local file name and downloads the installer.
    void DownloadUpdate();
    // One GET. RequireSize: a response without a length fails. ToFile: the body goes to FileName
    // (through a temporary file beside it, renamed on success), otherwise into PageLines.
    // ExpectedSHA256, when not empty, is the hexadecimal digest the file must have.
    bool FetchURL(const QString& URL, const QString& UserName, const QString& Password, bool RequireSize,
                  bool ToFile, const QString& FileName = {}, const QString& ExpectedSHA256 = {});

    virtual void DoDownload();
    virtual void DoDownloadError();
    virtual void DoBeforeDownload(const QString& FileName);
    virtual void DoAfterDownload(const QString& FileName);
    virtual void DoNoUpdateFound();
    virtual void DoAfterGetInfo();
    virtual void DoBeforeGetInfo();
    virtual void DoCannotExecute();
    virtual bool ShowInfo();
    // Empty when the page's client file name is unusable or no folder can be found.
    virtual QString GetDefaultClientFileName();
    virtual void SplitURL(const QString& URL, QString& Host, QString& Path);
    virtual void DoUpdateAvailable(const QString& ActualVersion, const QString& NewVersion, bool& CanUpdate);
    virtual void DoGetClientFileName(QString& FileName);
    virtual void DoClientFileExists(QString& FileName, bool& Overwrite);
    virtual void DoBeforeShowInfo(bool& ShowInfo, bool& CheckForUpdate);
    virtual void DoAfterShowInfo(bool CheckForUpdate);

private:
    enum class WaitResult { Activity, Stalled, Cancelled };
    struct TransferWait;

    bool OpenFollowingRedirects(QUrl address, QPointer<QNetworkReply>& reply);
    bool RunTransfer(const QUrl& url, bool RequireSize, bool ToFile, const QString& FileName,
                     const QString& ExpectedSHA256);
    WaitResult WaitForActivity(QNetworkReply* reply);
    void NoteArrival() { lastArrival_ = stallClock_(); }
    void StartStallTimer(TransferWait& wait);
    QUrl TransferURL(const QString& URL);
    void ClearPageValues();
    bool StartDownloadedFile();

    TmxTagInfo tagInfo_;
    TmxProductInfo productInfo_;
    TmxInfoCaption infoCaption_;
    QString userName_;
    QString password_;
    TmxUpdateOptions options_{uoRunUpdate, uoTerminate};
    QString targetFolder_;
    quint32 httpPort_ = 80;

    QStringList pageLines_;
    QString pageAuthor_;
    QString pageEmail_;
    QString clientSideName_;
    QString downloadURL_;
    QString pageProductName_;
    QString redirectionURL_;
    QString pageRunParameters_;
    QString newVersion_;
    QString pageSHA256_;
    QString clientFile_;
    bool success_ = false;
    qint32 totalSize_ = 0;
    qint32 downloaded_ = 0;
    qint32 lastRead_ = 0;
    bool busy_ = false;
    bool aborted_ = false;
    bool abandoned_ = false;

    QNetworkAccessManager* network_ = nullptr;
    TransferWait* currentWait_ = nullptr;
    QString transferUser_;
    QString transferPassword_;
    std::unique_ptr<Tfrm_ShowInfoUpdate> infoWindow_;
    TShellOpener shellOpener_;
    TApplicationTerminator applicationTerminator_;
    std::chrono::milliseconds stallTimeout_ = kDefaultStallTimeout;
    TStallClock stallClock_;
    // When the current transfer last received something (its start, before the first bytes).
    std::chrono::steady_clock::time_point lastArrival_{};
};

// The version rule of IsNewerVersion without its event: whether candidate is newer than current.
bool IsVersionNewer(const QString& current, const QString& candidate, TmxVersionFormat format);

// The last path component of a name taken from a web page; empty when nothing usable is left
// ("", ".", "..", a drive or stream prefix, control characters).
QString SafeClientFileName(const QString& pageName);

} // namespace kalendo::update
