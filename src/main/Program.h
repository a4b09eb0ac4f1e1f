#pragma once

#include "platform/SettingsStore.h"

#include <memory>

namespace kalendo {
class TAboutBox;
class THelpFact;
class TEasterForm;
namespace app {
class TForm1;
}
namespace update {
class Tform_Message;
}

// The program's five windows, created in their fixed order: the main window, the about window,
// the help and factsheet window, the update progress window and the Easter calculator. Only the
// main window is shown; the others wait hidden until its menu opens them.
class TKalendoWindows {
public:
    explicit TKalendoWindows(std::shared_ptr<platform::SettingsStore> store);
    ~TKalendoWindows();
    TKalendoWindows(const TKalendoWindows&) = delete;
    TKalendoWindows& operator=(const TKalendoWindows&) = delete;

    app::TForm1& Form1() { return *form1_; }
    TAboutBox& AboutBox() { return *aboutBox_; }
    THelpFact& HelpFact() { return *helpFact_; }
    update::Tform_Message& FormMessage() { return *formMessage_; }
    TEasterForm& EasterForm() { return *easterForm_; }

    void ShowMainWindow();

private:
    std::unique_ptr<app::TForm1> form1_;
    std::unique_ptr<TAboutBox> aboutBox_;
    std::unique_ptr<THelpFact> helpFact_;
    std::unique_ptr<update::Tform_Message> formMessage_;
    std::unique_ptr<TEasterForm> easterForm_;
};

// What the program does before any window exists: the application title, the fonts and the
// user's locale for the date services.
void PrepareApplication();

} // namespace kalendo
