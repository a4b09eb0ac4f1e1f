#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace kalendo::pictures {

// The program's small pictures, drawn in code so no binary files are needed.

// A calendar page with a red binding strip: the program's icon.
QIcon ProgramIcon();
// A green arrow curving back to the left, for "Return to Program" buttons (32 x 32).
QPixmap ReturnPicture();
// A printer with a sheet coming out, for "Print Help" (32 x 32).
QPixmap PrintPicture();
// A closed envelope (32 x 22).
QPixmap EnvelopePicture();
// The Union Flag, 2:1 (120 x 60).
QImage FlagPicture();

} // namespace kalendo::pictures
