#pragma once

#include <QFont>

namespace kalendo::platform {

// The windows are laid out for "MS Sans Serif" and print in "Arial". Neither exists outside
// Windows, so both are mapped onto Liberation Sans (metric-compatible with Arial), which the
// set-up installs; the application font becomes that face at 8 points.
void InstallApplicationFonts();

// The windows' design face, "MS Sans Serif", at a pixel size: the sizes the windows are laid
// out in are pixels, which stay the same on every screen.
QFont DesignFont(int pixelSize, bool bold);

} // namespace kalendo::platform
