#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace kalendo::pictures {

// The program's small pictures, drawn in code so no binary files are needed, and its icon.

// A month page with a red binding strip: the desktop's icon of the program, at every size it is
// installed in (the window and the notification area use it too).
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
