#pragma once

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace kalendo::desktop {

using WindowId = unsigned long;

// A desktop as the user has one: an X server (Xvfb) with a window manager (openbox) and a
// notification area (trayer), started once for the whole test run. Everything is driven from
// outside, as a user would, through the X tools (xdotool, xprop, xwininfo, wmctrl).
class DesktopSession {
public:
    static DesktopSession& Instance();

    // Starts the three programs and waits until the window manager and the notification area are
    // up. On failure the reason is in Error().
    bool Start();
    void Stop();
    const QString& Error() const { return error_; }
    // ":N", for DISPLAY.
    const QString& Display() const { return display_; }

    // Runs one X tool on the session's display and returns what it printed; empty on failure.
    QString Run(const QString& program, const QStringList& arguments, int timeoutMs = 5000) const;

private:
    bool StartProgram(QProcess& process, const QString& program, const QStringList& arguments);
    // Starts trayer and waits for its panel.
    bool StartNotificationArea();

    QString error_;
    QString display_;
    QTemporaryDir home_;
    QProcess server_;
    QProcess windowManager_;
    QProcess notificationArea_;
};

// What the X server and the window manager say about one top-level window.
struct WindowInfo {
    bool viewable = false;
    QString wmState;        // "Normal", "Iconic", or empty when withdrawn
    QStringList netWmState; // _NET_WM_STATE atoms without their prefix: "ABOVE", "HIDDEN", ...
    QStringList windowType; // _NET_WM_WINDOW_TYPE atoms without their prefix: "DIALOG", "NORMAL"
    QStringList allowedActions;
    std::optional<WindowId> transientFor;
    std::vector<unsigned> motifHints; // flags, functions, decorations, input mode, status
    QString name;
    QRect client;       // in screen coordinates
    QRect frameExtents; // left, top, right, bottom stored as x, y, width, height
    QRect Outer() const {
        return client.adjusted(-frameExtents.x(), -frameExtents.y(), frameExtents.width(),
                               frameExtents.height());
    }
    QPoint OuterTopLeft() const { return client.topLeft() - QPoint(frameExtents.x(), frameExtents.y()); }
    bool Has(const char* state) const { return netWmState.contains(QString::fromLatin1(state)); }
};

std::optional<WindowInfo> QueryWindow(WindowId window);
// Top-level windows of a WM_CLASS, as xdotool finds them (mapped or not).
std::vector<WindowId> WindowsOfClass(const QString& windowClass);
// The window manager's stacking order, bottom first.
std::vector<WindowId> StackingOrder();
// The icons the notification area holds for a WM_CLASS.
std::vector<WindowId> TrayIconsOfClass(const QString& windowClass);

// Input, through the X test extension as if from the keyboard and mouse.
void ActivateWindow(WindowId window);
void PressKeys(const QStringList& keys);
void ClickAt(QPoint screenPoint, int button = 1);
void ClickWindowCentre(WindowId window, int button = 1);
void MinimiseWithWindowManager(WindowId window);
void CloseWithWindowManager(WindowId window);

// The window's pixels as the X server shows them.
QImage GrabWindow(WindowId window);
// What the screen shows in an area, window frames included.
QImage GrabScreen(QRect area);

// Polls until the condition holds or the time is up; the desktop answers asynchronously.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

// The real program, started on the session's display with its own empty home and settings.
class KalendoProcess {
public:
    explicit KalendoProcess(const QProcessEnvironment& extra = {});
    ~KalendoProcess();
    KalendoProcess(const KalendoProcess&) = delete;
    KalendoProcess& operator=(const KalendoProcess&) = delete;

    // Starts the program and waits for its main window to be shown. Settings written by an
    // earlier run of the same object are kept, so a test can restart it.
    bool Start();
    bool Running() const { return process_.state() != QProcess::NotRunning; }
    bool WaitForExit(int timeoutMs = 5000);
    void Kill();
    // The main window: the program's normal top-level window of the designed width.
    std::optional<WindowId> MainWindow() const;
    // Top-level windows of the program with the given _NET_WM_NAME that are shown.
    std::optional<WindowId> ShownWindowNamed(const QString& name) const;
    std::vector<WindowId> ShownDialogs() const;

    QString Home() const { return home_.path(); }
    QString SettingsFile() const;
    // A value of the stored settings; empty when missing.
    QString Stored(const QString& name) const;
    void Seed(const QString& name, const QString& value);
    // The program's windows and what it printed, for failure messages.
    QString Describe() const;

private:
    QTemporaryDir home_;
    QProcessEnvironment environment_;
    QProcess process_;
    mutable QString output_;
};

// Where the desktop tests save their screenshots.
QString ScreenshotPath(const QString& name);

} // namespace kalendo::desktop
