#include "update/mxWebUpdate.h"

#include "update/TestHttpServer.h"
#include "update/UpdateTestSupport.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kalendo::update {
namespace {

using testing::InfoWindowAnswer;
using testing::ScriptedResponse;
using testing::TestHttpServer;
using testing::UpdatePage;
using Entries = QList<QPair<QString, QString>>;
using Events = std::vector<std::string>;

QByteArray Installer(int size = 5000) {
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes.append(static_cast<char>('A' + i % 26));
    return bytes;
}

Entries StandardEntries() {
    return {{"mxProduct", "Kalendo"},
            {"mxVersion", "2.75"},
            {"mxClientSideName", "kalendo32_275.exe"},
            {"mxDownload", "/files/kalendo32_275.exe"},
            {"mxRunParameters", "/S"}};
}

Entries With(Entries entries, const QString& name, const QString& value) {
    for (auto& entry : entries)
        if (entry.first == name) {
            entry.second = value;
            return entries;
        }
    entries.append({name, value});
    return entries;
}

QByteArray ReadFile(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteFile(const QString& name, const QByteArray& bytes) {
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A checker against the test server with every event recorded and the process start and the
// application's end captured.
class WebUpdateTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(base.isValid());
        ASSERT_TRUE(QDir(base.path()).mkdir("downloads"));
        checker.ProductInfo().SetURL(server.Url("/newkalendo.htm"));
        checker.ProductInfo().SetVersion("2.74");
        checker.SetOptions({uoRunUpdate, uoTerminate, uoOverwrite});
        checker.SetTargetFolder(folder);
        checker.SetStallTimeout(std::chrono::seconds(3));
        checker.SetShellOpener([this](const QString& fileName, const QString& parameters) {
            started.append(fileName);
            startedParameters = parameters;
            return startSucceeds;
        });
        checker.SetApplicationTerminator([this] { ++terminations; });
        const auto record = [this](const char* name) {
            return [this, name](auto&&...) { events.push_back(name); };
        };
        checker.OnBeforeGetInfo = record("BeforeGetInfo");
        checker.OnAfterGetInfo = record("AfterGetInfo");
        checker.OnNoUpdateFound = record("NoUpdateFound");
        checker.OnDownloadError = record("DownloadError");
        checker.OnCannotExecute = record("CannotExecute");
        checker.OnGetClientFileName = record("GetClientFileName");
        checker.OnBeforeDownload = record("BeforeDownload");
        checker.OnAfterDownload = record("AfterDownload");
        checker.OnUpdateAvailable = [this](QObject*, const QString& actual, const QString& newer,
                                           bool& canUpdate) {
            events.push_back("UpdateAvailable " + actual.toStdString() + " " + newer.toStdString());
            canUpdate = acceptUpdate;
        };
        checker.OnBeforeShowInfo = [this](QObject*, bool& showInfo, bool&) {
            events.push_back("BeforeShowInfo");
            showInfo = showInfoWindow;
        };
        checker.OnAfterShowInfo = [this](QObject*, bool checked) {
            events.push_back(checked ? "AfterShowInfo checked" : "AfterShowInfo unchecked");
        };
    }

    void ServeUpdate(const Entries& entries = StandardEntries(), const QByteArray& installer = Installer()) {
        server.ServeHtml("/newkalendo.htm", UpdatePage(entries));
        server.Serve("/files/kalendo32_275.exe", {.body = installer});
    }

    QStringList FolderEntries() const {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }
    QString Target() const { return folder + "/kalendo32_275.exe"; }

    TestHttpServer server;
    QTemporaryDir base;
    QString folder = base.path() + "/downloads";
    TmxWebUpdate checker;
    Events events;
    QStringList started;
    QString startedParameters;
    bool startSucceeds = true;
    bool acceptUpdate = true;
    bool showInfoWindow = false;
    int terminations = 0;
};

const Events kUnreadablePage{"BeforeGetInfo", "DownloadError", "AfterGetInfo"};
const Events kDownloaded{"BeforeGetInfo",  "AfterGetInfo",      "UpdateAvailable 2.74 2.75",
                         "BeforeShowInfo", "GetClientFileName", "BeforeDownload",
                         "AfterDownload"};
const Events kFailedDownload{"BeforeGetInfo",  "AfterGetInfo",      "UpdateAvailable 2.74 2.75",
                             "BeforeShowInfo", "GetClientFileName", "BeforeDownload",
                             "DownloadError",  "AfterDownload"};

TEST(ProductInfoURL, getsHttpInFrontOnlyWhenItHasNoScheme) {
    const struct {
        const char* meaning;
        QString given;
        QString kept;
    } rows[] = {
        {"host and path without scheme", "www.marrowby.example/newkalendo.htm",
         "http://www.marrowby.example/newkalendo.htm"},
        {"upper-case scheme is left alone", "HTTP://www.marrowby.example/a.htm",
         "HTTP://www.marrowby.example/a.htm"},
        {"https is used as it is", "https://www.marrowby.example/a.htm",
         "https://www.marrowby.example/a.htm"},
        {"empty becomes the bare scheme", "", "http://"},
    };
    for (const auto& row : rows) {
        TmxProductInfo info;
        info.SetURL(row.given);
        EXPECT_EQ(info.URL(), row.kept) << row.meaning;
    }
}

TEST(SplitURL, separatesHostAndPath) {
    const struct {
        const char* meaning;
        QString url, host, path;
    } rows[] = {
        {"scheme, host and path", "http://www.marrowby.example/dir/page.htm", "www.marrowby.example",
         "/dir/page.htm"},
        {"https address", "https://www.marrowby.example/dir/page.htm", "www.marrowby.example",
         "/dir/page.htm"},
        {"port stays with the host", "http://127.0.0.1:8080/a.htm", "127.0.0.1:8080", "/a.htm"},
        {"absolute path has no host", "/files/setup.exe", "", "/files/setup.exe"},
        {"bare file name has no host", "setup.exe", "", "setup.exe"},
        {"host without path names its root", "http://www.marrowby.example", "www.marrowby.example", "/"},
        {"an address inside the query does not cut the host", "www.marrowby.example/go?to=http://x",
         "www.marrowby.example", "/go?to=http://x"},
    };
    TmxWebUpdate checker;
    for (const auto& row : rows) {
        QString host = "stale", path = "stale";
        checker.SplitURL(row.url, host, path);
        EXPECT_EQ(host, row.host) << row.meaning;
        EXPECT_EQ(path, row.path) << row.meaning;
    }
}

TEST_F(WebUpdateTest, parseInfoTags_matchesTheMetaLinesAsPlainText) {
    const QByteArray long254(254, 'v'), long255(255, 'v');
    // The pages stay escaped: moc (Qt 6.4) loses this file's namespace after raw strings with
    // quotes inside, and the file has a class of its own for moc.
    // NOLINTBEGIN(modernize-raw-string-literal)
    const struct {
        const char* meaning;
        QByteArray page;
        QString version;
    } rows[] = {
        {"upper-case META NAME and CONTENT", "<META NAME=\"mxVersion\" CONTENT=\"2.75\">", "2.75"},
        {"lower-case meta name is not found", "<meta name=\"mxVersion\" content=\"2.75\">", ""},
        {"content= in any case", "<META NAME=\"mxVersion\" content=\"2.75\">", "2.75"},
        {"spaces around the equals sign", "<META NAME = \"mxVersion\" CONTENT=\"2.75\">", ""},
        {"name compared case-sensitively", "<META NAME=\"MXVERSION\" CONTENT=\"2.75\">", ""},
        {"second entry on a line ignored",
         "<META NAME=\"mxProduct\" CONTENT=\"K\"><META NAME=\"mxVersion\" CONTENT=\"2.75\">", ""},
        {"later line overwrites",
         "<META NAME=\"mxVersion\" CONTENT=\"2.75\">\n<META NAME=\"mxVersion\" CONTENT=\"2.76\">", "2.76"},
        {"value keeps its case", "<META NAME=\"mxVersion\" CONTENT=\"2.75Beta\">", "2.75Beta"},
        {"value without closing quote", "<META NAME=\"mxVersion\" CONTENT=\"2.75>", ""},
        {"254-character value", "<META NAME=\"mxVersion\" CONTENT=\"" + long254 + "\">", QString(long254)},
        {"255-character value", "<META NAME=\"mxVersion\" CONTENT=\"" + long255 + "\">", ""},
        {"entry without CONTENT", "<META NAME=\"mxVersion\" TITLE=\"2.75\">", ""},
        {"lines split at a lone carriage return",
         "<HEAD>\r<META NAME=\"mxVersion\" CONTENT=\"2.75\">\r</HEAD>", "2.75"},
        {"sharp s before CONTENT does not shift the value",
         "<META NAME=\"mxVersion\" LANG=\"\xDF\" CONTENT=\"2.75\">", "2.75"},
    };
    // NOLINTEND(modernize-raw-string-literal)
    for (const auto& row : rows) {
        server.ServeHtml("/page.htm", row.page);
        ASSERT_TRUE(checker.FetchURL(server.Url("/page.htm"), {}, {}, false, false)) << row.meaning;
        checker.ParseInfoTags();
        EXPECT_EQ(checker.NewVersion(), row.version) << row.meaning;
    }
}

TEST_F(WebUpdateTest, parseInfoTags_fillsEveryPageValueByItsTagName) {
    checker.TagInfo().Version = "ver";
    server.ServeHtml("/page.htm", UpdatePage({{"mxProduct", "Kalendo"},
                                              {"mxClientSideName", "k.exe"},
                                              {"ver", "2.75"},
                                              {"mxVersion", "9.99"},
                                              {"mxAuthor", "Marrowby"},
                                              {"mxEmail", "a@marrowby.example"},
                                              {"mxDownload", "/k.exe"},
                                              {"mxRedirection", "/next.htm"},
                                              {"mxRunParameters", "/S"},
                                              {"mxSHA256", "ab"}}));
    ASSERT_TRUE(checker.FetchURL(server.Url("/page.htm"), {}, {}, false, false));
    checker.ParseInfoTags();
    EXPECT_EQ(checker.PageProductName(), "Kalendo");
    EXPECT_EQ(checker.ClientSideName(), "k.exe");
    EXPECT_EQ(checker.NewVersion(), "2.75");
    EXPECT_EQ(checker.PageAuthor(), "Marrowby");
    EXPECT_EQ(checker.PageEmail(), "a@marrowby.example");
    EXPECT_EQ(checker.DownloadURL(), "/k.exe");
    EXPECT_EQ(checker.RedirectionURL(), "/next.htm");
    EXPECT_EQ(checker.PageRunParameters(), "/S");
    EXPECT_EQ(checker.PageSHA256(), "ab");
}

TEST(IsVersionNewer, comparesByTheChosenFormat) {
    const struct {
        const char* meaning;
        QString current, candidate;
        TmxVersionFormat format;
        bool newer;
    } rows[] = {
        {"same version", "2.74", "2.74", vfStandard, false},
        {"next minor", "2.74", "2.75", vfStandard, true},
        {"2.8 reads as minor 8", "2.74", "2.8", vfStandard, false},
        {"third component never reached", "2.74", "2.74.1", vfStandard, false},
        {"next major", "2.74", "3", vfStandard, true},
        {"older major", "2.74", "1.99", vfStandard, false},
        {"third component of a three-part version", "2.74.1", "2.74.2", vfStandard, true},
        {"non-number component counts as 0", "2.74", "2.75beta", vfStandard, false},
        {"garbage version", "2.74", "abc", vfStandard, false},
        {"string order: 2.8 after 2.74", "2.74", "2.8", vfString, true},
        {"string order: 2.10 before 2.9", "2.9", "2.10", vfString, false},
        {"string order is case-sensitive", "a", "B", vfString, false},
        {"number 2.8 above 2.74", "2.74", "2.8", vfNumber, true},
        {"number equal with trailing zero", "2.74", "2.740", vfNumber, false},
        {"comma is no decimal separator", "2.74", "2,8", vfNumber, false},
        {"unreadable page version", "2.74", "abc", vfNumber, false},
        {"unreadable running version", "abc", "3", vfNumber, false},
        {"infinity is no version", "2.74", "inf", vfNumber, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(IsVersionNewer(row.current, row.candidate, row.format), row.newer) << row.meaning;
}

TEST(SafeClientFileName, keepsOnlyAUsableLastComponent) {
    const struct {
        const char* meaning;
        QString given, kept;
    } rows[] = {
        {"plain name", "kalendo32_275.exe", "kalendo32_275.exe"},
        {"parent steps", "../../x", "x"},
        {"absolute path", "/etc/x", "x"},
        {"backslash parent step", "..\\x", "x"},
        {"Windows path", "C:\\Windows\\x.exe", "x.exe"},
        {"dot file", ".hidden", ".hidden"},
        {"empty", "", ""},
        {"current folder", ".", ""},
        {"parent folder", "..", ""},
        {"ends at a parent step", "a/..", ""},
        {"ends with a slash", "dir/", ""},
        {"dots only", "...", ""},
        {"drive-relative name", "c:evil.exe", ""},
        {"line break inside", "x\ny.exe", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(SafeClientFileName(row.given), row.kept) << row.meaning;
}

TEST_F(WebUpdateTest, defaultClientFileName_usesTheTargetFolderElseTheTemporaryFolder) {
    server.ServeHtml("/page.htm", UpdatePage({{"mxClientSideName", "k.exe"}}));
    ASSERT_TRUE(checker.FetchURL(server.Url("/page.htm"), {}, {}, false, false));
    checker.ParseInfoTags();
    EXPECT_EQ(QDir::fromNativeSeparators(checker.GetDefaultClientFileName()), folder + "/k.exe");
    checker.SetTargetFolder(folder + "/");
    EXPECT_EQ(QDir::fromNativeSeparators(checker.GetDefaultClientFileName()), folder + "/k.exe");
    checker.SetTargetFolder(folder + "/missing");
    EXPECT_EQ(QDir::fromNativeSeparators(checker.GetDefaultClientFileName()), QDir::tempPath() + "/k.exe");
}

TEST_F(WebUpdateTest, unreadablePages_reportTheErrorOnce) {
    checker.SetStallTimeout(std::chrono::milliseconds(100));
    server.Serve("/silent.htm", {.body = UpdatePage(StandardEntries()), .stallAfter = 0});
    const struct {
        const char* meaning;
        QString url;
    } rows[] = {
        {"no server", QString("http://127.0.0.1:%1/newkalendo.htm").arg(TestHttpServer::UnusedPort())},
        {"a server that falls silent", server.Url("/silent.htm")},
    };
    for (const auto& row : rows) {
        events.clear();
        checker.ProductInfo().SetURL(row.url);
        EXPECT_FALSE(checker.CheckForNewVersion()) << row.meaning;
        EXPECT_EQ(events, kUnreadablePage) << row.meaning;
        EXPECT_FALSE(checker.Busy()) << row.meaning;
    }
}

TEST_F(WebUpdateTest, incompletePages_endTheCheckWithTheRightEvent) {
    const struct {
        const char* meaning;
        Entries entries;
        Events events;
    } rows[] = {
        {"no product entry", {{"mxVersion", "2.75"}}, {"BeforeGetInfo", "AfterGetInfo", "DownloadError"}},
        {"no version entry", {{"mxProduct", "Kalendo"}}, {"BeforeGetInfo", "AfterGetInfo", "DownloadError"}},
        {"same version",
         With(StandardEntries(), "mxVersion", "2.74"),
         {"BeforeGetInfo", "AfterGetInfo", "NoUpdateFound"}},
        {"lower-case meta lines", {}, {"BeforeGetInfo", "AfterGetInfo", "DownloadError"}},
    };
    for (const auto& row : rows) {
        events.clear();
        QByteArray page = UpdatePage(row.entries);
        if (row.entries.isEmpty()) page = UpdatePage(StandardEntries()).replace("META NAME", "meta name");
        server.ServeHtml("/newkalendo.htm", page);
        EXPECT_FALSE(checker.CheckForNewVersion()) << row.meaning;
        EXPECT_EQ(events, row.events) << row.meaning;
    }
    EXPECT_EQ(server.RequestCount("/files/kalendo32_275.exe"), 0);
}

TEST_F(WebUpdateTest, declinedUpdateOrCancelledInfoWindow_downloadsNothing) {
    ServeUpdate();
    acceptUpdate = false;
    EXPECT_FALSE(checker.CheckForNewVersion());
    EXPECT_EQ(events, (Events{"BeforeGetInfo", "AfterGetInfo", "UpdateAvailable 2.74 2.75"}))
        << "declining shows no window";

    acceptUpdate = true;
    showInfoWindow = true;
    InfoWindowAnswer answer(false);
    EXPECT_FALSE(checker.CheckForNewVersion());
    EXPECT_EQ(answer.Answered(), 1);
    EXPECT_EQ(events.back(), "AfterShowInfo checked");
    EXPECT_EQ(server.RequestCount("/files/kalendo32_275.exe"), 0);
}

TEST_F(WebUpdateTest, acceptedUpdate_downloadsStartsTheInstallerAndEndsTheApplication) {
    ServeUpdate(With(StandardEntries(), "mxRunParameters", "/S 'a b' /D=C:\\Kalendo $HOME;rm -rf ~"));
    int steps = 0;
    qint32 lastDownloaded = 0;
    checker.OnDownload = [&](QObject*, qint32 total, qint32 downloaded) {
        if (total != 5000) return; // the page's own steps
        ++steps;
        EXPECT_LE(downloaded - lastDownloaded, 1025);
        EXPECT_EQ(checker.LastRead(), downloaded - lastDownloaded);
        lastDownloaded = downloaded;
    };
    EXPECT_TRUE(checker.CheckForNewVersion());
    EXPECT_EQ(events, kDownloaded);
    EXPECT_EQ(steps, 5);
    EXPECT_EQ(lastDownloaded, 5000);
    EXPECT_EQ(ReadFile(Target()), Installer());
    EXPECT_EQ(FolderEntries(), QStringList{"kalendo32_275.exe"});
    EXPECT_EQ(started, QStringList{checker.ClientFile()});
    EXPECT_EQ(QDir::fromNativeSeparators(checker.ClientFile()), Target());
    EXPECT_EQ(startedParameters, "/S 'a b' /D=C:\\Kalendo $HOME;rm -rf ~") << "as the page wrote them";
    EXPECT_EQ(terminations, 1);
    EXPECT_FALSE(checker.Busy());
}

TEST_F(WebUpdateTest, runAndTerminateOptions_decideWhatFollowsTheDownload) {
    const struct {
        const char* meaning;
        TmxUpdateOptions options;
        bool startWorks;
        int starts, terminations;
        Events tail;
    } rows[] = {
        {"neither option", {uoOverwrite}, true, 0, 0, {"AfterDownload"}},
        {"terminate alone is ignored", {uoTerminate, uoOverwrite}, true, 0, 0, {"AfterDownload"}},
        {"run without terminate", {uoRunUpdate, uoOverwrite}, true, 1, 0, {"AfterDownload"}},
        {"nothing started, so the program stays",
         {uoRunUpdate, uoTerminate, uoOverwrite},
         false,
         1,
         0,
         {"AfterDownload", "CannotExecute"}},
    };
    ServeUpdate();
    for (const auto& row : rows) {
        events.clear();
        started.clear();
        terminations = 0;
        checker.SetOptions(row.options);
        startSucceeds = row.startWorks;
        EXPECT_TRUE(checker.CheckForNewVersion()) << row.meaning;
        EXPECT_EQ(started.size(), row.starts) << row.meaning;
        EXPECT_EQ(terminations, row.terminations) << row.meaning;
        EXPECT_EQ(Events(events.end() - static_cast<long>(row.tail.size()), events.end()), row.tail)
            << row.meaning;
    }
}

#ifndef Q_OS_WIN
// Records the files the desktop is asked to open, in place of the desktop's handlers.
class DesktopFileOpenings : public QObject {
    Q_OBJECT

public:
    DesktopFileOpenings() { QDesktopServices::setUrlHandler("file", this, "open"); }
    ~DesktopFileOpenings() override { QDesktopServices::unsetUrlHandler("file"); }
    Q_INVOKABLE void open(const QUrl& url) { opened.append(url.toString()); }

    QStringList opened;
};

// A download here is never a program that can run (it has no execute permission), and run
// parameters are a Windows installer's: the desktop's handler for the file opens it instead.
TEST_F(WebUpdateTest, downloadedInstaller_isOpenedByTheDesktopWhereItCannotRun) {
    ServeUpdate(With(StandardEntries(), "mxRunParameters", "/S 'a b'"));
    checker.SetShellOpener({});
    DesktopFileOpenings desktop;
    EXPECT_TRUE(checker.CheckForNewVersion());
    EXPECT_EQ(desktop.opened, QStringList{QUrl::fromLocalFile(Target()).toString()});
    EXPECT_EQ(events, kDownloaded);
    EXPECT_EQ(terminations, 1);
}
#endif

TEST_F(WebUpdateTest, infoWindow_showsTheProductPageEvenAfterARedirectionChain) {
    const QString third = server.Url("/third.htm");
    server.ServeHtml("/newkalendo.htm", UpdatePage({{"mxRedirection", "/second.htm"}, {"mxVersion", "9"}}));
    server.ServeHtml("/second.htm", UpdatePage({{"mxRedirection", third}}));
    server.ServeHtml("/third.htm", UpdatePage(StandardEntries()));
    server.Serve("/files/kalendo32_275.exe", ScriptedResponse{.body = Installer()});
    showInfoWindow = true;
    InfoWindowAnswer answer(true);
    EXPECT_TRUE(checker.CheckForNewVersion());
    EXPECT_EQ(checker.NewVersion(), "2.75");
    ASSERT_NE(checker.InfoWindow(), nullptr);
    EXPECT_EQ(checker.InfoWindow()->NavigatedURL(), QUrl(server.Url("/newkalendo.htm")));
    EXPECT_EQ(server.RequestCount("/third.htm"), 1);
}

TEST_F(WebUpdateTest, brokenPageChains_areFailedPageReads) {
    server.ServeHtml("/self.htm", UpdatePage(With(StandardEntries(), "mxRedirection", "/self.htm")));
    server.ServeHtml("/ring-a.htm", UpdatePage(With(StandardEntries(), "mxRedirection", "/ring-b.htm")));
    server.ServeHtml("/ring-b.htm", UpdatePage(With(StandardEntries(), "mxRedirection", "/ring-a.htm")));
    for (int page = 1; page <= 11; ++page) {
        const Entries entries = page == 11
                                    ? StandardEntries()
                                    : Entries{{"mxRedirection", QString("/chain%1.htm").arg(page + 1)}};
        server.ServeHtml(QString("/chain%1.htm").arg(page).toLatin1(),
                         UpdatePage(With(entries, "mxVersion", "2.74")));
    }
    const struct {
        const char* meaning;
        QString start;
        Events events;
    } rows[] = {
        {"page naming itself", "/self.htm", kUnreadablePage},
        {"ring of two pages", "/ring-a.htm", kUnreadablePage},
        {"chain of eleven pages", "/chain1.htm", kUnreadablePage},
        {"chain of ten pages", "/chain2.htm", {"BeforeGetInfo", "AfterGetInfo", "NoUpdateFound"}},
    };
    for (const auto& row : rows) {
        events.clear();
        checker.ProductInfo().SetURL(server.Url(row.start));
        EXPECT_FALSE(checker.CheckForNewVersion()) << row.meaning;
        EXPECT_EQ(events, row.events) << row.meaning;
    }
    EXPECT_EQ(server.RequestCount("/ring-a.htm"), 1);
    EXPECT_EQ(server.RequestCount("/self.htm"), 1);
}

TEST_F(WebUpdateTest, httpRedirections_areFollowedUpToTheLimit) {
    ServeUpdate(With(StandardEntries(), "mxVersion", "2.74"));
    server.Redirect("/old.htm", "/older.htm", 301);
    server.Redirect("/older.htm", "/newkalendo.htm");
    for (int hop = 0; hop < 11; ++hop)
        server.Redirect(QString("/hop%1.htm").arg(hop).toLatin1(),
                        QString("/hop%1.htm").arg(hop + 1).toLatin1());
    server.Serve("/hop11.htm", {.body = UpdatePage(With(StandardEntries(), "mxVersion", "2.74"))});
    const Events readable{"BeforeGetInfo", "AfterGetInfo", "NoUpdateFound"};
    const struct {
        const char* meaning;
        const char* start;
        Events events;
    } rows[] = {
        {"a permanent then a temporary redirection", "/old.htm", readable},
        {"ten redirections", "/hop1.htm", readable},
        {"eleven redirections", "/hop0.htm", kUnreadablePage},
    };
    for (const auto& row : rows) {
        events.clear();
        checker.ProductInfo().SetURL(server.Url(row.start));
        EXPECT_FALSE(checker.CheckForNewVersion()) << row.meaning;
        EXPECT_EQ(events, row.events) << row.meaning;
    }
    EXPECT_EQ(server.RequestCount("/hop11.htm"), 1);
}

TEST_F(WebUpdateTest, httpsPages_needATrustedCertificateAndNeverFallBackToHttp) {
    TestHttpServer secureServer(testing::TestServerTls());
    const QByteArray page = UpdatePage(With(StandardEntries(), "mxVersion", "2.74"));
    secureServer.ServeHtml("/newkalendo.htm", page);
    secureServer.Redirect("/downgrade.htm", server.Url("/newkalendo.htm").toLatin1());
    server.ServeHtml("/newkalendo.htm", page);
    server.Redirect("/upgrade.htm", secureServer.Url("/newkalendo.htm").toLatin1());
    const Events readable{"BeforeGetInfo", "AfterGetInfo", "NoUpdateFound"};
    const struct {
        const char* meaning;
        bool trusted;
        QString url;
        Events events;
    } rows[] = {
        {"self-signed certificate", false, secureServer.Url("/newkalendo.htm"), kUnreadablePage},
        {"trusted certificate", true, secureServer.Url("/newkalendo.htm"), readable},
        {"redirection from https to http", true, secureServer.Url("/downgrade.htm"), kUnreadablePage},
        {"redirection from http to https", true, server.Url("/upgrade.htm"), readable},
    };
    for (const auto& row : rows) {
        events.clear();
        std::optional<testing::ScopedTrust> trust;
        if (row.trusted) trust.emplace();
        checker.ProductInfo().SetURL(row.url);
        EXPECT_FALSE(checker.CheckForNewVersion()) << row.meaning;
        EXPECT_EQ(events, row.events) << row.meaning;
    }
    EXPECT_EQ(server.RequestCount("/newkalendo.htm"), 0);
}

TEST_F(WebUpdateTest, failedInstallerTransfers_leaveNothingBehindAndStartNothing) {
    const QByteArray body = Installer();
    const struct {
        const char* meaning;
        ScriptedResponse response;
        bool readsNothing;
    } rows[] = {
        {"fewer bytes than announced", {.body = body, .announcedLength = "6000"}, false},
        {"no announced length", {.body = body, .omitLength = true}, true},
        {"length not a number", {.body = body, .announcedLength = "abc"}, true},
        {"negative length", {.body = body, .announcedLength = "-5"}, true},
        {"length above 1 GiB", {.body = body, .announcedLength = "2000000000"}, true},
        {"error status", {.status = 404, .body = body}, false},
        {"stalling server", {.body = body, .stallAfter = 1000}, false},
    };
    int installerSteps = 0;
    checker.OnDownload = [&](QObject*, qint32, qint32) {
        installerSteps += events.back() == "BeforeDownload";
    };
    checker.SetStallTimeout(std::chrono::milliseconds(100));
    server.ServeHtml("/newkalendo.htm", UpdatePage(StandardEntries()));
    for (const auto& row : rows) {
        events.clear();
        installerSteps = 0;
        server.Serve("/files/kalendo32_275.exe", row.response);
        EXPECT_FALSE(checker.CheckForNewVersion()) << row.meaning;
        EXPECT_EQ(events, kFailedDownload) << row.meaning;
        EXPECT_TRUE(FolderEntries().isEmpty())
            << row.meaning << ": " << FolderEntries().join(", ").toStdString();
        EXPECT_FALSE(checker.Busy()) << row.meaning;
        if (row.readsNothing) {
            EXPECT_EQ(installerSteps, 0) << row.meaning;
        }
    }
    EXPECT_TRUE(started.isEmpty());
    EXPECT_EQ(terminations, 0);
}

// A modal window opened while the download waits for the network keeps that wait from returning
// until it closes. A stall is silence from the server, measured from the last bytes that arrived,
// not the time the window stays open. The stall clock is the test's, and the stall timer is
// brought due by hand while the window is open.
TEST_F(WebUpdateTest, modalWindowDuringADownload_stallsOnlyOnSilenceFromTheServer) {
    using std::chrono::seconds;
    std::chrono::steady_clock::time_point now{};
    checker.SetStallClock([&now] { return now; });
    checker.SetStallTimeout(seconds(30));
    const auto installerReply = [this]() -> QNetworkReply* {
        for (QNetworkReply* reply : checker.findChildren<QNetworkReply*>())
            if (reply->url().path() == "/files/kalendo32_275.exe" && !reply->isFinished()) return reply;
        return nullptr;
    };
    // The server's next bytes (the rest when negative), handled by the window's own event loop as
    // they arrive.
    const auto receive = [&](qsizetype bytes) {
        QNetworkReply* reply = installerReply();
        ASSERT_NE(reply, nullptr);
        const qint64 expected = reply->bytesAvailable() + bytes;
        QSignalSpy arrived(reply, &QNetworkReply::readyRead);
        QSignalSpy finished(reply, &QNetworkReply::finished);
        server.ResumeStalled(bytes);
        if (bytes < 0) {
            if (!reply->isFinished()) {
                ASSERT_TRUE(finished.wait()) << "the installer never ended";
            }
            return;
        }
        while (reply->bytesAvailable() < expected)
            ASSERT_TRUE(arrived.wait()) << "the installer's bytes never came";
    };
    const struct {
        const char* meaning;
        std::function<void()> whileTheWindowIsOpen;
        bool downloaded;
    } rows[] = {
        {"the rest arrives, then the window stays open 45 s",
         [&] {
             receive(-1);
             now += seconds(45);
             checker.StallTimerTimer();
         },
         true},
        {"20 s silence, more bytes, 20 s silence, the rest",
         [&] {
             now += seconds(20);
             receive(1000);
             now += seconds(20);
             checker.StallTimerTimer();
             receive(-1);
         },
         true},
        {"31 s without a byte",
         [&] {
             now += seconds(31);
             checker.StallTimerTimer();
         },
         false},
        {"more bytes, then 31 s without a byte",
         [&] {
             receive(1000);
             now += seconds(31);
             checker.StallTimerTimer();
         },
         false},
    };
    server.ServeHtml("/newkalendo.htm", UpdatePage(StandardEntries()));
    server.Serve("/files/kalendo32_275.exe", {.body = Installer(), .stallAfter = 1000});
    for (const auto& row : rows) {
        events.clear();
        QFile::remove(Target());
        bool windowShown = false;
        checker.OnDownload = [&](QObject*, qint32 total, qint32 downloaded) {
            if (total != 5000 || downloaded != 1000) return;
            // When the transfer's wait next blocks, a modal window opens there: the row's steps run
            // inside the wait's event loop, as the window's own loop would.
            auto* dispatcher = QAbstractEventDispatcher::instance();
            auto connection = std::make_shared<QMetaObject::Connection>();
            *connection =
                QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [&, connection] {
                    QObject::disconnect(*connection);
                    QTimer::singleShot(0, [&] {
                        windowShown = true;
                        row.whileTheWindowIsOpen();
                    });
                });
        };
        EXPECT_EQ(checker.CheckForNewVersion(), row.downloaded) << row.meaning;
        EXPECT_TRUE(windowShown) << row.meaning;
        EXPECT_EQ(events, row.downloaded ? kDownloaded : kFailedDownload) << row.meaning;
        EXPECT_EQ(ReadFile(Target()), row.downloaded ? Installer() : QByteArray("<missing>")) << row.meaning;
    }
}

TEST_F(WebUpdateTest, existingFiles_areReplacedOnlyWithOverwrite) {
    ServeUpdate();
    WriteFile(Target(), "old installer");
    checker.SetOptions({uoRunUpdate});
    EXPECT_FALSE(checker.CheckForNewVersion());
    EXPECT_EQ(events.back(), "DownloadError");
    EXPECT_EQ(ReadFile(Target()), "old installer");

    checker.SetOptions({uoRunUpdate, uoOverwrite});
    EXPECT_TRUE(checker.CheckForNewVersion());
    EXPECT_EQ(ReadFile(Target()), Installer());
}

#ifndef Q_OS_WIN
TEST_F(WebUpdateTest, existingLink_isReplacedNeverWrittenThrough) {
    ServeUpdate();
    const QString outside = base.path() + "/outside.txt";
    WriteFile(outside, "keep me");
    ASSERT_TRUE(QFile::link(outside, Target()));
    EXPECT_TRUE(checker.CheckForNewVersion());
    EXPECT_FALSE(QFileInfo(Target()).isSymLink());
    EXPECT_EQ(ReadFile(Target()), Installer());
    EXPECT_EQ(ReadFile(outside), "keep me");
}
#endif

TEST_F(WebUpdateTest, hostileClientFileNames_neverLeaveTheTargetFolder) {
    const struct {
        const char* meaning;
        QString pageName;
        QString written; // empty: the download fails before it starts
    } rows[] = {
        {"parent steps", "../../x", "x"},
        {"parent folder itself", "..", ""},
        {"no name", "", ""},
    };
    for (const auto& row : rows) {
        events.clear();
        QDir(folder).removeRecursively();
        QDir().mkdir(folder);
        ServeUpdate(With(StandardEntries(), "mxClientSideName", row.pageName));
        const int installerRequests = server.RequestCount("/files/kalendo32_275.exe");
        EXPECT_EQ(checker.CheckForNewVersion(), !row.written.isEmpty()) << row.meaning;
        EXPECT_EQ(QDir(base.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  (QStringList{"downloads"}))
            << row.meaning;
        if (row.written.isEmpty()) {
            EXPECT_EQ(events.back(), "DownloadError") << row.meaning;
            EXPECT_EQ(std::count(events.begin(), events.end(), "GetClientFileName"), 0) << row.meaning;
            EXPECT_EQ(server.RequestCount("/files/kalendo32_275.exe"), installerRequests) << row.meaning;
            EXPECT_TRUE(FolderEntries().isEmpty()) << row.meaning;
        } else {
            EXPECT_EQ(FolderEntries(), QStringList{row.written}) << row.meaning;
        }
    }
}

TEST_F(WebUpdateTest, pageDigest_mustMatchTheDownload) {
    const QString digest = QCryptographicHash::hash(Installer(), QCryptographicHash::Sha256).toHex();
    const struct {
        const char* meaning;
        QString pageDigest;
        bool accepted;
    } rows[] = {
        {"matching digest", digest, true},
        {"matching digest in capitals", digest.toUpper(), true},
        {"digest of other bytes", QCryptographicHash::hash("other", QCryptographicHash::Sha256).toHex(),
         false},
        {"digest that is not hexadecimal", "xyz", false},
    };
    for (const auto& row : rows) {
        started.clear();
        QFile::remove(Target());
        ServeUpdate(With(StandardEntries(), "mxSHA256", row.pageDigest));
        EXPECT_EQ(checker.CheckForNewVersion(), row.accepted) << row.meaning;
        EXPECT_EQ(QFile::exists(Target()), row.accepted) << row.meaning;
        EXPECT_EQ(started.size(), row.accepted ? 1 : 0) << row.meaning;
        EXPECT_EQ(FolderEntries().size(), row.accepted ? 1 : 0) << row.meaning;
    }
}

TEST_F(WebUpdateTest, cancelledTransfer_endsQuietly) {
    ServeUpdate();
    checker.OnDownload = [this](QObject*, qint32 total, qint32) {
        if (total == 5000) checker.CancelTransfer();
    };
    EXPECT_FALSE(checker.CheckForNewVersion());
    EXPECT_EQ(events.back(), "AfterDownload");
    EXPECT_EQ(std::count(events.begin(), events.end(), "DownloadError"), 0);
    EXPECT_TRUE(checker.Aborted());
    EXPECT_TRUE(FolderEntries().isEmpty());
}

// The program ending while a check hands control to the user (a handler's box, the information
// window): the check goes no further, raises nothing more and starts nothing.
TEST_F(WebUpdateTest, abandonedCheck_endsInTheStageItWasAbandonedIn) {
    ServeUpdate();
    showInfoWindow = true;
    std::string abandonAt;
    const auto abandonIf = [&](const char* stage) {
        if (abandonAt == stage) checker.AbandonCheck();
    };
    checker.OnBeforeGetInfo = [&, previous = checker.OnBeforeGetInfo](QObject* sender) {
        previous(sender);
        abandonIf("before the page is read");
    };
    checker.OnUpdateAvailable = [&, previous =
                                        checker.OnUpdateAvailable](QObject* sender, const QString& actual,
                                                                   const QString& newer, bool& canUpdate) {
        previous(sender, actual, newer, canUpdate);
        abandonIf("at the update question");
    };
    checker.OnBeforeShowInfo = [&, previous = checker.OnBeforeShowInfo](QObject* sender, bool& show,
                                                                        bool& check) {
        previous(sender, show, check);
        // Runs inside the window's own event loop, once it is open.
        if (abandonAt == "in the information window")
            QTimer::singleShot(0, [this] { checker.AbandonCheck(); });
    };
    checker.OnGetClientFileName = [&, previous = checker.OnGetClientFileName](QObject* sender,
                                                                              QString& name) {
        previous(sender, name);
        abandonIf("at the file name box");
    };
    checker.OnBeforeDownload = [&, previous = checker.OnBeforeDownload](QObject* sender,
                                                                        const QString& name) {
        previous(sender, name);
        abandonIf("before the download");
    };
    const struct {
        const char* stage;
        const char* lastEvent;
        bool readsThePage;
        bool pastTheInformationWindow;
    } rows[] = {
        {"before the page is read", "BeforeGetInfo", false, false},
        {"at the update question", "UpdateAvailable 2.74 2.75", true, false},
        {"in the information window", "BeforeShowInfo", true, false},
        {"at the file name box", "GetClientFileName", true, true},
        {"before the download", "BeforeDownload", true, true},
    };
    for (const auto& row : rows) {
        events.clear();
        abandonAt = row.stage;
        const int pageRequests = server.RequestCount("/newkalendo.htm");
        std::optional<InfoWindowAnswer> answer;
        if (row.pastTheInformationWindow) answer.emplace(true);
        EXPECT_FALSE(checker.CheckForNewVersion()) << row.stage;
        EXPECT_TRUE(checker.Abandoned()) << row.stage;
        EXPECT_FALSE(checker.Busy()) << row.stage;
        ASSERT_FALSE(events.empty()) << row.stage;
        EXPECT_EQ(events.back(), row.lastEvent) << row.stage;
        EXPECT_EQ(server.RequestCount("/newkalendo.htm") > pageRequests, row.readsThePage) << row.stage;
        EXPECT_EQ(server.RequestCount("/files/kalendo32_275.exe"), 0) << row.stage;
        EXPECT_FALSE(checker.InfoWindow() && checker.InfoWindow()->isVisible()) << row.stage;
    }
    EXPECT_TRUE(FolderEntries().isEmpty());
    EXPECT_TRUE(started.isEmpty());
    EXPECT_EQ(terminations, 0);

    abandonAt.clear();
    checker.SetOptions({uoOverwrite});
    InfoWindowAnswer answer(true);
    EXPECT_TRUE(checker.CheckForNewVersion()) << "the next check runs as ever";
    EXPECT_FALSE(checker.Abandoned());
}

// The application told to quit while a transfer waits (its end by any road, not only File > Exit):
// the wait must not come back empty-handed for ever; the check ends without another event and
// the partial installer goes.
TEST_F(WebUpdateTest, applicationQuitDuringATransfer_endsTheCheckWithoutAnotherEvent) {
    const struct {
        const char* meaning;
        ScriptedResponse page, installer;
        qint32 quitAfter; // bytes of the stalling transfer
    } rows[] = {
        {"while the page is read",
         {.body = UpdatePage(StandardEntries()), .stallAfter = 40},
         {.body = Installer()},
         40},
        {"while the installer downloads",
         {.body = UpdatePage(StandardEntries())},
         {.body = Installer(), .stallAfter = 1000},
         1000},
    };
    for (const auto& row : rows) {
        events.clear();
        server.Serve("/newkalendo.htm", row.page);
        server.Serve("/files/kalendo32_275.exe", row.installer);
        checker.OnDownload = [&](QObject*, qint32, qint32 downloaded) {
            if (downloaded != row.quitAfter) return;
            events.push_back("Quit");
            QCoreApplication::quit();
        };
        bool checkReturned = false;
        QTimer::singleShot(0, [&] {
            EXPECT_FALSE(checker.CheckForNewVersion()) << row.meaning;
            checkReturned = true;
        });

        QCoreApplication::exec();

        EXPECT_TRUE(checkReturned) << row.meaning;
        ASSERT_FALSE(events.empty()) << row.meaning;
        EXPECT_EQ(events.back(), "Quit") << row.meaning;
        EXPECT_TRUE(FolderEntries().isEmpty())
            << row.meaning << ": " << FolderEntries().join(", ").toStdString();
        EXPECT_TRUE(started.isEmpty()) << row.meaning;
        EXPECT_FALSE(checker.Busy()) << row.meaning;
    }
}

TEST_F(WebUpdateTest, secondCheckDuringATransfer_returnsAtOnce) {
    ServeUpdate(With(StandardEntries(), "mxVersion", "2.74"));
    std::vector<bool> nestedResults;
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    checker.OnDownload = [&](QObject*, qint32, qint32) {
        nestedResults.push_back(checker.CheckForNewVersion());
    };
    checker.OnAfterGetInfo = [&](QObject*) {
        events.push_back(timerRan ? "AfterGetInfo, timer ran" : "AfterGetInfo");
    };
    EXPECT_FALSE(checker.CheckForNewVersion());
    EXPECT_EQ(events, (Events{"BeforeGetInfo", "AfterGetInfo, timer ran", "NoUpdateFound"}));
    ASSERT_FALSE(nestedResults.empty());
    EXPECT_EQ(std::count(nestedResults.begin(), nestedResults.end(), true), 0);
    EXPECT_EQ(server.RequestCount("/newkalendo.htm"), 1);
}

TEST_F(WebUpdateTest, downloadAddressesWithoutHost_useTheProductPageServerAndPort) {
    checker.ProductInfo().SetURL("127.0.0.1/newkalendo.htm");
    checker.SetHTTPPort(0x10000u + server.Port()); // only the low 16 bits count
    const struct {
        const char* meaning;
        QString download;
        QByteArray requested;
    } rows[] = {
        {"absolute path", "/files/kalendo32_275.exe", "/files/kalendo32_275.exe"},
        {"bare file name", "kalendo32_275.exe", "/kalendo32_275.exe"},
    };
    for (const auto& row : rows) {
        ServeUpdate(With(StandardEntries(), "mxDownload", row.download));
        server.Serve("/kalendo32_275.exe", ScriptedResponse{.body = Installer()});
        EXPECT_TRUE(checker.CheckForNewVersion()) << row.meaning;
        ASSERT_FALSE(server.Requests().isEmpty());
        const testing::RecordedRequest& last = server.Requests().back();
        EXPECT_EQ(last.target, row.requested) << row.meaning;
        EXPECT_EQ(last.method, "GET");
        EXPECT_EQ(last.headers.value("user-agent"), "TmxWebUpdate");
        EXPECT_EQ(last.headers.value("accept"), "*/*");
    }
}

TEST_F(WebUpdateTest, credentials_answerTheServersChallenge) {
    server.ServeWith("/newkalendo.htm", [](const testing::RecordedRequest& request) {
        ScriptedResponse response;
        if (request.headers.value("authorization") != "Basic " + QByteArray("kal:secret").toBase64()) {
            response.status = 401;
            response.headers = {{"WWW-Authenticate", "Basic realm=\"updates\""}};
            response.body = "no";
        } else {
            response.body = UpdatePage(With(StandardEntries(), "mxVersion", "2.74"));
        }
        return response;
    });
    checker.SetUserName("kal");
    checker.SetPassword("secret");
    EXPECT_FALSE(checker.CheckForNewVersion());
    EXPECT_EQ(events, (Events{"BeforeGetInfo", "AfterGetInfo", "NoUpdateFound"}));

    events.clear();
    checker.SetPassword("wrong");
    EXPECT_FALSE(checker.CheckForNewVersion());
    EXPECT_EQ(events, kUnreadablePage);
}

} // namespace
} // namespace kalendo::update

#include "mxWebUpdateTest.moc"
