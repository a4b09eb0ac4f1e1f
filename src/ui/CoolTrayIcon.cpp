#include "ui/CoolTrayIcon.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QMetaMethod>
#include <QSystemTrayIcon>
#include <QWidget>

#include <algorithm>

namespace kalendo {

namespace {
std::optional<bool> trayAvailableOverride;
} // namespace

TCoolTrayIcon::TCoolTrayIcon(QWidget* owner) : QObject(owner), owner_(owner) {
    trayIcon_ = new QSystemTrayIcon(this);
    cursorSource_ = [] { return QCursor::pos(); };

    // Qt reports finished clicks, not button transitions; each report is replayed as the
    // messages that make it up.
    connect(trayIcon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        switch (reason) {
        case QSystemTrayIcon::Trigger:
            pressedSinceShown_ = true;
            HandleIconMessage(imLeftButtonDown);
            HandleIconMessage(imLeftButtonUp);
            break;
        case QSystemTrayIcon::DoubleClick:
            // Qt pairs presses by place and time, not by window: the first click on an icon shown
            // just after the last one was clicked at that spot comes as a double-click.
            if (!pressedSinceShown_) {
                pressedSinceShown_ = true;
                HandleIconMessage(imLeftButtonDown);
                HandleIconMessage(imLeftButtonUp);
                break;
            }
            HandleIconMessage(imLeftButtonDblClk);
            break;
        case QSystemTrayIcon::Context:
            HandleIconMessage(imRightButtonDown);
            HandleIconMessage(imRightButtonUp);
            break;
        case QSystemTrayIcon::MiddleClick:
            HandleIconMessage(imMiddleButtonDown);
            HandleIconMessage(imMiddleButtonUp);
            break;
        case QSystemTrayIcon::Unknown:
            break;
        }
    });
    connect(trayIcon_, &QSystemTrayIcon::messageClicked, this, [this] { HandleIconMessage(imBalloonClick); });

    cycleTimer_.SetOnTimer([this] { CycleTimerTick(); });
    clickTimer_.SetOnTimer([this] { ClickTimerTick(); });
    exitTimer_.SetInterval(kExitPollInterval);
    exitTimer_.SetOnTimer([this] { ExitTimerTick(); });

    if (owner_ != nullptr) owner_->window()->installEventFilter(this);
}

// Qt drops the event filter on the owner's window by itself when this object goes.
TCoolTrayIcon::~TCoolTrayIcon() { HideIcon(); }

void TCoolTrayIcon::SetIconList(const QList<QIcon>& icons) {
    iconList_ = icons;
    SetIconIndex(iconIndex_);
}

void TCoolTrayIcon::SetCycleIcons(bool value) {
    cycleIcons_ = value;
    if (!cycleIcons_) {
        cycleTimer_.Stop(true);
        return;
    }
    SetIconIndex(0);
    cycleTimer_.SetInterval(cycleInterval_);
    cycleTimer_.Start();
}

void TCoolTrayIcon::SetCycleInterval(unsigned milliseconds) {
    cycleInterval_ = milliseconds;
    cycleTimer_.SetInterval(milliseconds);
}

void TCoolTrayIcon::SetHint(const QString& hint) {
    hint_ = hint;
    ModifyIcon();
}

void TCoolTrayIcon::SetShowHint(bool value) {
    showHint_ = value;
    ModifyIcon();
}

void TCoolTrayIcon::SetIcon(const QIcon& icon) {
    icon_ = icon;
    ModifyIcon();
}

void TCoolTrayIcon::SetIconVisible(bool value) {
    if (value)
        ShowIcon();
    else
        HideIcon();
}

void TCoolTrayIcon::SetIconIndex(int index) {
    if (iconList_.isEmpty()) {
        iconIndex_ = 0;
        return;
    }
    iconIndex_ = std::clamp(index, 0, static_cast<int>(iconList_.size()) - 1);
    SetIcon(iconList_.at(iconIndex_));
}

void TCoolTrayIcon::SetWantEnterExitEvents(bool value) {
    wantEnterExitEvents_ = value;
    exitTimer_.SetEnabled(value);
}

bool TCoolTrayIcon::ShowIcon() {
    if (!iconVisible_) pressedSinceShown_ = false;
    iconVisible_ = true;
    ModifyIcon();
    trayIcon_->show();
    return IsTrayAvailable();
}

bool TCoolTrayIcon::HideIcon() {
    iconVisible_ = false;
    trayIcon_->hide();
    return IsTrayAvailable();
}

bool TCoolTrayIcon::ModifyIcon() {
    trayIcon_->setIcon(icon_);
    trayIcon_->setToolTip(TipText());
    return IsTrayAvailable();
}

QString TCoolTrayIcon::TipText() const {
    if (hint_.isEmpty() || !showHint_) return {};
    return hint_.left(kMaxTipLength);
}

QWidget* TCoolTrayIcon::MainForm() const { return owner_ != nullptr ? owner_->window() : nullptr; }

void TCoolTrayIcon::ShowMainForm() {
    QWidget* main = MainForm();
    if (main == nullptr) return;
    // Cleared whatever Qt last heard: a window shown while it carries the minimised state is
    // mapped iconic again, and the window manager may have iconified it behind Qt's back.
    main->setWindowState(main->windowState() & ~Qt::WindowMinimized);
    main->show();
    main->raise();
    main->activateWindow();
}

void TCoolTrayIcon::HideMainForm() {
    if (QWidget* main = MainForm()) main->hide();
}

void TCoolTrayIcon::Loaded() {
    if (QWidget* main = MainForm()) {
        bool showMainForm = true;
        if (OnStartup) OnStartup(showMainForm);
        if (!showMainForm) main->hide();
    }
    ModifyIcon();
    SetIconVisible(iconVisible_);
    if (cycleIcons_) SetCycleIcons(true);
    SetWantEnterExitEvents(wantEnterExitEvents_);
}

void TCoolTrayIcon::HandleIconMessage(TIconMessage message) {
    switch (message) {
    case imBalloonShow:
        emit OnBalloonHintShow();
        return;
    case imBalloonHide:
        emit OnBalloonHintHide();
        return;
    case imBalloonTimeout:
        emit OnBalloonHintTimeout();
        return;
    case imBalloonClick:
        emit OnBalloonHintClick();
        return;
    default:
        break;
    }
    if (!enabled_) return;

    const QPoint at = cursorSource_();
    const TShiftState shift = KeyboardShift();
    switch (message) {
    case imMouseMove:
        if (wantEnterExitEvents_ && didExit_) {
            emit OnMouseEnter();
            didExit_ = false;
        }
        emit OnMouseMove(shift, at.x(), at.y());
        lastMoveX_ = at.x();
        lastMoveY_ = at.y();
        break;
    case imLeftButtonDown:
        // With a double-click handler a single click waits until a second one can no longer come.
        if (DblClickAssigned()) {
            clickTimer_.SetInterval(static_cast<unsigned>(std::max(1, QApplication::doubleClickInterval())));
            clickTimer_.Start();
        }
        emit OnMouseDown(mbLeft, shift | ssLeft, at.x(), at.y());
        clickStart_ = true;
        if (leftPopup_ && popupMenu_ != nullptr) PopupAtCursor();
        break;
    case imLeftButtonUp:
        if (clickStart_) clickReady_ = true;
        if (clickStart_ && !clickTimer_.Running()) {
            clickStart_ = false;
            clickReady_ = false;
            emit OnClick();
        }
        clickStart_ = false;
        emit OnMouseUp(mbLeft, shift | ssLeft, at.x(), at.y());
        break;
    case imLeftButtonDblClk:
        clickReady_ = false;
        isDblClick_ = true;
        emit OnDblClick();
        if (popupMenu_ != nullptr && !leftPopup_) {
            if (QAction* entry = popupMenu_->defaultAction()) entry->trigger();
        }
        break;
    case imRightButtonDown:
        emit OnMouseDown(mbRight, shift | ssRight, at.x(), at.y());
        if (popupMenu_ != nullptr) PopupAtCursor();
        break;
    case imRightButtonUp:
        emit OnMouseUp(mbRight, shift | ssRight, at.x(), at.y());
        break;
    case imMiddleButtonDown:
        emit OnMouseDown(mbMiddle, shift | ssMiddle, at.x(), at.y());
        break;
    case imMiddleButtonUp:
        emit OnMouseUp(mbMiddle, shift | ssMiddle, at.x(), at.y());
        break;
    default:
        break;
    }
}

void TCoolTrayIcon::SetCursorSource(std::function<QPoint()> source) {
    cursorSource_ = source ? std::move(source) : [] { return QCursor::pos(); };
}

bool TCoolTrayIcon::IsTrayAvailable() {
    if (trayAvailableOverride.has_value()) return *trayAvailableOverride;
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TCoolTrayIcon::OverrideTrayAvailable(std::optional<bool> available) {
    trayAvailableOverride = available;
}

bool TCoolTrayIcon::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && minimizeToTray_ && watched == MainForm() &&
        MainForm()->isMinimized()) {
        // Queued: showMinimized() makes the window visible again after announcing the change.
        QMetaObject::invokeMethod(
            this,
            [this] {
                emit OnMinimizeToTray();
                HideMainForm();
                ShowIcon();
            },
            Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void TCoolTrayIcon::ClickTimerTick() {
    clickTimer_.Stop(true);
    if (!isDblClick_ && clickReady_) {
        clickReady_ = false;
        emit OnClick();
    }
    isDblClick_ = false;
}

void TCoolTrayIcon::CycleTimerTick() {
    if (iconList_.isEmpty()) return;
    const int next = iconIndex_ + 1 < iconList_.size() ? iconIndex_ + 1 : 0;
    SetIcon(iconList_.at(std::clamp(iconIndex_, 0, static_cast<int>(iconList_.size()) - 1)));
    emit OnCycle(next);
    iconIndex_ = next;
}

void TCoolTrayIcon::ExitTimerTick() {
    if (didExit_) return;
    const QPoint at = cursorSource_();
    if (at.x() == lastMoveX_ && at.y() == lastMoveY_) return;
    didExit_ = true;
    emit OnMouseExit();
}

void TCoolTrayIcon::PopupAtCursor() {
    const QPoint at = cursorSource_();
    popupMenu_->popup(at);
}

bool TCoolTrayIcon::DblClickAssigned() const {
    return isSignalConnected(QMetaMethod::fromSignal(&TCoolTrayIcon::OnDblClick));
}

TShiftState TCoolTrayIcon::KeyboardShift() const {
    const Qt::KeyboardModifiers keys = QGuiApplication::queryKeyboardModifiers();
    TShiftState shift = 0;
    if (keys & Qt::ShiftModifier) shift |= ssShift;
    if (keys & Qt::AltModifier) shift |= ssAlt;
    if (keys & Qt::ControlModifier) shift |= ssCtrl;
    return shift;
}

} // namespace kalendo
