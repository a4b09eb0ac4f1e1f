#include "ui/TextPrinter.h"

#include "dates/Error.h"

#include <QFontMetricsF>
#include <QPrinter>

#include <algorithm>

namespace kalendo {

TPrinterTextDevice::TPrinterTextDevice(QPrinter& printer) : printer_(printer) {
    if (!painter_.begin(&printer_)) throw Error("Unable to open the printer");
    font_ = QFont(QStringLiteral("Arial"), 10);
}

TPrinterTextDevice::~TPrinterTextDevice() {
    if (painter_.isActive()) painter_.end();
}

void TPrinterTextDevice::SetFont(const QFont& font) { font_ = font; }

void TPrinterTextDevice::StartLineIfNeeded() {
    // The font is set on the device's painter so its metrics are in the printer's resolution.
    painter_.setFont(font_);
    const QFontMetricsF metrics(painter_.font(), painter_.device());
    const qreal needed = std::max(lineHeight_, metrics.lineSpacing());
    const qreal pageHeight = printer_.pageRect(QPrinter::DevicePixel).height();
    if (y_ > 0 && y_ + needed > pageHeight) {
        if (!printer_.newPage()) throw Error("Unable to start a new page on the printer");
        ++pageCount_;
        y_ = 0;
    }
    lineHeight_ = needed;
}

void TPrinterTextDevice::Write(const QString& text) {
    if (!painter_.isActive()) throw Error("The printer is closed");
    StartLineIfNeeded();
    if (text.isEmpty()) return;
    const QFontMetricsF metrics(painter_.font(), painter_.device());
    painter_.drawText(QPointF(x_, y_ + metrics.ascent()), text);
    x_ += metrics.horizontalAdvance(text);
}

void TPrinterTextDevice::WriteLine(const QString& text) {
    Write(text);
    y_ += lineHeight_;
    x_ = 0;
    lineHeight_ = 0;
}

void TPrinterTextDevice::Close() {
    if (painter_.isActive()) painter_.end();
}

} // namespace kalendo
