#include "app/TrayIconMenu.h"

#include "KalendoVersion.h"
#include "ui/CoolTrayIcon.h"
#include "ui/Pictures.h"

#include <QAction>
#include <QMenu>

namespace kalendo::app {

TrayIconParts MakeTrayIcon(QWidget& window) {
    TrayIconParts parts;
    parts.menu = new QMenu(&window);
    parts.menu->setObjectName(QStringLiteral("PopupMenu1"));
    parts.restore = parts.menu->addAction(QStringLiteral("Restore"));
    parts.restore->setObjectName(QStringLiteral("Restore1"));
    parts.menu->addSeparator()->setObjectName(QStringLiteral("N1"));
    parts.about = parts.menu->addAction(QStringLiteral("About"));
    // The design's name for its About item.
    parts.about->setObjectName(QStringLiteral("Exit1"));
    parts.menu->addSeparator()->setObjectName(QStringLiteral("N2"));
    parts.exit = parts.menu->addAction(QStringLiteral("Exit"));
    parts.exit->setObjectName(QStringLiteral("Exit2"));

    parts.icon = new TCoolTrayIcon(&window);
    parts.icon->setObjectName(QStringLiteral("TrayIcon1"));
    parts.icon->SetIcon(pictures::ProgramIcon());
    parts.icon->SetHint(u' ' + QString::fromLatin1(kVersionedName) + u' ');
    parts.icon->SetPopupMenu(parts.menu);
    return parts;
}

} // namespace kalendo::app
