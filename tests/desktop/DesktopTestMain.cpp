// Entry point of the desktop tests: one X server with a window manager and a notification area
// for the whole run, and a Qt client of it (for grabbing what the screen shows). Listing the
// tests needs no desktop.
#include "desktop/DesktopSession.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();

    kalendo::desktop::DesktopSession& session = kalendo::desktop::DesktopSession::Instance();
    if (!session.Start()) {
        std::fprintf(stderr, "The desktop for the tests did not start: %s\n", qPrintable(session.Error()));
        session.Stop();
        return 1;
    }
    qputenv("DISPLAY", session.Display().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    int result = 1;
    {
        QGuiApplication application(argc, argv);
        result = RUN_ALL_TESTS();
    }
    session.Stop();
    return result;
}
