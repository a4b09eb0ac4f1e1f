#pragma once

#include <QFont>
#include <QPainter>
#include <QString>

class QPrinter;

namespace kalendo {

// A device that prints text line by line, each line below the previous one, starting new pages
// by itself; the job ends when it is closed.
class TTextDevice {
public:
    virtual ~TTextDevice() = default;
    virtual void SetFont(const QFont& font) = 0;
    // Continues the current line in the current font.
    virtual void Write(const QString& text) = 0;
    // Writes the text and ends the line.
    virtual void WriteLine(const QString& text = QString()) = 0;
    virtual void Close() = 0;
};

// The text device on a printer (or a PDF file). Throws Error when the printer cannot be opened.
class TPrinterTextDevice final : public TTextDevice {
public:
    explicit TPrinterTextDevice(QPrinter& printer);
    ~TPrinterTextDevice() override;
    TPrinterTextDevice(const TPrinterTextDevice&) = delete;
    TPrinterTextDevice& operator=(const TPrinterTextDevice&) = delete;

    void SetFont(const QFont& font) override;
    void Write(const QString& text) override;
    void WriteLine(const QString& text = QString()) override;
    void Close() override;

    int PageCount() const { return pageCount_; }

private:
    void StartLineIfNeeded();

    QPrinter& printer_;
    QPainter painter_;
    QFont font_;
    qreal x_ = 0;          // device pixels from the left of the printable area
    qreal y_ = 0;          // top of the current line
    qreal lineHeight_ = 0; // tallest font on the current line
    int pageCount_ = 1;
};

} // namespace kalendo
