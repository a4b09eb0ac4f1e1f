#pragma once

namespace kalendo::platform {

// The windows are laid out for "MS Sans Serif" and print in "Arial". Neither exists outside
// Windows, so both are mapped onto Liberation Sans (metric-compatible with Arial), which the
// set-up installs; the application font becomes that face at 8 points.
void InstallApplicationFonts();

} // namespace kalendo::platform
