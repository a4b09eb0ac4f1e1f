#include "platform/Fonts.h"

#include <QApplication>
#include <QFont>

namespace kalendo::platform {

void InstallApplicationFonts() {
    for (const char* family : {"MS Sans Serif", "Arial", "Tahoma", "Microsoft Sans Serif"})
        QFont::insertSubstitutions(family, {"Liberation Sans", "Arimo", "DejaVu Sans"});
    QFont font("Liberation Sans");
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    QApplication::setFont(font);
}

QFont DesignFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace kalendo::platform
