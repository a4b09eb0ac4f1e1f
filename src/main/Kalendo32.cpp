// The program: sets the title, fonts and locale, creates the windows in their order, shows the
// main window and runs the event loop until File > Exit ends it.
#include "app/ErrorReport.h"
#include "main/Program.h"

int main(int argc, char** argv) {
    kalendo::app::TKalendoApplication application(argc, argv);
    kalendo::PrepareApplication();
    kalendo::TKalendoWindows windows(std::make_shared<kalendo::platform::NativeSettingsStore>());
    windows.ShowMainWindow();
    return kalendo::app::TKalendoApplication::exec();
}
