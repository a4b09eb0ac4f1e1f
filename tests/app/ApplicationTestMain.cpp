// Entry point of the error-report tests: like the other widget tests, but the application object
// is the program's own, so events dispatched in the tests pass through its error boundary.
#include "app/ErrorReport.h"
#include "platform/Fonts.h"

#include <QLocale>
#include <QStandardPaths>
#include <QStyleFactory>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    kalendo::app::TKalendoApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    kalendo::platform::InstallApplicationFonts();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
