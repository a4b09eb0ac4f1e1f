#pragma once

#include "KalendoVersion.h"

#include <QString>

namespace kalendo::update {

class TmxWebUpdate;

// The product's update page; a reserved host until a real one exists.
inline constexpr const char* kDefaultUpdatePageURL = "https://www.marrowby.example/newkalendo.htm";
inline constexpr const char* kUpdatePageURLVariable = "KALENDO_UPDATE_URL";
inline constexpr const char* kRunningVersion = kVersion;

// KALENDO_UPDATE_URL when set and not empty (mirrors, tests), else the product's page.
QString UpdatePageURL();

// Where the installer is downloaded: "c:\downloads" on Windows, the user's download folder
// elsewhere (empty when the system names none, which sends the file to the temporary folder).
QString UpdateTargetFolder();

// The main window's checker settings: page, running version, captions, options, folder, port.
void ConfigureMainWindowChecker(TmxWebUpdate& checker);

} // namespace kalendo::update
