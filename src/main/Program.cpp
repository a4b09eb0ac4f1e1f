#include "main/Program.h"

#include "app/ErrorReport.h"
#include "app/Unit2.h"
#include "calendar/dsCalendarAccessible.h"
#include "platform/Fonts.h"
#include "platform/LocaleAdapter.h"
#include "tools/easter1.h"
#include "ui/Pictures.h"
#include "ui/about.h"
#include "ui/aboutfact.h"
#include "update/UpdateMessage.h"

#include <QGuiApplication>

namespace kalendo {

TKalendoWindows::TKalendoWindows(std::shared_ptr<platform::SettingsStore> store)
    : form1_(std::make_unique<app::TForm1>(std::move(store))), aboutBox_(std::make_unique<TAboutBox>()),
      helpFact_(std::make_unique<THelpFact>()), formMessage_(std::make_unique<update::Tform_Message>()),
      easterForm_(std::make_unique<TEasterForm>()) {
    form1_->SetAboutBox(aboutBox_.get());
    form1_->SetHelpFact(helpFact_.get());
    form1_->SetEasterForm(easterForm_.get());
    form1_->SetFormMessage(formMessage_.get());
}

// The main window goes first: the secondary windows must not outlive the one that opens them.
TKalendoWindows::~TKalendoWindows() { form1_.reset(); }

void TKalendoWindows::ShowMainWindow() { form1_->show(); }

void PrepareApplication() {
    // The title names the program where a window has no caption of its own (the main window,
    // the message boxes); as a display name it would be appended to every window's caption.
    QCoreApplication::setApplicationName(QString::fromLatin1(app::kApplicationTitle));
    // The program ends through its exit sequence only: the about window closed while the main
    // window waits in the notification area is the last visible window, not the end.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QGuiApplication::setWindowIcon(pictures::ProgramIcon());
    platform::InstallApplicationFonts();
    InstallCalendarAccessibility();
    platform::InstallDateEnvironment();
    app::InstallDecoderMessageBox();
}

} // namespace kalendo
