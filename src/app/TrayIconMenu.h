#pragma once

class QAction;
class QMenu;
class QWidget;

namespace kalendo {
class TCoolTrayIcon;
}

namespace kalendo::app {

// The notification-area icon of the main window and its menu, with the items a handler is
// connected to.
struct TrayIconParts {
    TCoolTrayIcon* icon = nullptr;
    QMenu* menu = nullptr;
    QAction* restore = nullptr;
    QAction* about = nullptr;
    QAction* exit = nullptr;
};

// Makes the icon (not yet shown) and its menu, owned by the window.
TrayIconParts MakeTrayIcon(QWidget& window);

} // namespace kalendo::app
