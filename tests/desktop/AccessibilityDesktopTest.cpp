// The program as a screen reader meets it: a D-Bus session with the AT-SPI accessibility bus,
// the real program with Qt's bridge switched on, and its tree read from the bus by a pyatspi
// script, while keys come from the X test extension as if from the keyboard.
#include "KalendoVersion.h"
#include "app/QStringPrinter.h"
#include "desktop/DesktopSession.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <memory>

inline void PrintTo(const QDate& date, std::ostream* out) {
    *out << date.toString(Qt::ISODate).toStdString();
}

namespace kalendo::desktop {
namespace {

class AccessibilityBus : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        session_ = std::make_unique<QProcess>();
        launcher_ = std::make_unique<QProcess>();
        session_->setProcessChannelMode(QProcess::SeparateChannels);
        session_->start(
            QStringLiteral("dbus-daemon"),
            {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
        if (session_->waitForReadyRead(10000))
            address_ = QString::fromLocal8Bit(session_->readLine()).trimmed();
        launcher_->setProcessEnvironment(BusEnvironment(true));
        launcher_->start(QStringLiteral("/usr/libexec/at-spi-bus-launcher"),
                         {QStringLiteral("--launch-immediately")});
        launcher_->waitForStarted(5000);
    }

    static void TearDownTestSuite() {
        for (QProcess* process : {launcher_.get(), session_.get()}) {
            process->terminate();
            if (!process->waitForFinished(3000)) process->kill();
            process->waitForFinished(3000);
        }
        launcher_.reset();
        session_.reset();
    }

    // The session bus, and Qt's bridge on without asking the bus whether a screen reader runs:
    // alone for the program, on top of the whole environment for the reader and the launcher.
    static QProcessEnvironment BusEnvironment(bool whole = false) {
        QProcessEnvironment environment =
            whole ? QProcessEnvironment::systemEnvironment() : QProcessEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), DesktopSession::Instance().Display());
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address_);
        environment.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        return environment;
    }

    void SetUp() override {
        ASSERT_FALSE(address_.isEmpty()) << "dbus-daemon gave no session address (scripts/install-deps.sh)";
        ASSERT_EQ(launcher_->state(), QProcess::Running) << "at-spi-bus-launcher does not run";
        ASSERT_TRUE(program_.Start()) << program_.Describe().toStdString();
        ActivateWindow(*program_.MainWindow());
    }

    // The tree as the bus shows it now.
    QJsonObject Tree() const {
        QProcess reader;
        reader.setProcessEnvironment(BusEnvironment(true));
        reader.start(QStringLiteral(KALENDO_PYTHON3), {QStringLiteral(KALENDO_ACCESSIBILITY_SCRIPT),
                                                       QString::fromLatin1(kalendo::kVersionedName)});
        if (!reader.waitForFinished(60000)) reader.kill();
        QJsonObject tree = QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
        if (tree.isEmpty())
            ADD_FAILURE() << "the reader said: " << reader.readAllStandardError().toStdString();
        return tree;
    }

    // The date named by the table's selected day.
    static QDate SelectedDay(const QJsonObject& tree, int table) {
        return QDate::fromString(
            tree[QStringLiteral("tables")][table][QStringLiteral("selected")][0].toString(), Qt::ISODate);
    }

    static int FocusedTable(const QJsonObject& tree) { return tree[QStringLiteral("focused_table")].toInt(); }

    // Presses Tab until a calendar has the focus; its index, or -1.
    int TabToACalendar() const {
        for (int tabs = 0; tabs < 30; ++tabs) {
            if (const int table = FocusedTable(Tree()); table >= 0) return table;
            PressKeys({QStringLiteral("Tab")});
        }
        return -1;
    }

    static inline std::unique_ptr<QProcess> session_;
    static inline std::unique_ptr<QProcess> launcher_;
    static inline QString address_;
    KalendoProcess program_{BusEnvironment()};
};

TEST_F(AccessibilityBus, bothCalendarsAreTablesOfNamedDaysWithOneSelected) {
    const QJsonArray tables = Tree()[QStringLiteral("tables")].toArray();
    ASSERT_EQ(tables.size(), 2) << program_.Describe().toStdString();
    for (const auto& table : tables) {
        EXPECT_FALSE(table[QStringLiteral("name")].toString().isEmpty());
        EXPECT_EQ(table[QStringLiteral("rows")].toInt(), 6);
        EXPECT_EQ(table[QStringLiteral("columns")].toInt(), 7);
        EXPECT_EQ(table[QStringLiteral("days")].toInt(), 42);
        EXPECT_EQ(table[QStringLiteral("selected")].toArray().size(), 1);
    }
}

TEST_F(AccessibilityBus, tabReachesACalendarAndThreeRightKeysMoveItsDateThreeDaysKeepingTheFocus) {
    const int table = TabToACalendar();
    ASSERT_GE(table, 0) << "no calendar took the focus by Tab";
    const QJsonObject before = Tree();
    EXPECT_TRUE(before[QStringLiteral("focused")].toString().startsWith(QLatin1String("table cell")))
        << before[QStringLiteral("focused")].toString().toStdString();
    if (const std::optional<WindowInfo> main = QueryWindow(*program_.MainWindow()))
        GrabScreen(main->Outer()).save(ScreenshotPath(QStringLiteral("calendar-focused-by-tab")));
    const QDate start = SelectedDay(before, table);
    ASSERT_TRUE(start.isValid()) << "the selected day is named with its date";
    PressKeys({QStringLiteral("Right"), QStringLiteral("Right"), QStringLiteral("Right")});
    const QJsonObject after = Tree();
    EXPECT_EQ(FocusedTable(after), table) << "the focus stays in the calendar";
    EXPECT_EQ(SelectedDay(after, table), start.addDays(3));
}

TEST_F(AccessibilityBus, everyWindowAndFocusableControlHasANameOfItsOwn) {
    const QJsonObject tree = Tree();
    for (const char* list : {"unnamed", "shared"}) {
        QStringList controls;
        for (const auto& control : tree[QLatin1String(list)].toArray())
            controls << control.toString();
        EXPECT_EQ(controls, QStringList()) << list;
    }
}

} // namespace
} // namespace kalendo::desktop
