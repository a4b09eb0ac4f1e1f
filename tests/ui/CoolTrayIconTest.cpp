#include "ui/CoolTrayIcon.h"
#include "KalendoVersion.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPixmap>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QWidget>

#include <gtest/gtest.h>

namespace kalendo {
namespace {

QIcon PlainIcon(const QColor& colour) {
    QPixmap picture(16, 16);
    picture.fill(colour);
    return {picture};
}

// An owner window with an icon whose cursor stands where the test puts it.
struct TrayFixture {
    TrayFixture() {
        owner.resize(100, 80);
        icon.SetIcon(PlainIcon(Qt::blue));
        icon.SetCursorSource([this] { return cursor; });
    }
    void Click() {
        icon.HandleIconMessage(imLeftButtonDown);
        icon.HandleIconMessage(imLeftButtonUp);
    }
    QWidget owner;
    TCoolTrayIcon& icon = *new TCoolTrayIcon(&owner);
    QPoint cursor{300, 400};
};

class CoolTrayIcon : public ::testing::Test, protected TrayFixture {};

TEST_F(CoolTrayIcon, tooltipIsTheHintCutTo127Characters) {
    struct Row {
        const char* meaning;
        QString hint;
        bool showHint;
        QString tip;
    };
    const QString longHint = QString(127, u'x') + QStringLiteral("CUT");
    const Row rows[] = {
        {"the main window's hint", (u' ' + QString::fromLatin1(kalendo::kVersionedName) + u' '), true,
         (u' ' + QString::fromLatin1(kalendo::kVersionedName) + u' ')},
        {"a long hint keeps its first 127 characters", longHint, true, QString(127, u'x')},
        {"exactly 127 characters stay whole", QString(127, u'y'), true, QString(127, u'y')},
        {"ShowHint off empties the tip", QStringLiteral("hint"), false, QString()},
        {"an empty hint", QString(), true, QString()},
    };
    for (const Row& row : rows) {
        icon.SetShowHint(row.showHint);
        icon.SetHint(row.hint);
        EXPECT_EQ(icon.TipText(), row.tip) << row.meaning;
        EXPECT_EQ(icon.PlatformIcon().toolTip(), row.tip) << row.meaning;
    }
}

TEST_F(CoolTrayIcon, iconIsInTheNotificationAreaExactlyWhileVisible) {
    EXPECT_FALSE(icon.PlatformIcon().isVisible());
    icon.SetIconVisible(true);
    EXPECT_TRUE(icon.PlatformIcon().isVisible());
    icon.SetIconVisible(false);
    EXPECT_FALSE(icon.PlatformIcon().isVisible());
}

TEST_F(CoolTrayIcon, clickTimerTellsClicksFromDoubleClicks) {
    // D, U: left button down and up; 2: double-click; T: the click timer's tick.
    struct Row {
        const char* meaning;
        bool doubleClickHandler;
        const char* messages;
        int clicks;
        int doubles;
    };
    const Row rows[] = {
        {"without a double-click handler a click comes on release", false, "DU", 1, 0},
        {"with one, a click waits for the double-click time", true, "DU", 0, 0},
        {"and comes when the time is up", true, "DUT", 1, 0},
        {"a second tick reports nothing more", true, "DUTT", 1, 0},
        {"a double-click is no click", true, "DU2UT", 0, 1},
        {"the next single click is a click again", true, "DU2UTDUT", 1, 1},
        {"a release without a press is no click", false, "U", 0, 0},
    };
    for (const Row& row : rows) {
        TrayFixture fresh;
        QSignalSpy clicks(&fresh.icon, &TCoolTrayIcon::OnClick);
        // A spy would count as a handler, so the double-clicks are counted by the handler itself.
        int doubles = 0;
        if (row.doubleClickHandler)
            QObject::connect(&fresh.icon, &TCoolTrayIcon::OnDblClick, [&doubles] { ++doubles; });
        for (const char* message = row.messages; *message != 0; ++message) {
            if (*message == 'T')
                fresh.icon.ClickTimer().Tick();
            else
                fresh.icon.HandleIconMessage(*message == 'D'   ? imLeftButtonDown
                                             : *message == 'U' ? imLeftButtonUp
                                                               : imLeftButtonDblClk);
        }
        EXPECT_EQ(clicks.count(), row.clicks) << row.meaning;
        EXPECT_EQ(doubles, row.doubles) << row.meaning;
    }
    QObject::connect(&icon, &TCoolTrayIcon::OnDblClick, [] {});
    Click();
    EXPECT_EQ(icon.ClickTimer().Interval(), static_cast<unsigned>(QApplication::doubleClickInterval()));
}

TEST_F(CoolTrayIcon, platformActivationsArriveAsClicks) {
    QSignalSpy clicks(&icon, &TCoolTrayIcon::OnClick);
    QSignalSpy ups(&icon, &TCoolTrayIcon::OnMouseUp);
    emit icon.PlatformIcon().activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(clicks.count(), 1);
    emit icon.PlatformIcon().activated(QSystemTrayIcon::Context);
    emit icon.PlatformIcon().activated(QSystemTrayIcon::MiddleClick);
    ASSERT_EQ(ups.count(), 3);
    EXPECT_EQ(ups.at(1).at(0).value<TMouseButton>(), mbRight);
    EXPECT_EQ(ups.at(2).at(0).value<TMouseButton>(), mbMiddle);
}

TEST_F(CoolTrayIcon, aDoubleClickWithoutAFirstClickOnTheIconShownIsAClick) {
    // Qt pairs presses by place and time, not by window: a click on an icon shown moments after
    // the last one was clicked at the same spot arrives as a double-click.
    // No double-click handler, as in the main window: a click is reported at once.
    QSignalSpy clicks(&icon, &TCoolTrayIcon::OnClick);
    icon.ShowIcon();
    emit icon.PlatformIcon().activated(QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(clicks.count(), 1) << "the first press on this showing";
    emit icon.PlatformIcon().activated(QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(clicks.count(), 1) << "a real double-click after it";
    icon.HideIcon();
    icon.ShowIcon();
    emit icon.PlatformIcon().activated(QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(clicks.count(), 2) << "shown anew";
}

TEST_F(CoolTrayIcon, mouseEventsCarryTheButtonAndTheCursor) {
    QSignalSpy downs(&icon, &TCoolTrayIcon::OnMouseDown);
    cursor = QPoint(1200, 790);
    icon.HandleIconMessage(imRightButtonDown);
    ASSERT_EQ(downs.count(), 1);
    EXPECT_EQ(downs.at(0).at(0).value<TMouseButton>(), mbRight);
    EXPECT_TRUE(downs.at(0).at(1).toInt() & ssRight);
    EXPECT_FALSE(downs.at(0).at(1).toInt() & ssLeft);
    EXPECT_EQ(downs.at(0).at(2).toInt(), 1200);
    EXPECT_EQ(downs.at(0).at(3).toInt(), 790);
}

TEST_F(CoolTrayIcon, disabledIconIgnoresTheMouseButNotTheBalloon) {
    QSignalSpy clicks(&icon, &TCoolTrayIcon::OnClick);
    QSignalSpy balloon(&icon, &TCoolTrayIcon::OnBalloonHintClick);
    icon.SetEnabled(false);
    Click();
    icon.HandleIconMessage(imBalloonClick);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(balloon.count(), 1);
}

TEST_F(CoolTrayIcon, popupMenuOpensAtTheCursor) {
    QMenu menu;
    menu.addAction(QStringLiteral("Restore"));
    icon.SetPopupMenu(&menu);
    cursor = QPoint(40, 50);

    icon.HandleIconMessage(imLeftButtonDown);
    EXPECT_FALSE(menu.isVisible()) << "the left button pops nothing up unless LeftPopup";
    icon.HandleIconMessage(imRightButtonDown);
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.pos(), QPoint(40, 50));
    menu.hide();

    icon.SetLeftPopup(true);
    icon.HandleIconMessage(imLeftButtonDown);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
}

TEST_F(CoolTrayIcon, doubleClickChoosesTheMenusDefaultEntry) {
    QMenu menu;
    QAction* other = menu.addAction(QStringLiteral("About"));
    QAction* restore = menu.addAction(QStringLiteral("Restore"));
    menu.setDefaultAction(restore);
    icon.SetPopupMenu(&menu);
    QSignalSpy restored(restore, &QAction::triggered);
    QSignalSpy others(other, &QAction::triggered);
    icon.HandleIconMessage(imLeftButtonDblClk);
    EXPECT_EQ(restored.count(), 1);
    EXPECT_EQ(others.count(), 0);

    icon.SetLeftPopup(true);
    icon.HandleIconMessage(imLeftButtonDblClk);
    EXPECT_EQ(restored.count(), 1) << "with the menu on the left button the double-click chooses nothing";
}

TEST_F(CoolTrayIcon, enterAndExitAreWatchedOnlyWhenWanted) {
    QSignalSpy enters(&icon, &TCoolTrayIcon::OnMouseEnter);
    QSignalSpy exits(&icon, &TCoolTrayIcon::OnMouseExit);
    QSignalSpy moves(&icon, &TCoolTrayIcon::OnMouseMove);
    icon.HandleIconMessage(imMouseMove);
    EXPECT_EQ(enters.count(), 0);
    EXPECT_EQ(moves.count(), 1);
    EXPECT_FALSE(icon.ExitTimer().Running()) << "nothing polls unless asked to";

    icon.SetWantEnterExitEvents(true);
    EXPECT_TRUE(icon.ExitTimer().Running());
    EXPECT_EQ(icon.ExitTimer().Interval(), 20u);
    icon.HandleIconMessage(imMouseMove);
    icon.HandleIconMessage(imMouseMove);
    EXPECT_EQ(enters.count(), 1);
    icon.ExitTimer().Tick();
    EXPECT_EQ(exits.count(), 0) << "the cursor has not moved off";
    cursor += QPoint(30, 0);
    icon.ExitTimer().Tick();
    icon.ExitTimer().Tick();
    EXPECT_EQ(exits.count(), 1);
    icon.HandleIconMessage(imMouseMove);
    EXPECT_EQ(enters.count(), 2);
    icon.SetWantEnterExitEvents(false);
    EXPECT_FALSE(icon.ExitTimer().Running());
}

TEST_F(CoolTrayIcon, cyclesThroughTheIconList) {
    const QList<QIcon> icons = {PlainIcon(Qt::red), PlainIcon(Qt::green), PlainIcon(Qt::yellow)};
    icon.SetIconList(icons);
    icon.SetIconIndex(2);
    icon.SetCycleInterval(250);
    QSignalSpy cycles(&icon, &TCoolTrayIcon::OnCycle);

    icon.SetCycleIcons(true);
    EXPECT_EQ(icon.IconIndex(), 0);
    EXPECT_TRUE(icon.CycleTimer().Running());
    EXPECT_EQ(icon.CycleTimer().Interval(), 250u);
    QList<int> shown;
    for (int tick = 0; tick < 4; ++tick) {
        const int index = icon.IconIndex();
        icon.CycleTimer().Tick();
        EXPECT_EQ(icon.Icon().cacheKey(), icons.at(index).cacheKey());
        shown << cycles.at(tick).at(0).toInt();
    }
    EXPECT_EQ(shown, (QList<int>{1, 2, 0, 1}));
    icon.SetCycleIcons(false);
    EXPECT_FALSE(icon.CycleTimer().Running());
}

TEST_F(CoolTrayIcon, iconIndexStaysInsideTheList) {
    icon.SetIconIndex(5);
    EXPECT_EQ(icon.IconIndex(), 0) << "no list";
    icon.SetCycleIcons(true);
    icon.CycleTimer().Tick(); // an empty list cycles nothing
    icon.SetIconList({PlainIcon(Qt::red), PlainIcon(Qt::green)});
    icon.SetIconIndex(9);
    EXPECT_EQ(icon.IconIndex(), 1);
    icon.SetIconIndex(-3);
    EXPECT_EQ(icon.IconIndex(), 0);
}

TEST_F(CoolTrayIcon, hidesAndRestoresTheMainWindow) {
    owner.show();
    owner.move(120, 90);
    icon.SetIconVisible(true);
    owner.showMinimized();
    icon.HideMainForm();
    EXPECT_FALSE(owner.isVisible());

    icon.SetIconVisible(false);
    icon.ShowMainForm();
    EXPECT_TRUE(owner.isVisible());
    EXPECT_FALSE(owner.isMinimized());
    EXPECT_FALSE(icon.PlatformIcon().isVisible());
    EXPECT_EQ(owner.pos(), QPoint(120, 90)) << "back in its previous place";
}

TEST_F(CoolTrayIcon, minimiseToTrayHidesIntoTheIcon) {
    QSignalSpy minimised(&icon, &TCoolTrayIcon::OnMinimizeToTray);
    owner.show();
    owner.showMinimized();
    QCoreApplication::processEvents();
    EXPECT_EQ(minimised.count(), 0) << "off by default";
    EXPECT_TRUE(owner.isVisible());

    owner.showNormal();
    icon.SetMinimizeToTray(true);
    owner.showMinimized();
    QCoreApplication::processEvents();
    EXPECT_EQ(minimised.count(), 1);
    EXPECT_FALSE(owner.isVisible());
    EXPECT_TRUE(icon.IconVisible());
}

TEST_F(CoolTrayIcon, startupAnswerCanKeepTheMainWindowHidden) {
    owner.show();
    int asked = 0;
    icon.OnStartup = [&](bool& showMainForm) {
        ++asked;
        showMainForm = false;
    };
    icon.SetHint(QStringLiteral("tip"));
    icon.Loaded();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(owner.isVisible());
    EXPECT_FALSE(icon.PlatformIcon().isVisible());
    EXPECT_EQ(icon.PlatformIcon().toolTip(), QStringLiteral("tip"));
}

} // namespace
} // namespace kalendo
