#pragma once

#include "KalendoVersion.h"

#include <QStringList>

namespace kalendo::credits {

// The product's names and addresses, shared by the credits line, the help print-out, the about
// window and the notification icon. The addresses are on reserved example domains.
inline constexpr const char* kProductName = kVersionedName;
inline constexpr const char* kCompanyName = "Marrowby";
inline constexpr const char* kMakerName = "Edwin Harcourt";
inline constexpr const char* kWebAddress = "www.marrowby.example";
inline constexpr const char* kSupportEmail = "support@marrowby.example";
inline constexpr const char* kPublicationNotice = "Copyright \u00a9 2003 - 2026";
// Follows the product name in the help window's title and print-out.
inline constexpr const char* kMakerNotice = " by Edwin Harcourt of Marrowby";

// The six lines of the main window's credits line, in the order they are shown.
inline QStringList CreditLines() {
    return {kProductName, kCompanyName, kMakerName, kWebAddress, kSupportEmail, kPublicationNotice};
}

} // namespace kalendo::credits
