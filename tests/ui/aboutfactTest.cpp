#include "ui/aboutfact.h"

#include "dates/Error.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace kalendo {
namespace {

// Records what is printed, one entry per call, tells an observer of each, and can fail on a
// chosen line.
class RecordingDevice final : public TTextDevice {
public:
    struct Entry {
        std::string what; // "font", "write", "line", "close"
        QString text;
        int points = 0;
        bool bold = false;
    };

    void SetFont(const QFont& font) override { Record({"font", {}, font.pointSize(), font.bold()}); }
    void Write(const QString& text) override { Record({"write", text}); }
    void WriteLine(const QString& text) override {
        if (!failOn.isEmpty() && text == failOn) throw Error("Printer out of paper");
        Record({"line", text});
    }
    void Close() override { Record({"close", {}}); }
    void Record(const Entry& entry) {
        entries.push_back(entry);
        if (observer) observer(entry);
    }

    QStringList Lines() const {
        QStringList lines;
        for (const Entry& entry : entries)
            if (entry.what == "line") lines << entry.text;
        return lines;
    }

    std::vector<Entry> entries;
    QString failOn;
    std::function<void(const Entry&)> observer;
};

QStringList MemoLines(const QPlainTextEdit& memo) {
    QStringList lines;
    for (QTextBlock block = memo.document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

class HelpFact : public ::testing::Test {
protected:
    THelpFact help;
};

TEST_F(HelpFact, tabCaptionsAreWidenedBySpacesAndTheBusyPanelStartsHidden) {
    EXPECT_TRUE(help.windowFlags() & Qt::WindowCloseButtonHint) << "a dialog with close only";
    EXPECT_FALSE(help.windowFlags() & Qt::WindowMinMaxButtonsHint);
    EXPECT_EQ(help.PageControl1->tabText(0), QString(24, u' ') + "Help" + QString(23, u' '));
    EXPECT_EQ(help.PageControl1->tabText(1), QString(21, u' ') + "Factsheet" + QString(28, u' '));
    EXPECT_EQ(help.Memo1->focusPolicy() & Qt::TabFocus, 0) << "not reachable by Tab";
    EXPECT_TRUE(help.Panel1->isHidden());
}

TEST_F(HelpFact, eachStoredLineIsOneLineOfItsPage) {
    EXPECT_EQ(MemoLines(*help.Memo1), THelpFact::HelpLines());
    EXPECT_EQ(MemoLines(*help.Memo2), THelpFact::FactsheetLines());
    const QStringList facts = THelpFact::FactsheetLines();
    const qsizetype heading = facts.indexOf(QStringLiteral("Month\tLatin\tOrigin"));
    ASSERT_GE(heading, 0);
    ASSERT_EQ(facts.size() - heading, 13) << "a heading and twelve months";
    for (qsizetype row = heading + 1; row < facts.size(); ++row)
        EXPECT_EQ(facts.at(row).count(u'\t'), 2) << facts.at(row).toStdString();
}

TEST_F(HelpFact, noStoredLineWrapsAndTheFactsheetTableLinesUp) {
    help.show();
    for (QPlainTextEdit* memo : {help.Memo1, help.Memo2}) {
        for (QTextBlock block = memo->document()->begin(); block.isValid(); block = block.next())
            EXPECT_LE(block.layout()->lineCount(), 1) << "wraps on screen: " << block.text().toStdString();
    }
    // Each of the first two columns must end before the next tab stop, or its row slips a column.
    const QFontMetrics metrics(help.Memo2->font());
    const QStringList facts = THelpFact::FactsheetLines();
    for (qsizetype row = facts.indexOf(QStringLiteral("Month\tLatin\tOrigin")); row < facts.size(); ++row) {
        const QStringList fields = facts.at(row).split(u'\t');
        for (qsizetype column = 0; column < 2; ++column)
            EXPECT_LT(metrics.horizontalAdvance(fields.at(column)) + metrics.averageCharWidth(),
                      help.Memo2->tabStopDistance())
                << fields.at(column).toStdString();
    }
}

TEST_F(HelpFact, busyPanelHoldsItsWholeCaption) {
    help.show();
    help.Panel1->show();
    const QFontMetrics metrics(help.Panel1->font());
    const QRect inside = help.Panel1->contentsRect();
    EXPECT_LE(metrics.horizontalAdvance(help.Panel1->text()), inside.width());
    EXPECT_LE(metrics.height(), inside.height());
    QDir().mkpath(QStringLiteral(KALENDO_SCREENSHOT_DIR));
    help.grab().save(QStringLiteral(KALENDO_SCREENSHOT_DIR "/help-printing.png"));
}

TEST_F(HelpFact, alwaysOpensOnTheHelpPageWithItsTextInFocus) {
    help.show();
    QApplication::setActiveWindow(&help);
    help.PageControl1->setCurrentIndex(1);
    EXPECT_EQ(help.focusWidget(), help.Memo2) << "a page change focuses that page's text";
    help.ReturnButtonClick();
    EXPECT_FALSE(help.isVisible());

    help.show();
    EXPECT_EQ(help.PageControl1->currentIndex(), 0);
    EXPECT_EQ(help.focusWidget(), help.Memo1);
    help.PageControl1->setCurrentIndex(1);
    help.FormActivate();
    EXPECT_EQ(help.PageControl1->currentIndex(), 0) << "every activation returns to Help";
}

TEST_F(HelpFact, returnButtonsCloseTheWindow) {
    for (QToolButton* button : {help.ReturnButton, help.ReturnButton2}) {
        help.show();
        help.PageControl1->setCurrentWidget(button->parentWidget());
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_FALSE(help.isVisible());
        EXPECT_EQ(help.result(), QDialog::Accepted);
    }
}

TEST_F(HelpFact, printsHeaderStoredLinesAndFooter) {
    RecordingDevice device;
    THelpFact::PrintHelpText(device, THelpFact::HelpLines());

    const QStringList lines = device.Lines();
    const QStringList stored = THelpFact::HelpLines();
    ASSERT_EQ(lines.size(), 5 + stored.size() + 4);
    EXPECT_EQ(lines.mid(0, 5),
              (QStringList{QString(), QString(), THelpFact::TitleText(), QString(76, u'-'), QString()}));
    EXPECT_EQ(lines.mid(5, stored.size()), stored) << "exactly the stored lines, whatever the screen wrap";
    EXPECT_EQ(lines.mid(5 + stored.size()),
              (QStringList{QString(), QStringLiteral("support@marrowby.example"), QString(),
                           QStringLiteral("www.marrowby.example")}));

    // The header is bold 12 point, the text regular 10 point, the addresses bold after a
    // regular label on the same line.
    const auto& entries = device.entries;
    EXPECT_EQ(entries.front().what, "font");
    EXPECT_EQ(entries.front().points, 12);
    EXPECT_TRUE(entries.front().bold);
    bool sawEmailLabel = false;
    for (std::size_t i = 0; i + 2 < entries.size(); ++i) {
        if (entries[i].what == "write" && entries[i].text == QStringLiteral("Email address       : ")) {
            sawEmailLabel = true;
            EXPECT_EQ(entries[i + 1].what, "font");
            EXPECT_TRUE(entries[i + 1].bold);
            EXPECT_EQ(entries[i + 1].points, 10);
            EXPECT_EQ(entries[i + 2].text, QStringLiteral("support@marrowby.example"));
        }
    }
    EXPECT_TRUE(sawEmailLabel);
    EXPECT_EQ(entries.back().what, "close");
    EXPECT_FALSE(entries[entries.size() - 2].bold) << "the font returns to regular before closing";
}

TEST_F(HelpFact, printButtonShowsTheBusyPanelOnlyWhilePrinting) {
    help.show();
    bool panelSeen = false;
    bool closed = false;
    int lines = 0;
    help.SetPrinterOpener([&](QWidget*) {
        auto device = std::make_unique<RecordingDevice>();
        device->observer = [&](const RecordingDevice::Entry& entry) {
            lines += entry.what == "line";
            panelSeen |= entry.what == "line" && help.Panel1->isVisible();
            closed |= entry.what == "close";
        };
        return device;
    });
    QTest::mouseClick(help.PrintButton, Qt::LeftButton);
    EXPECT_TRUE(panelSeen);
    EXPECT_TRUE(closed);
    EXPECT_EQ(lines, THelpFact::HelpLines().size() + 9);
    EXPECT_TRUE(help.Panel1->isHidden());
}

TEST_F(HelpFact, cancelledPrintDialogPrintsNothing) {
    int asked = 0;
    help.SetPrinterOpener([&](QWidget* parent) -> std::unique_ptr<TTextDevice> {
        ++asked;
        EXPECT_EQ(parent, &help);
        return nullptr;
    });
    help.PrintButtonClick();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(help.Panel1->isHidden());
}

TEST_F(HelpFact, failedLineStillPrintsTheFooterAndEndsTheJob) {
    RecordingDevice device;
    device.failOn = THelpFact::HelpLines().at(4);
    EXPECT_THROW(THelpFact::PrintHelpText(device, THelpFact::HelpLines()), Error);
    const QStringList lines = device.Lines();
    EXPECT_EQ(lines.size(), 5 + 4 + 4);
    EXPECT_EQ(lines.last(), QStringLiteral("www.marrowby.example"));
    EXPECT_EQ(device.entries.back().what, "close");

    help.SetPrinterOpener([&](QWidget*) {
        auto failing = std::make_unique<RecordingDevice>();
        failing->failOn = THelpFact::HelpLines().at(0);
        return failing;
    });
    EXPECT_THROW(help.PrintButtonClick(), Error) << "the failure goes on to the error report";
    EXPECT_TRUE(help.Panel1->isHidden());
}

int PdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QByteArray content = file.readAll();
    return static_cast<int>(content.count("/Type /Page\n") + content.count("/Type /Page\r") +
                            content.count("/Type /Page "));
}

TEST_F(HelpFact, printerDeviceWritesPagesToAPdf) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    struct Row {
        const char* meaning;
        int lines;
        bool severalPages;
    };
    const Row rows[] = {{"the help text fits on one page", 0, false}, {"a long text runs on", 300, true}};
    for (const Row& row : rows) {
        const QString path = folder.filePath(QString::fromUtf8(row.meaning) + ".pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        QStringList lines = THelpFact::HelpLines();
        for (int extra = 0; extra < row.lines; ++extra)
            lines << QStringLiteral("line %1").arg(extra);
        int pages = 0;
        {
            TPrinterTextDevice device(printer);
            THelpFact::PrintHelpText(device, lines);
            pages = device.PageCount();
        }
        EXPECT_EQ(pages > 1, row.severalPages) << row.meaning;
        EXPECT_EQ(PdfPageCount(path), pages) << row.meaning;
    }
}

TEST_F(HelpFact, pagesShowTheirColours) {
    help.show();
    const QImage helpPage = help.grab().toImage();
    const QPoint memoCorner =
        help.Memo1->mapTo(&help, QPoint(help.Memo1->width() - 30, help.Memo1->height() - 6));
    EXPECT_EQ(helpPage.pixelColor(memoCorner), QColor(0, 128, 0)) << "green text box";

    const QRect title = QRect(help.Label1->mapTo(&help, QPoint(0, 0)), help.Label1->size());
    bool blueInk = false;
    for (int y = title.top(); y <= title.bottom(); ++y)
        for (int x = title.left(); x <= title.right(); ++x) {
            const QColor colour = helpPage.pixelColor(x, y);
            blueInk |= colour.blue() > 200 && colour.red() < 60 && colour.green() < 60;
        }
    EXPECT_TRUE(blueInk) << "blue title";

    QDir().mkpath(QStringLiteral(KALENDO_SCREENSHOT_DIR));
    helpPage.save(QStringLiteral(KALENDO_SCREENSHOT_DIR "/help.png"));
    help.PageControl1->setCurrentIndex(1);
    help.grab().save(QStringLiteral(KALENDO_SCREENSHOT_DIR "/factsheet.png"));
}

} // namespace
} // namespace kalendo
