#include "main/Program.h"

#include "app/Unit2.h"
#include "dates/DateEnvironment.h"
#include "tools/easter1.h"
#include "ui/Pictures.h"
#include "ui/about.h"
#include "ui/aboutfact.h"
#include "update/UpdateMessage.h"

#include <QAction>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <vector>

namespace kalendo {
namespace {

TEST(TKalendoWindows, showsOnlyTheMainWindowAndWiresItsMenuToTheOthers) {
    ScopedDateEnvironment environment(UnitedKingdomSettings(),
                                      std::make_shared<FixedClock>(EncodeDate(2026, 12, 7)));
    TKalendoWindows windows(std::make_shared<platform::MemorySettingsStore>());
    windows.ShowMainWindow();
    EXPECT_TRUE(windows.Form1().isVisible());
    EXPECT_FALSE(windows.AboutBox().isVisible());
    EXPECT_FALSE(windows.HelpFact().isVisible());
    EXPECT_FALSE(windows.FormMessage().isVisible());
    EXPECT_FALSE(windows.EasterForm().isVisible());

    std::vector<QWidget*> shown;
    windows.Form1().SetModalRunner([&](QWidget& window) { shown.push_back(&window); });
    windows.Form1().About1->trigger();
    windows.Form1().About2->trigger();
    windows.Form1().EasterCalculations1->trigger();
    const std::vector<QWidget*> expected = {&windows.AboutBox(), &windows.HelpFact(), &windows.EasterForm()};
    EXPECT_EQ(shown, expected);
}

TEST(PrepareApplication, theProgramEndsOnlyThroughItsExitSequence) {
    // The about window, opened from the notification icon while the main window is hidden, is
    // the last visible window when it closes.
    PrepareApplication();
    EXPECT_FALSE(QGuiApplication::quitOnLastWindowClosed());
}

TEST(PrepareApplication, givesEveryWindowTheProgramsIcon) {
    PrepareApplication();
    ScopedDateEnvironment environment(UnitedKingdomSettings(),
                                      std::make_shared<FixedClock>(EncodeDate(2026, 12, 7)));
    TKalendoWindows windows(std::make_shared<platform::MemorySettingsStore>());
    const QImage expected = pictures::ProgramIcon().pixmap(32).toImage();
    for (QWidget* window : std::vector<QWidget*>{&windows.Form1(), &windows.AboutBox(), &windows.HelpFact(),
                                                 &windows.FormMessage(), &windows.EasterForm()})
        EXPECT_EQ(window->windowIcon().pixmap(32).toImage(), expected) << window->metaObject()->className();
}

} // namespace
} // namespace kalendo
