#pragma once

#include "ui/SimpleTimer.h"

#include <QIcon>
#include <QList>
#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class QSystemTrayIcon;
class QWidget;

namespace kalendo {

// What the notification area reports about the icon, in the order of the shell's messages.
enum TIconMessage : int {
    imMouseMove,
    imLeftButtonDown,
    imLeftButtonUp,
    imLeftButtonDblClk,
    imRightButtonDown,
    imRightButtonUp,
    imMiddleButtonDown,
    imMiddleButtonUp,
    imBalloonShow,
    imBalloonHide,
    imBalloonTimeout,
    imBalloonClick,
};

enum TMouseButton : int { mbLeft, mbRight, mbMiddle };

// A set of TShiftFlag: the keys held and the button concerned when a mouse event is raised.
enum TShiftFlag : int { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };
using TShiftState = int;

// An icon with a hint in the notification area that turns the area's mouse reports into click,
// double-click and mouse events, pops up a menu at the cursor and can hide and restore the
// owner's window. The platform's reports arrive through HandleIconMessage, which tests call.
class TCoolTrayIcon : public QObject {
    Q_OBJECT

public:
    // The tooltip holds at most this many characters of the hint.
    static constexpr int kMaxTipLength = 127;
    static constexpr unsigned kExitPollInterval = 20;

    // owner: the window that is hidden into the icon and restored from it (may be null).
    explicit TCoolTrayIcon(QWidget* owner);
    ~TCoolTrayIcon() override;

    const QList<QIcon>& IconList() const { return iconList_; }
    void SetIconList(const QList<QIcon>& icons);
    bool CycleIcons() const { return cycleIcons_; }
    void SetCycleIcons(bool value);
    unsigned CycleInterval() const { return cycleInterval_; }
    void SetCycleInterval(unsigned milliseconds);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { enabled_ = value; }
    const QString& Hint() const { return hint_; }
    void SetHint(const QString& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    const QIcon& Icon() const { return icon_; }
    void SetIcon(const QIcon& icon);
    bool IconVisible() const { return iconVisible_; }
    void SetIconVisible(bool value);
    int IconIndex() const { return iconIndex_; }
    void SetIconIndex(int index);
    QMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(QMenu* menu) { popupMenu_ = menu; }
    bool LeftPopup() const { return leftPopup_; }
    void SetLeftPopup(bool value) { leftPopup_ = value; }
    bool WantEnterExitEvents() const { return wantEnterExitEvents_; }
    void SetWantEnterExitEvents(bool value);
    bool MinimizeToTray() const { return minimizeToTray_; }
    void SetMinimizeToTray(bool value) { minimizeToTray_ = value; }

    // Asked by Loaded whether the owner's window is shown at start; it may clear the answer.
    std::function<void(bool& showMainForm)> OnStartup;

    // Adds the icon to the notification area (or takes it away) and reports whether the
    // platform has one.
    bool ShowIcon();
    bool HideIcon();
    // Hands the current icon and tooltip to the notification area.
    bool ModifyIcon();
    // The tooltip as handed over: the hint cut to kMaxTipLength characters, or empty when the
    // hint is empty or ShowHint is off.
    QString TipText() const;

    // Brings the owner's window back from minimised or hidden, in front.
    void ShowMainForm();
    // Hides the owner's window, and with it its taskbar button.
    void HideMainForm();

    // Once the owner has set everything up: asks OnStartup, then applies the settings.
    void Loaded();

    // One report from the notification area. Mouse reports are ignored while not Enabled.
    void HandleIconMessage(TIconMessage message);

    TSimpleTimer& ClickTimer() { return clickTimer_; }
    TSimpleTimer& CycleTimer() { return cycleTimer_; }
    TSimpleTimer& ExitTimer() { return exitTimer_; }
    QSystemTrayIcon& PlatformIcon() { return *trayIcon_; }

    // Where the cursor is; the exit watch and the mouse events read it. Tests replace it.
    void SetCursorSource(std::function<QPoint()> source);

    // Whether the platform has a notification area at all. Without one the owner should
    // minimise normally, since a hidden window could not be brought back.
    static bool IsTrayAvailable();
    // Tests pretend either way; nullopt asks the platform again.
    static void OverrideTrayAvailable(std::optional<bool> available);

signals:
    void OnClick();
    // Anything connected here makes a single click wait for the double-click time.
    void OnDblClick();
    void OnMouseDown(kalendo::TMouseButton button, kalendo::TShiftState shift, int x, int y);
    void OnMouseUp(kalendo::TMouseButton button, kalendo::TShiftState shift, int x, int y);
    void OnMouseMove(kalendo::TShiftState shift, int x, int y);
    void OnMouseEnter();
    void OnMouseExit();
    void OnCycle(int nextIndex);
    void OnBalloonHintShow();
    void OnBalloonHintHide();
    void OnBalloonHintTimeout();
    void OnBalloonHintClick();
    void OnMinimizeToTray();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* MainForm() const;
    void ClickTimerTick();
    void CycleTimerTick();
    void ExitTimerTick();
    void PopupAtCursor();
    bool DblClickAssigned() const;
    TShiftState KeyboardShift() const;

    QPointer<QWidget> owner_;
    QSystemTrayIcon* trayIcon_ = nullptr;
    QList<QIcon> iconList_;
    bool cycleIcons_ = false;
    unsigned cycleInterval_ = 0;
    bool enabled_ = true;
    QString hint_;
    bool showHint_ = true;
    QIcon icon_;
    bool iconVisible_ = false;
    int iconIndex_ = 0;
    QPointer<QMenu> popupMenu_;
    bool leftPopup_ = false;
    bool wantEnterExitEvents_ = false;
    bool minimizeToTray_ = false;

    TSimpleTimer cycleTimer_;
    TSimpleTimer clickTimer_;
    TSimpleTimer exitTimer_;
    std::function<QPoint()> cursorSource_;

    bool clickStart_ = false; // the left button went down on the icon
    bool clickReady_ = false; // a click waits to be reported
    bool isDblClick_ = false;
    bool didExit_ = true;            // the mouse is known to be outside the icon
    bool pressedSinceShown_ = false; // the left button went down on this showing of the icon
    int lastMoveX_ = 0;
    int lastMoveY_ = 0;
};

} // namespace kalendo
