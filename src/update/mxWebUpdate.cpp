#include "update/mxWebUpdate.h"

#include "platform/ShellOpen.h"
#include "update/DownloadFile.h"
#include "update/UpdateNetwork.h"
#include "update/mxWebUpdateInfo.h"

#include <QAuthenticator>
#include <QCheckBox>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryFile>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <optional>
#include <utility>

namespace kalendo::update {

namespace {

constexpr quint16 kComponentVersion = (1 << 8) | 21; // major in the high byte, minor in the low

const QLatin1String kHttpPrefix("http://");
const QLatin1String kHttpsPrefix("https://");

bool StartsWithNoCase(const QString& text, QLatin1String prefix) {
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

qsizetype SchemeLength(const QString& url) {
    if (StartsWithNoCase(url, kHttpPrefix)) return kHttpPrefix.size();
    if (StartsWithNoCase(url, kHttpsPrefix)) return kHttpsPrefix.size();
    return 0;
}

// The text up to the first double quote among the (at most) 255 characters from start; empty
// without a quote among them, so names and values are at most 254 characters long.
QString QuotedWindow(const QString& line, qsizetype start) {
    const QString window = line.mid(start, 255);
    const qsizetype quote = window.indexOf(QLatin1Char('"'));
    return quote < 0 ? QString() : window.left(quote);
}

// Only ASCII letters change, so positions in the upper-cased line are positions in the line.
QString AsciiUpper(QString text) {
    for (QChar& c : text)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 'a' + 'A');
    return text;
}

QString ExtractContent(const QString& line) {
    static const QLatin1String kContent("CONTENT=\"");
    const qsizetype at = AsciiUpper(line).indexOf(QLatin1String("CONTENT="));
    if (at < 0) return {};
    return QuotedWindow(line, at + kContent.size());
}

// The page is parsed as single-byte characters; every kind of line break ends a line.
QStringList SplitPageLines(const QByteArray& text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.append(QString::fromLatin1(text.mid(start, i - start)));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.append(QString::fromLatin1(text.mid(start)));
    return lines;
}

int StandardComponent(const QString& component) {
    bool ok = false;
    const int value = component.toInt(&ok, 10);
    return ok ? value : 0;
}

std::optional<double> DecimalNumber(const QString& text) {
    bool ok = false;
    const double value = text.toDouble(&ok); // C locale: "." is the decimal separator
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

// A Content-Length value: decimal digits only, within the transfer cap.
std::optional<qint64> AnnouncedLength(const QByteArray& header) {
    const QByteArray digits = header.trimmed();
    if (digits.isEmpty() || digits.size() > 18) return std::nullopt;
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const qint64 length = digits.toLongLong();
    if (length > TmxWebUpdate::kMaxTransferBytes) return std::nullopt;
    return length;
}

std::optional<QByteArray> ExpectedDigest(const QString& hex) {
    const QByteArray text = hex.trimmed().toLatin1();
    if (text.size() != 64) return std::nullopt;
    if (!std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
        return std::nullopt;
    return QByteArray::fromHex(text);
}

bool IsFollowedRedirectStatus(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Only to the same or a safer scheme: https never falls back to plain http.
bool IsSafeRedirection(const QUrl& from, const QUrl& to) {
    const QString scheme = to.scheme().toLower();
    if (!to.isValid() || to.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return false;
    return scheme == QLatin1String("https") || from.scheme().toLower() == QLatin1String("http");
}

void ExitApplication() { QCoreApplication::exit(0); }

std::chrono::steady_clock::time_point SteadyNow() { return std::chrono::steady_clock::now(); }

} // namespace

// One wait of a transfer for the network: its own event loop and stall timer.
struct TmxWebUpdate::TransferWait {
    QEventLoop loop;
    QTimer stallTimer;
    bool stalled = false;
    bool activity = false;
};

void TmxProductInfo::SetURL(const QString& value) {
    url_ = SchemeLength(value) > 0 ? value : kHttpPrefix + value;
}

bool IsVersionNewer(const QString& current, const QString& candidate, TmxVersionFormat format) {
    switch (format) {
    case vfString:
        return candidate.compare(current, Qt::CaseSensitive) > 0;
    case vfNumber: {
        const std::optional<double> currentNumber = DecimalNumber(current);
        const std::optional<double> candidateNumber = DecimalNumber(candidate);
        return currentNumber && candidateNumber && *candidateNumber > *currentNumber;
    }
    case vfStandard:
        break;
    }
    // Component by component while the running version has components left; each pass drops one
    // component of the running version, so the loop ends.
    QString currentRest = current;
    QString candidateRest = candidate;
    for (;;) {
        const qsizetype currentDot = currentRest.indexOf(QLatin1Char('.'));
        const qsizetype candidateDot = candidateRest.indexOf(QLatin1Char('.'));
        const int currentPart =
            StandardComponent(currentDot < 0 ? currentRest : currentRest.left(currentDot));
        const int candidatePart =
            StandardComponent(candidateDot < 0 ? candidateRest : candidateRest.left(candidateDot));
        if (candidatePart > currentPart) return true;
        if (candidatePart < currentPart) return false;
        if (currentDot < 0) return false;
        currentRest = currentRest.mid(currentDot + 1);
        if (candidateDot >= 0) candidateRest = candidateRest.mid(candidateDot + 1);
    }
}

QString SafeClientFileName(const QString& pageName) {
    const qsizetype lastSeparator =
        std::max(pageName.lastIndexOf(QLatin1Char('/')), pageName.lastIndexOf(QLatin1Char('\\')));
    QString name = pageName.mid(lastSeparator + 1);
    // Windows drops trailing dots and spaces, so a name of only those would name the folder.
    if (std::all_of(name.begin(), name.end(),
                    [](QChar c) { return c == QLatin1Char('.') || c == QLatin1Char(' '); }))
        return {};
    for (QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c == QLatin1Char(':')) return {};
    return name;
}

TmxWebUpdate::TmxWebUpdate(QObject* owner)
    : QObject(owner), network_(new QNetworkAccessManager(this)), shellOpener_(platform::ShellOpenFile),
      applicationTerminator_(ExitApplication), stallClock_(SteadyNow) {
    UseSystemProxyExceptLoopback(*network_);
    connect(network_, &QNetworkAccessManager::authenticationRequired, this,
            [this](QNetworkReply* reply, QAuthenticator* authenticator) {
                // Offered once per transfer: a second challenge means the server refused them.
                static const char* const kOffered = "kalendoCredentialsOffered";
                if (transferUser_.isEmpty() || reply->property(kOffered).toBool()) return;
                reply->setProperty(kOffered, true);
                authenticator->setUser(transferUser_);
                authenticator->setPassword(transferPassword_);
            });
}

TmxWebUpdate::~TmxWebUpdate() { CancelTransfer(); }

QString TmxWebUpdate::Version() const {
    return QString::asprintf("%d.%d", kComponentVersion >> 8, kComponentVersion & 0xFF);
}

void TmxWebUpdate::SetShellOpener(TShellOpener opener) {
    shellOpener_ = opener ? std::move(opener) : TShellOpener(platform::ShellOpenFile);
}

void TmxWebUpdate::SetApplicationTerminator(TApplicationTerminator terminator) {
    applicationTerminator_ = terminator ? std::move(terminator) : TApplicationTerminator(ExitApplication);
}

void TmxWebUpdate::SetStallClock(TStallClock clock) {
    stallClock_ = clock ? std::move(clock) : TStallClock(SteadyNow);
}

void TmxWebUpdate::CancelTransfer() {
    aborted_ = true;
    if (currentWait_) currentWait_->loop.quit();
}

void TmxWebUpdate::AbandonCheck() {
    if (!busy_) return;
    abandoned_ = true;
    CancelTransfer();
    if (infoWindow_ && infoWindow_->isVisible()) infoWindow_->reject();
}

void TmxWebUpdate::SplitURL(const QString& URL, QString& Host, QString& Path) {
    const qsizetype schemeLength = SchemeLength(URL);
    const QString rest = URL.mid(schemeLength);
    const qsizetype slash = rest.indexOf(QLatin1Char('/'));
    if (slash >= 0) {
        Host = rest.left(slash);
        Path = rest.mid(slash);
    } else if (schemeLength > 0) {
        // "http://host" names the host's root page.
        Host = rest;
        Path = QStringLiteral("/");
    } else {
        Host.clear();
        Path = rest;
    }
}

// The address one transfer fetches. A URL without a host is fetched from the product page's
// server. A port written in the URL wins; otherwise HTTPPort, except that an https address keeps
// its own port while HTTPPort has its plain-HTTP default.
QUrl TmxWebUpdate::TransferURL(const QString& URL) {
    QString host;
    QString path;
    SplitURL(URL, host, path);
    bool secure = StartsWithNoCase(URL, kHttpsPrefix);
    if (host.isEmpty()) {
        QString productPath;
        SplitURL(productInfo_.URL(), host, productPath);
        secure = StartsWithNoCase(productInfo_.URL(), kHttpsPrefix);
    }
    if (host.isEmpty()) return {};
    if (!path.startsWith(QLatin1Char('/'))) path.prepend(QLatin1Char('/'));
    QUrl url(QString(secure ? kHttpsPrefix : kHttpPrefix) + host + path);
    if (!url.isValid() || url.host().isEmpty()) return {};
    const int port = static_cast<int>(httpPort_ & 0xFFFF);
    if (url.port() < 0 && !(secure && port == 80)) url.setPort(port);
    return url;
}

bool TmxWebUpdate::FetchURL(const QString& URL, const QString& UserName, const QString& Password,
                            bool RequireSize, bool ToFile, const QString& FileName,
                            const QString& ExpectedSHA256) {
    if (abandoned_) return false;
    aborted_ = false;
    success_ = false;
    transferUser_ = UserName;
    transferPassword_ = Password;
    // Credentials remembered from an earlier transfer must not stand in for the ones given now.
    network_->clearAccessCache();
    QPointer<TmxWebUpdate> alive(this);
    const QUrl url = TransferURL(URL);
    const bool succeeded = url.isValid() && RunTransfer(url, RequireSize, ToFile, FileName, ExpectedSHA256);
    if (!alive) return false;
    success_ = succeeded;
    // A cancelled transfer is the caller's own doing and stays silent.
    if (!success_ && !aborted_) DoDownloadError();
    return success_;
}

// Sends the request, following safe redirections, until the final response has begun to arrive.
// False when it cannot be had; reply then holds what the caller releases.
bool TmxWebUpdate::OpenFollowingRedirects(QUrl address, QPointer<QNetworkReply>& reply) {
    QPointer<TmxWebUpdate> alive(this);
    // Redirections are followed here rather than inside Qt, which carries the headers of every
    // redirection response over into the final one and so garbles its announced length.
    for (int redirections = 0;; ++redirections) {
        QNetworkRequest request = MakeUpdateRequest(address);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
        reply = network_->get(request);
        // Arrivals are noted whenever they are handled, also in a loop that is not this
        // transfer's (a modal window opened meanwhile), so a stall is always measured from them.
        NoteArrival();
        connect(reply, &QNetworkReply::readyRead, this, &TmxWebUpdate::NoteArrival);
        connect(reply, &QNetworkReply::metaDataChanged, this, &TmxWebUpdate::NoteArrival);
        while (!reply->isFinished() && reply->bytesAvailable() == 0 &&
               !reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()) {
            if (WaitForActivity(reply) != WaitResult::Activity || !alive || !reply) return false;
        }
        if (aborted_) return false;
        if (!IsFollowedRedirectStatus(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt()))
            break;
        const QUrl target = address.resolved(QUrl::fromEncoded(reply->rawHeader("Location")));
        if (redirections == kMaxHttpRedirects || !IsSafeRedirection(address, target)) return false;
        reply->abort();
        reply->deleteLater();
        address = target;
    }
    return true;
}

bool TmxWebUpdate::RunTransfer(const QUrl& url, bool RequireSize, bool ToFile, const QString& FileName,
                               const QString& ExpectedSHA256) {
    std::optional<QByteArray> expectedDigest;
    if (ToFile && !ExpectedSHA256.isEmpty()) {
        expectedDigest = ExpectedDigest(ExpectedSHA256);
        if (!expectedDigest) return false; // a digest that cannot be checked fails
    }

    QPointer<TmxWebUpdate> alive(this);
    QPointer<QNetworkReply> reply;
    const auto releaseReply = [&reply] {
        if (!reply) return;
        reply->abort();
        reply->deleteLater();
    };
    const auto releaseAtEnd = qScopeGuard(releaseReply);

    if (!OpenFollowingRedirects(url, reply) || aborted_) return false;

    const bool lengthKnown = reply->hasRawHeader("Content-Length");
    qint64 announcedLength = 0;
    if (lengthKnown) {
        const std::optional<qint64> length = AnnouncedLength(reply->rawHeader("Content-Length"));
        if (!length) return false;
        announcedLength = *length;
        totalSize_ = static_cast<qint32>(announcedLength);
    } else if (RequireSize) {
        return false;
    }

    downloaded_ = 0;
    std::unique_ptr<QTemporaryFile> partFile;
    QCryptographicHash digest(QCryptographicHash::Sha256);
    QByteArray text;
    if (ToFile) {
        partFile = OpenPartFile(FileName);
        if (!partFile) return false;
    }

    std::array<char, kReadChunk> buffer{};
    for (;;) {
        if (aborted_) return false;
        if (reply->bytesAvailable() == 0) {
            if (reply->isFinished()) break;
            if (WaitForActivity(reply) != WaitResult::Activity || !alive || !reply) return false;
            continue;
        }
        const qint64 received = reply->read(buffer.data(), kReadChunk);
        if (received <= 0) break;
        if (downloaded_ + received > kMaxTransferBytes) return false;
        if (lengthKnown && downloaded_ + received > announcedLength) return false;
        lastRead_ = static_cast<qint32>(received);
        if (ToFile) {
            if (partFile->write(buffer.data(), received) != received) return false;
            digest.addData(QByteArrayView(buffer.data(), received));
        } else {
            text.append(buffer.data(), received);
        }
        downloaded_ += lastRead_;
        DoDownload();
        if (!alive) return false;
        QCoreApplication::processEvents();
        if (!alive || !reply) return false;
    }

    if (reply->error() != QNetworkReply::NoError) return false;
    if (lengthKnown && downloaded_ != announcedLength) return false;
    if (!ToFile) {
        if (downloaded_ == 0) return false;
        pageLines_ = SplitPageLines(text);
        return true;
    }
    return CommitPartFile(*partFile, FileName, expectedDigest, digest.result());
}

TmxWebUpdate::WaitResult TmxWebUpdate::WaitForActivity(QNetworkReply* reply) {
    TransferWait wait;
    wait.stallTimer.setSingleShot(true);
    connect(&wait.stallTimer, &QTimer::timeout, &wait.loop, [this] { StallTimerTimer(); });
    // Once something has arrived, the wait has done its work; it may still take a while to return
    // (a modal window opened meanwhile), but that is no stall.
    const auto wake = [&wait] {
        wait.activity = true;
        wait.stallTimer.stop();
        wait.loop.quit();
    };
    connect(reply, &QNetworkReply::readyRead, &wait.loop, wake);
    connect(reply, &QNetworkReply::finished, &wait.loop, wake);
    connect(reply, &QNetworkReply::metaDataChanged, &wait.loop, wake);
    QPointer<TmxWebUpdate> alive(this);
    TransferWait* const outerWait = currentWait_;
    currentWait_ = &wait;
    StartStallTimer(wait);
    wait.loop.exec();
    if (!alive) return WaitResult::Cancelled;
    currentWait_ = outerWait;
    if (aborted_) return WaitResult::Cancelled;
    if (wait.stalled) return WaitResult::Stalled;
    if (!wait.activity) {
        // Ended from outside: the application was told to quit, which ends every running loop
        // and makes each new one return at once, so waiting again would spin for ever.
        AbandonCheck();
        aborted_ = true;
        return WaitResult::Cancelled;
    }
    return WaitResult::Activity;
}

void TmxWebUpdate::StartStallTimer(TransferWait& wait) {
    using std::chrono::milliseconds;
    const auto left = std::chrono::ceil<milliseconds>(lastArrival_ + stallTimeout_ - stallClock_());
    wait.stallTimer.start(std::max(left, milliseconds::zero()));
}

void TmxWebUpdate::StallTimerTimer() {
    if (!currentWait_ || currentWait_->activity) return;
    if (stallClock_() - lastArrival_ < stallTimeout_) {
        StartStallTimer(*currentWait_);
        return;
    }
    currentWait_->stalled = true;
    currentWait_->loop.quit();
}

void TmxWebUpdate::ClearPageValues() {
    for (QString* value : {&pageAuthor_, &pageEmail_, &clientSideName_, &downloadURL_, &pageProductName_,
                           &redirectionURL_, &pageRunParameters_, &newVersion_, &pageSHA256_})
        value->clear();
}

void TmxWebUpdate::GetInfo() {
    QStringList pagesRead;
    for (;;) {
        for (QString* value : {&newVersion_, &downloadURL_, &pageAuthor_, &pageEmail_, &pageProductName_,
                               &pageRunParameters_, &pageSHA256_})
            value->clear();
        const QString url = redirectionURL_.isEmpty() ? productInfo_.URL() : redirectionURL_;
        const QString page = TransferURL(url).toString();
        if (pagesRead.size() >= kMaxPageChain || pagesRead.contains(page)) {
            // A page naming itself, a ring of pages or an endless chain never ends in a page to
            // use: a failed page read.
            ClearPageValues();
            success_ = false;
            DoDownloadError();
            return;
        }
        pagesRead.append(page);
        if (!FetchURL(url, userName_, password_, false, false)) return;
        if (abandoned_) return;
        ParseInfoTags();
        if (redirectionURL_.isEmpty()) return;
    }
}

void TmxWebUpdate::ParseInfoTags() {
    ClearPageValues();
    const std::array<std::pair<const QString*, QString*>, 9> entries{{
        {&tagInfo_.ProductName, &pageProductName_},
        {&tagInfo_.ClientFileName, &clientSideName_},
        {&tagInfo_.Version, &newVersion_},
        {&tagInfo_.Author, &pageAuthor_},
        {&tagInfo_.Email, &pageEmail_},
        {&tagInfo_.Download, &downloadURL_},
        {&tagInfo_.Redirection, &redirectionURL_},
        {&tagInfo_.RunParameters, &pageRunParameters_},
        {&tagInfo_.SHA256, &pageSHA256_},
    }};
    static const QLatin1String kMetaName("META NAME");
    for (const QString& line : pageLines_) {
        const qsizetype at = line.indexOf(kMetaName);
        if (at < 0) continue;
        const QString name = QuotedWindow(line, at + kMetaName.size() + 2); // after META NAME="
        if (name.isEmpty()) continue;
        for (const auto& [tag, value] : entries)
            if (name == *tag) *value = ExtractContent(line);
    }
}

bool TmxWebUpdate::IsNewerVersion() {
    const bool newer = IsVersionNewer(productInfo_.Version(), newVersion_, productInfo_.VersionFormat());
    if (!newer) DoNoUpdateFound();
    return newer;
}

QString TmxWebUpdate::GetDefaultClientFileName() {
    const QString name = SafeClientFileName(clientSideName_);
    if (name.isEmpty()) return {};
    QString folder = targetFolder_;
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::toNativeSeparators(QDir::tempPath());
    if (folder.isEmpty()) return {};
    if (!folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QLatin1Char('\\')))
        folder += QDir::separator();
    return folder + name;
}

void TmxWebUpdate::DownloadUpdate() {
    success_ = false;
    clientFile_ = GetDefaultClientFileName();
    // An unusable file name or no download address: nothing to fetch, and nothing to announce.
    if (clientFile_.isEmpty() || downloadURL_.isEmpty()) {
        DoDownloadError();
        return;
    }
    DoGetClientFileName(clientFile_);
    if (abandoned_) return;
    if (clientFile_.isEmpty()) {
        DoDownloadError();
        return;
    }
    const QFileInfo existing(clientFile_);
    if (existing.exists() || existing.isSymLink()) {
        bool overwrite = options_.Contains(uoOverwrite);
        DoClientFileExists(clientFile_, overwrite);
        if (abandoned_) return;
        if (!overwrite) {
            DoDownloadError();
            return;
        }
    }
    DoBeforeDownload(clientFile_);
    if (abandoned_) return;
    FetchURL(downloadURL_, userName_, password_, true, true, clientFile_, pageSHA256_);
    if (abandoned_) return;
    DoAfterDownload(clientFile_);
}

bool TmxWebUpdate::ShowInfo() {
    bool showInfo = true;
    bool checkForUpdate = true;
    DoBeforeShowInfo(showInfo, checkForUpdate);
    if (abandoned_) return false;
    if (!showInfo) return true;
    if (!infoWindow_) infoWindow_ = std::make_unique<Tfrm_ShowInfoUpdate>();
    infoWindow_->chk_FutureUpdate->setChecked(checkForUpdate);
    infoWindow_->btn_OK->setText(infoCaption_.OkButton);
    infoWindow_->btn_Cancel->setText(infoCaption_.CancelButton);
    infoWindow_->chk_FutureUpdate->setText(infoCaption_.CheckForUpdate);
    infoWindow_->Navigate(TransferURL(redirectionURL_.isEmpty() ? productInfo_.URL() : redirectionURL_));
    const bool accepted = infoWindow_->exec() == QDialog::Accepted;
    if (abandoned_) return false;
    DoAfterShowInfo(infoWindow_->chk_FutureUpdate->isChecked());
    return accepted;
}

bool TmxWebUpdate::StartDownloadedFile() {
    if (shellOpener_(clientFile_, pageRunParameters_)) return true;
    DoCannotExecute();
    return false;
}

bool TmxWebUpdate::CheckForNewVersion() {
    if (busy_) return false;
    busy_ = true;
    abandoned_ = false;
    const auto clearBusy = qScopeGuard([this] { busy_ = false; });
    redirectionURL_.clear();
    // Every stage may hand control to the user (a handler's box, the information window, a
    // transfer's wait), who may end the program there: an abandoned check stops at once.
    DoBeforeGetInfo();
    if (abandoned_) return false;
    GetInfo();
    if (abandoned_) return false;
    // A page that could not be read has been reported already (unless its transfer was cancelled,
    // which is silent): one failure, one report.
    const bool failureReported = !success_ && !aborted_;
    DoAfterGetInfo();
    if (abandoned_) return false;
    if (pageProductName_.isEmpty() || newVersion_.isEmpty()) {
        if (!failureReported) DoDownloadError();
        success_ = false;
    }
    if (!success_ || abandoned_) return false;
    if (!IsNewerVersion()) return false;
    bool canUpdate = true;
    DoUpdateAvailable(productInfo_.Version(), newVersion_, canUpdate);
    if (!canUpdate || abandoned_) return false;
    if (!ShowInfo()) return false;
    DownloadUpdate();
    if (!success_ || abandoned_) return false;
    if (options_.Contains(uoRunUpdate)) {
        // The program ends to make way for the update it started. When nothing started, the
        // program in hand is all the user has, so it stays.
        if (StartDownloadedFile() && options_.Contains(uoTerminate)) applicationTerminator_();
    }
    return true;
}

void TmxWebUpdate::DoDownload() {
    if (OnDownload) OnDownload(this, totalSize_, downloaded_);
}

void TmxWebUpdate::DoDownloadError() {
    if (OnDownloadError) OnDownloadError(this);
}

void TmxWebUpdate::DoBeforeDownload(const QString& FileName) {
    if (OnBeforeDownload) OnBeforeDownload(this, FileName);
}

void TmxWebUpdate::DoAfterDownload(const QString& FileName) {
    if (OnAfterDownload) OnAfterDownload(this, FileName);
}

void TmxWebUpdate::DoNoUpdateFound() {
    if (OnNoUpdateFound) OnNoUpdateFound(this);
}

void TmxWebUpdate::DoAfterGetInfo() {
    if (OnAfterGetInfo) OnAfterGetInfo(this);
}

void TmxWebUpdate::DoBeforeGetInfo() {
    if (OnBeforeGetInfo) OnBeforeGetInfo(this);
}

void TmxWebUpdate::DoCannotExecute() {
    if (OnCannotExecute) OnCannotExecute(this);
}

void TmxWebUpdate::DoUpdateAvailable(const QString& ActualVersion, const QString& NewVersion,
                                     bool& CanUpdate) {
    if (OnUpdateAvailable) OnUpdateAvailable(this, ActualVersion, NewVersion, CanUpdate);
}

void TmxWebUpdate::DoGetClientFileName(QString& FileName) {
    if (OnGetClientFileName) OnGetClientFileName(this, FileName);
}

void TmxWebUpdate::DoClientFileExists(QString& FileName, bool& Overwrite) {
    if (OnClientFileExists) OnClientFileExists(this, FileName, Overwrite);
}

void TmxWebUpdate::DoBeforeShowInfo(bool& ShowInfo, bool& CheckForUpdate) {
    if (OnBeforeShowInfo) OnBeforeShowInfo(this, ShowInfo, CheckForUpdate);
}

void TmxWebUpdate::DoAfterShowInfo(bool CheckForUpdate) {
    if (OnAfterShowInfo) OnAfterShowInfo(this, CheckForUpdate);
}

} // namespace kalendo::update
