#pragma once

#include "ui/TextPrinter.h"

#include <QDialog>
#include <QStringList>

#include <functional>
#include <memory>

class QLabel;
class QPlainTextEdit;
class QPrinter;
class QTabWidget;
class QToolButton;

namespace kalendo {

// The help and factsheet window: a page of help text that can be printed and a page of calendar
// facts. Created hidden with the application and shown modally; closing only hides it.
class THelpFact : public QDialog {
    Q_OBJECT

public:
    // Opens the text device the help text is printed on; null when the user cancels. The
    // default shows the print dialog for the window's printer.
    using PrinterOpener = std::function<std::unique_ptr<TTextDevice>(QWidget* parent)>;

    explicit THelpFact(QWidget* parent = nullptr);
    ~THelpFact() override;

    void SetPrinterOpener(PrinterOpener opener) { openPrinter_ = std::move(opener); }

    void ReturnButtonClick();
    // Prints the help text. A failure while printing the lines still prints the footer and
    // ends the job; the failure then goes on to the application's error report.
    void PrintButtonClick();
    void FormCreate();
    // Every activation starts on the Help page with its text in focus.
    void FormActivate();
    void PageControl1Change();

    // The stored lines of each page: one line in the text box, one printed line.
    static QStringList HelpLines();
    static QStringList FactsheetLines();
    // The title line of the help page and of the print-out.
    static QString TitleText();
    // What the help print-out writes, in order, on the device; closes it.
    static void PrintHelpText(TTextDevice& device, const QStringList& lines);

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QPlainTextEdit* Memo2 = nullptr;
    QToolButton* ReturnButton = nullptr;
    QToolButton* PrintButton = nullptr;
    QToolButton* ReturnButton2 = nullptr;
    QLabel* Panel1 = nullptr;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<TTextDevice> OpenPrinterWithDialog(QWidget* parent);

    PrinterOpener openPrinter_;
    std::unique_ptr<QPrinter> printer_; // made on first use: looking up printers takes time
};

} // namespace kalendo
