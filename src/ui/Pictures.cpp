#include "ui/Pictures.h"

#include <QDir>
#include <QPainter>
#include <QPainterPath>

namespace kalendo::pictures {

namespace {

QPixmap Transparent(int width, int height) {
    QPixmap picture(width, height);
    picture.fill(Qt::transparent);
    return picture;
}

} // namespace

QIcon ProgramIcon() {
    QIcon icon;
    const QDir folder(QStringLiteral(":/icons"));
    for (const QString& name : folder.entryList({QStringLiteral("kalendo-*.png")}, QDir::Files))
        icon.addFile(folder.filePath(name));
    return icon;
}

QPixmap ReturnPicture() {
    QPixmap picture = Transparent(32, 32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath bend;
    bend.moveTo(26, 26);
    bend.lineTo(26, 16);
    bend.cubicTo(26, 10, 22, 9, 17, 9);
    bend.lineTo(11, 9);
    painter.setPen(QPen(QColor(0, 120, 0), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(bend);
    QPainterPath head;
    head.moveTo(3, 9);
    head.lineTo(13, 1);
    head.lineTo(13, 17);
    head.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 120, 0));
    painter.drawPath(head);
    return picture;
}

QPixmap PrintPicture() {
    QPixmap picture = Transparent(32, 32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(60, 60, 60), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(9.5, 2.5, 13, 10));
    painter.setBrush(QColor(150, 150, 160));
    painter.drawRoundedRect(QRectF(2.5, 11.5, 27, 12), 2, 2);
    painter.setBrush(QColor(0, 200, 0));
    painter.drawEllipse(QRectF(24, 14, 3, 3));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(8.5, 19.5, 15, 10));
    painter.setPen(QPen(QColor(0, 0, 128), 1));
    for (int y : {23, 26})
        painter.drawLine(QPointF(11, y + 0.5), QPointF(21, y + 0.5));
    return picture;
}

QPixmap EnvelopePicture() {
    QPixmap picture = Transparent(32, 22);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(90, 70, 40), 1));
    painter.setBrush(QColor(250, 240, 200));
    painter.drawRect(QRectF(1.5, 1.5, 29, 19));
    QPainterPath flap;
    flap.moveTo(1.5, 1.5);
    flap.lineTo(16, 12);
    flap.lineTo(30.5, 1.5);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(flap);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 30, 30));
    painter.drawRect(QRectF(24, 4, 4, 5));
    return picture;
}

QImage FlagPicture() {
    // Drawn on the flag's own 60 x 30 grid, then scaled.
    QImage flag(120, 60, QImage::Format_ARGB32_Premultiplied);
    flag.fill(Qt::transparent);
    QPainter painter(&flag);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(2.0, 2.0);
    const QColor blue(1, 33, 105);
    const QColor red(200, 16, 46);
    painter.fillRect(QRectF(0, 0, 60, 30), blue);
    painter.setPen(QPen(Qt::white, 6));
    painter.drawLine(QPointF(0, 0), QPointF(60, 30));
    painter.drawLine(QPointF(60, 0), QPointF(0, 30));
    // The red saltire is offset anticlockwise in each quarter ("counterchanged").
    painter.setClipRect(QRectF(0, 0, 60, 30));
    painter.setPen(QPen(red, 2));
    painter.drawLine(QPointF(0, 1), QPointF(30, 16));
    painter.drawLine(QPointF(30, 14), QPointF(60, 29));
    painter.drawLine(QPointF(0, 31), QPointF(30, 16));
    painter.drawLine(QPointF(30, 14), QPointF(60, -1));
    painter.setPen(Qt::NoPen);
    painter.fillRect(QRectF(25, 0, 10, 30), Qt::white);
    painter.fillRect(QRectF(0, 10, 60, 10), Qt::white);
    painter.fillRect(QRectF(27, 0, 6, 30), red);
    painter.fillRect(QRectF(0, 12, 60, 6), red);
    return flag;
}

} // namespace kalendo::pictures
