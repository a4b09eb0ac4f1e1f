#include "desktop/DesktopSession.h"
#include "KalendoVersion.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmap>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QThread>

namespace kalendo::desktop {

namespace {

constexpr int kDesignClientWidth = 496;

QString StripPrefix(QString atom) {
    for (const char* prefix : {"_NET_WM_STATE_", "_NET_WM_WINDOW_TYPE_", "_NET_WM_ACTION_"}) {
        if (atom.startsWith(QLatin1String(prefix))) return atom.mid(static_cast<int>(qstrlen(prefix)));
    }
    return atom;
}

QStringList AtomList(const QString& value) {
    QStringList atoms;
    for (const QString& atom : value.split(u',', Qt::SkipEmptyParts))
        atoms << StripPrefix(atom.trimmed());
    return atoms;
}

std::optional<WindowId> ParseWindowId(const QString& text) {
    bool ok = false;
    const WindowId id = text.trimmed().toULong(&ok, 0);
    return ok && id != 0 ? std::optional<WindowId>(id) : std::nullopt;
}

std::vector<WindowId> ParseWindowList(const QString& text) {
    std::vector<WindowId> windows;
    for (const QString& word :
         text.split(QRegularExpression(QStringLiteral("[\\s,#]+")), Qt::SkipEmptyParts)) {
        if (const std::optional<WindowId> id = ParseWindowId(word)) windows.push_back(*id);
    }
    return windows;
}

QString Hex(WindowId window) { return QStringLiteral("0x") + QString::number(window, 16); }

bool DisplayInUse(int number) {
    return QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)) ||
           QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number));
}

} // namespace

DesktopSession& DesktopSession::Instance() {
    static DesktopSession session;
    return session;
}

bool DesktopSession::StartProgram(QProcess& process, const QString& program, const QStringList& arguments) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display_);
    // The window manager and the notification area read their settings from a home of their own.
    environment.insert(QStringLiteral("HOME"), home_.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.path() + QStringLiteral("/.config"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted(5000)) {
        error_ = program +
                 QStringLiteral(" does not start (is it installed? scripts/install-deps.sh installs it)");
        return false;
    }
    return true;
}

bool DesktopSession::Start() {
    if (!home_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return false;
    }
    for (int number = 90; number < 200 && display_.isEmpty(); ++number) {
        if (DisplayInUse(number)) continue;
        const QString candidate = QStringLiteral(":%1").arg(number);
        display_ = candidate;
        if (!StartProgram(server_, QStringLiteral("Xvfb"),
                          {candidate, QStringLiteral("-screen"), QStringLiteral("0"),
                           QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                           QStringLiteral("tcp")}))
            return false;
        const bool listening = WaitUntil(
            [&] {
                return server_.state() == QProcess::Running &&
                       QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number));
            },
            10000);
        if (!listening) {
            server_.kill();
            server_.waitForFinished();
            display_.clear(); // another session took it meanwhile: try the next number
        }
    }
    if (display_.isEmpty()) {
        error_ = QStringLiteral("no free X display for Xvfb");
        return false;
    }
    // The socket can be there a moment before the server answers on it.
    if (!WaitUntil(
            [&] {
                return !Run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("WM_NAME")})
                            .isEmpty();
            },
            10000)) {
        error_ = QStringLiteral("Xvfb does not answer on ") + display_;
        return false;
    }
    auto windowManagerUp = [&] {
        return Run(QStringLiteral("xprop"),
                   {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
            .contains(QLatin1String("window id"));
    };
    // A busy machine can make openbox give up at its start; it is tried again a few times.
    for (int attempt = 0; attempt < 3 && !windowManagerUp(); ++attempt) {
        if (windowManager_.state() != QProcess::NotRunning) {
            windowManager_.kill();
            windowManager_.waitForFinished();
        }
        if (!StartProgram(windowManager_, QStringLiteral("openbox"), {QStringLiteral("--sm-disable")}))
            return false;
        WaitUntil([&] { return windowManagerUp() || windowManager_.state() == QProcess::NotRunning; }, 10000);
    }
    if (!windowManagerUp()) {
        error_ = QStringLiteral("openbox did not come up");
        return false;
    }
    return StartNotificationArea();
}

bool DesktopSession::StartNotificationArea() {
    // trayer owns the notification-area selection before it shows its panel. On a busy machine it
    // can take many seconds, or give up on a display that answered late: start it again once.
    const auto panelShown = [&] {
        for (WindowId window : WindowsOfClass(QStringLiteral("trayer"))) {
            const std::optional<WindowInfo> info = QueryWindow(window);
            if (info && info->viewable && info->name == QLatin1String("panel")) return true;
        }
        return false;
    };
    for (int attempt = 0;; ++attempt) {
        if (!StartProgram(notificationArea_, QStringLiteral("trayer"),
                          {QStringLiteral("--edge"), QStringLiteral("bottom"), QStringLiteral("--align"),
                           QStringLiteral("right"), QStringLiteral("--widthtype"), QStringLiteral("pixel"),
                           QStringLiteral("--width"), QStringLiteral("160"), QStringLiteral("--height"),
                           QStringLiteral("32"), QStringLiteral("--transparent"), QStringLiteral("false"),
                           QStringLiteral("--SetDockType"), QStringLiteral("true")}))
            return false;
        if (WaitUntil(panelShown, 20000)) break;
        if (attempt == 1) {
            error_ = QStringLiteral("trayer did not show its panel");
            return false;
        }
        notificationArea_.kill();
        notificationArea_.waitForFinished(3000);
    }
    return true;
}

void DesktopSession::Stop() {
    for (QProcess* process : {&notificationArea_, &windowManager_, &server_}) {
        if (process->state() == QProcess::NotRunning) continue;
        process->terminate();
        if (!process->waitForFinished(3000)) {
            process->kill();
            process->waitForFinished(3000);
        }
    }
}

QString DesktopSession::Run(const QString& program, const QStringList& arguments, int timeoutMs) const {
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display_);
    tool.setProcessEnvironment(environment);
    tool.setStandardErrorFile(QProcess::nullDevice());
    tool.start(program, arguments);
    if (!tool.waitForFinished(timeoutMs)) {
        tool.kill();
        tool.waitForFinished();
        return {};
    }
    return QString::fromLocal8Bit(tool.readAllStandardOutput());
}

std::optional<WindowInfo> QueryWindow(WindowId window) {
    const DesktopSession& session = DesktopSession::Instance();
    const QString geometry = session.Run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), Hex(window)});
    if (geometry.isEmpty()) return std::nullopt;
    WindowInfo info;
    auto number = [&](const char* label) {
        const QRegularExpression pattern(QLatin1String(label) + QStringLiteral(":\\s*(-?\\d+)"));
        return pattern.match(geometry).captured(1).toInt();
    };
    info.client = QRect(number("Absolute upper-left X"), number("Absolute upper-left Y"), number("Width"),
                        number("Height"));
    info.viewable = geometry.contains(QLatin1String("Map State: IsViewable"));

    const QString properties = session.Run(
        QStringLiteral("xprop"),
        {QStringLiteral("-notype"), QStringLiteral("-id"), Hex(window), QStringLiteral("WM_STATE"),
         QStringLiteral("_NET_WM_STATE"), QStringLiteral("_NET_WM_WINDOW_TYPE"),
         QStringLiteral("_NET_WM_ALLOWED_ACTIONS"), QStringLiteral("WM_TRANSIENT_FOR"),
         QStringLiteral("_MOTIF_WM_HINTS"), QStringLiteral("_NET_WM_NAME"), QStringLiteral("WM_NAME"),
         QStringLiteral("_NET_FRAME_EXTENTS")});
    for (const QString& line : properties.split(u'\n')) {
        const int equals = line.indexOf(u'=');
        const QString name = line.left(equals).trimmed();
        const QString value = equals < 0 ? QString() : line.mid(equals + 1).trimmed();
        if (line.contains(QLatin1String("window state:")))
            info.wmState = line.section(u':', 1).trimmed();
        else if (name == QLatin1String("_NET_WM_STATE"))
            info.netWmState = AtomList(value);
        else if (name == QLatin1String("_NET_WM_WINDOW_TYPE"))
            info.windowType = AtomList(value);
        else if (name == QLatin1String("_NET_WM_ALLOWED_ACTIONS"))
            info.allowedActions = AtomList(value);
        else if (line.startsWith(QLatin1String("WM_TRANSIENT_FOR")) && line.contains(u'#'))
            info.transientFor = ParseWindowId(line.section(u'#', 1));
        else if (name == QLatin1String("_MOTIF_WM_HINTS")) {
            for (const QString& field : value.split(u','))
                info.motifHints.push_back(field.trimmed().toUInt(nullptr, 0));
        } else if (name == QLatin1String("_NET_WM_NAME") ||
                   (name == QLatin1String("WM_NAME") && info.name.isEmpty()))
            info.name = value.mid(1, value.size() - 2);
        else if (name == QLatin1String("_NET_FRAME_EXTENTS")) {
            const QStringList sides = value.split(u',');
            if (sides.size() == 4)
                info.frameExtents = QRect(sides[0].trimmed().toInt(), sides[2].trimmed().toInt(),
                                          sides[1].trimmed().toInt(), sides[3].trimmed().toInt());
        }
    }
    return info;
}

std::vector<WindowId> WindowsOfClass(const QString& windowClass) {
    return ParseWindowList(DesktopSession::Instance().Run(
        QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--class"), windowClass}));
}

std::vector<WindowId> StackingOrder() {
    const QString line = DesktopSession::Instance().Run(
        QStringLiteral("xprop"),
        {QStringLiteral("-root"), QStringLiteral("-notype"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
    return ParseWindowList(line);
}

std::vector<WindowId> TrayIconsOfClass(const QString& windowClass) {
    std::vector<WindowId> icons;
    for (WindowId panel : WindowsOfClass(QStringLiteral("trayer"))) {
        const QString tree = DesktopSession::Instance().Run(
            QStringLiteral("xwininfo"), {QStringLiteral("-id"), Hex(panel), QStringLiteral("-tree")});
        // An embedded icon keeps its own class: 0x600014 "Kalendo vX.Y": ("kalendo" "Kalendo vX.Y") ...
        const QRegularExpression row(QStringLiteral("(0x[0-9a-f]+) [^\\n]*\\(\"") +
                                     QRegularExpression::escape(windowClass) + QStringLiteral("\""));
        for (auto match = row.globalMatch(tree); match.hasNext();) {
            if (const std::optional<WindowId> id = ParseWindowId(match.next().captured(1)))
                icons.push_back(*id);
        }
    }
    return icons;
}

void ActivateWindow(WindowId window) {
    DesktopSession::Instance().Run(QStringLiteral("xdotool"),
                                   {QStringLiteral("windowactivate"), QStringLiteral("--sync"), Hex(window)});
}

void PressKeys(const QStringList& keys) {
    QStringList arguments{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("80")};
    DesktopSession::Instance().Run(QStringLiteral("xdotool"), arguments + keys);
}

void ClickAt(QPoint screenPoint, int button) {
    DesktopSession::Instance().Run(QStringLiteral("xdotool"),
                                   {QStringLiteral("mousemove"), QString::number(screenPoint.x()),
                                    QString::number(screenPoint.y()), QStringLiteral("click"),
                                    QString::number(button)});
}

void ClickWindowCentre(WindowId window, int button) {
    if (const std::optional<WindowInfo> info = QueryWindow(window)) ClickAt(info->client.center(), button);
}

void MinimiseWithWindowManager(WindowId window) {
    DesktopSession::Instance().Run(QStringLiteral("xdotool"),
                                   {QStringLiteral("windowminimize"), Hex(window)});
}

void CloseWithWindowManager(WindowId window) {
    // As the title bar's close button does: the window manager asks the window to close.
    DesktopSession::Instance().Run(QStringLiteral("wmctrl"),
                                   {QStringLiteral("-i"), QStringLiteral("-c"), Hex(window)});
}

QImage GrabWindow(WindowId window) {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->grabWindow(static_cast<WId>(window)).toImage() : QImage();
}

QImage GrabScreen(QRect area) {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr
               ? screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage()
               : QImage();
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    for (;;) {
        if (condition()) return true;
        if (elapsed.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(40);
    }
}

KalendoProcess::KalendoProcess(const QProcessEnvironment& extra) {
    environment_ = QProcessEnvironment::systemEnvironment();
    environment_.insert(QStringLiteral("DISPLAY"), DesktopSession::Instance().Display());
    environment_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment_.insert(QStringLiteral("HOME"), home_.path());
    environment_.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.path() + QStringLiteral("/.config"));
    environment_.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_GB.UTF-8"));
    environment_.insert(QStringLiteral("LANG"), QStringLiteral("en_GB.UTF-8"));
    // Nothing of the developer's session may leak in: no update page, no named dates.
    environment_.insert(QStringLiteral("KALENDO_UPDATE_URL"),
                        QStringLiteral("http://127.0.0.1:9/newkalendo.htm"));
    environment_.insert(QStringLiteral("KALENDO_DATA_DIR"), home_.path() + QStringLiteral("/no-data"));
    for (const QString& key : extra.keys())
        environment_.insert(key, extra.value(key));
    process_.setProcessChannelMode(QProcess::MergedChannels);
}

KalendoProcess::~KalendoProcess() { Kill(); }

bool KalendoProcess::Start() {
    process_.setProcessEnvironment(environment_);
    process_.start(QStringLiteral(KALENDO_PROGRAM_PATH), {});
    if (!process_.waitForStarted(5000)) return false;
    return WaitUntil(
        [&] {
            const std::optional<WindowId> main = MainWindow();
            if (!main) return false;
            const std::optional<WindowInfo> info = QueryWindow(*main);
            return info && info->viewable;
        },
        10000);
}

QString KalendoProcess::Describe() const {
    QString text = QStringLiteral("program %1; windows:")
                       .arg(Running() ? QStringLiteral("running") : QStringLiteral("ended"));
    for (WindowId window : WindowsOfClass(QStringLiteral("kalendo"))) {
        const std::optional<WindowInfo> info = QueryWindow(window);
        if (!info) continue;
        text += QStringLiteral("\n  %1 \"%2\" %3 %4x%5 %6 [%7]")
                    .arg(Hex(window), info->name, info->windowType.join(u','))
                    .arg(info->client.width())
                    .arg(info->client.height())
                    .arg(info->viewable ? QStringLiteral("shown") : QStringLiteral("not shown"),
                         info->netWmState.join(u','));
    }
    output_ += QString::fromLocal8Bit(const_cast<QProcess&>(process_).readAll());
    return text + QStringLiteral("\noutput: ") + output_;
}

bool KalendoProcess::WaitForExit(int timeoutMs) {
    const bool ended = WaitUntil([&] { return !Running(); }, timeoutMs);
    output_ += QString::fromLocal8Bit(process_.readAll());
    return ended;
}

void KalendoProcess::Kill() {
    if (!Running()) return;
    process_.kill();
    process_.waitForFinished(3000);
    output_ += QString::fromLocal8Bit(process_.readAll());
}

std::optional<WindowId> KalendoProcess::MainWindow() const {
    for (WindowId window : WindowsOfClass(QStringLiteral("kalendo"))) {
        const std::optional<WindowInfo> info = QueryWindow(window);
        if (info && info->windowType.value(0) == QLatin1String("NORMAL") &&
            info->client.width() == kDesignClientWidth)
            return window;
    }
    return std::nullopt;
}

std::optional<WindowId> KalendoProcess::ShownWindowNamed(const QString& name) const {
    for (WindowId window : WindowsOfClass(QStringLiteral("kalendo"))) {
        const std::optional<WindowInfo> info = QueryWindow(window);
        if (info && info->viewable && info->name == name) return window;
    }
    return std::nullopt;
}

std::vector<WindowId> KalendoProcess::ShownDialogs() const {
    std::vector<WindowId> dialogs;
    for (WindowId window : WindowsOfClass(QStringLiteral("kalendo"))) {
        const std::optional<WindowInfo> info = QueryWindow(window);
        if (info && info->viewable && info->windowType.value(0) == QLatin1String("DIALOG"))
            dialogs.push_back(window);
    }
    return dialogs;
}

QString KalendoProcess::SettingsFile() const {
    return home_.path() + QStringLiteral("/.config/Marrowby/") +
           QString::fromLatin1(kalendo::kVersionedName) + QStringLiteral(".conf");
}

QString KalendoProcess::Stored(const QString& name) const {
    QSettings settings(SettingsFile(), QSettings::IniFormat);
    return settings.value(name).toString();
}

void KalendoProcess::Seed(const QString& name, const QString& value) {
    QDir().mkpath(QFileInfo(SettingsFile()).path());
    QSettings settings(SettingsFile(), QSettings::IniFormat);
    settings.setValue(name, value);
}

QString ScreenshotPath(const QString& name) {
    const QString folder = QStringLiteral(KALENDO_SCREENSHOT_DIR) + QStringLiteral("/desktop");
    QDir().mkpath(folder);
    return folder + u'/' + name + QStringLiteral(".png");
}

} // namespace kalendo::desktop
