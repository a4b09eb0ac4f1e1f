#include "tools/easter1.h"
#include "KalendoVersion.h"

#include "dates/DateEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace kalendo {
namespace {

// The window as created on a given day, in the United Kingdom locale.
struct EasterFixture {
    explicit EasterFixture(int year)
        : environment(UnitedKingdomSettings(), std::make_shared<FixedClock>(EncodeDate(year, 6, 15) + 0.5)),
          form(std::make_unique<TEasterForm>()) {}
    QStringList Lines() const {
        QStringList lines;
        for (QLabel* label : form->FeastLabels())
            lines << label->text();
        return lines;
    }
    ScopedDateEnvironment environment;
    std::unique_ptr<TEasterForm> form;
};

TEST(EasterForm, opensOnTheCurrentYearWithItsSevenLines) {
    EasterFixture fixture(2026);
    EXPECT_EQ(fixture.form->YearText->text(), QStringLiteral("2026"));
    EXPECT_EQ(fixture.form->UpDownYear->Position(), 2026);
    EXPECT_EQ(fixture.Lines(), (QStringList{
                                   QStringLiteral("Shrove Tuesday is on Tuesday 17 February"),
                                   QStringLiteral("Ash Wednesday is on Wednesday 18 February"),
                                   QStringLiteral("Palm Sunday is on Sunday 29 March"),
                                   QStringLiteral("Good Friday is on Friday 3 April"),
                                   QStringLiteral("Easter Day is on Sunday 5 April"),
                                   QStringLiteral("Easter Monday is on Monday 6 April"),
                                   QStringLiteral("Ascension Day is on Thursday 14 May"),
                               }));
}

TEST(EasterForm, upAndDownKeysStepTheYearAndRecompute) {
    EasterFixture fixture(2024);
    TEasterForm& form = *fixture.form;
    EXPECT_EQ(form.ShroveTuesday->text(), QStringLiteral("Shrove Tuesday is on Tuesday 13 February"));
    EXPECT_EQ(form.AshWednesday->text(), QStringLiteral("Ash Wednesday is on Wednesday 14 February"));
    QTest::keyClick(form.UpDownYear, Qt::Key_Up);
    EXPECT_EQ(form.YearText->text(), QStringLiteral("2025"));
    EXPECT_EQ(form.EasterDay->text(), QStringLiteral("Easter Day is on Sunday 20 April"));
    QTest::keyClick(form.UpDownYear, Qt::Key_Down);
    QTest::keyClick(form.UpDownYear, Qt::Key_Down);
    EXPECT_EQ(form.YearText->text(), QStringLiteral("2023"));
    EXPECT_EQ(form.EasterDay->text(), QStringLiteral("Easter Day is on Sunday 9 April"));
}

TEST(EasterForm, arrowsStepTheYearWithTheMouse) {
    EasterFixture fixture(2026);
    TEasterForm& form = *fixture.form;
    form.show();
    QSignalSpy clicks(form.UpDownYear, &TUpDown::Clicked);
    const QRect arrows = form.UpDownYear->rect();
    QTest::mouseClick(form.UpDownYear, Qt::LeftButton, {}, QPoint(arrows.center().x(), 3));
    EXPECT_EQ(form.YearText->text(), QStringLiteral("2027"));
    QTest::mouseClick(form.UpDownYear, Qt::LeftButton, {}, QPoint(arrows.center().x(), arrows.bottom() - 3));
    QTest::mouseClick(form.UpDownYear, Qt::LeftButton, {}, QPoint(arrows.center().x(), arrows.bottom() - 3));
    EXPECT_EQ(form.YearText->text(), QStringLiteral("2025"));
    EXPECT_EQ(form.EasterDay->text(), QStringLiteral("Easter Day is on Sunday 20 April"));
    EXPECT_EQ(clicks.count(), 3);
}

TEST(EasterForm, yearStaysBetween1000And3000) {
    struct Row {
        const char* meaning;
        int startYear;
        Qt::Key key;
        QString year;
        QString easter;
        QString shrove;
    };
    const Row rows[] = {
        {"up at 3000 changes nothing",
         3000,
         Qt::Key_Up,
         QStringLiteral("3000"),
         QStringLiteral("Easter Day is on Sunday 13 April"),
         {}},
        {"down at 1000 changes nothing", 1000, Qt::Key_Down, QStringLiteral("1000"),
         QStringLiteral("Easter Day is on Sunday 30 March"),
         QStringLiteral("Shrove Tuesday is on Tuesday 11 February")},
    };
    for (const Row& row : rows) {
        EasterFixture fixture(row.startYear);
        TEasterForm& form = *fixture.form;
        QTest::keyClick(form.UpDownYear, row.key);
        EXPECT_EQ(form.YearText->text(), row.year) << row.meaning;
        EXPECT_EQ(form.EasterDay->text(), row.easter) << row.meaning;
        if (!row.shrove.isEmpty()) {
            EXPECT_EQ(form.ShroveTuesday->text(), row.shrove) << row.meaning;
        }
    }
}

TEST(EasterForm, earliestAndLatestEastersShiftShroveTuesday) {
    struct Row {
        const char* meaning;
        int year;
        QString easter;
        QString shrove;
    };
    const Row rows[] = {
        {"Easter on 22 March", 1818, QStringLiteral("Easter Day is on Sunday 22 March"),
         QStringLiteral("Shrove Tuesday is on Tuesday 3 February")},
        {"Easter on 22 March again", 2285, QStringLiteral("Easter Day is on Sunday 22 March"),
         QStringLiteral("Shrove Tuesday is on Tuesday 3 February")},
        {"Easter on 25 April", 1943, QStringLiteral("Easter Day is on Sunday 25 April"),
         QStringLiteral("Shrove Tuesday is on Tuesday 9 March")},
        {"Easter on 25 April again", 2038, QStringLiteral("Easter Day is on Sunday 25 April"),
         QStringLiteral("Shrove Tuesday is on Tuesday 9 March")},
    };
    for (const Row& row : rows) {
        EasterFixture fixture(row.year);
        EXPECT_EQ(fixture.form->EasterDay->text(), row.easter) << row.meaning;
        EXPECT_EQ(fixture.form->ShroveTuesday->text(), row.shrove) << row.meaning;
    }
}

TEST(EasterForm, emptyOrZeroYearTextKeepsTheLines) {
    EasterFixture fixture(2026);
    TEasterForm& form = *fixture.form;
    const QStringList before = fixture.Lines();
    for (const char* text : {"", "0", "00", "000", "0000", "12x4", "999", "3001"}) {
        form.YearText->setText(QString::fromLatin1(text));
        EXPECT_EQ(fixture.Lines(), before) << '"' << text << '"';
    }
    form.YearText->setText(QStringLiteral("1752"));
    EXPECT_EQ(form.EasterDay->text(), QStringLiteral("Easter Day is on Sunday 2 April"));
}

TEST(EasterForm, yearBoxNeverKeepsTheFocus) {
    EasterFixture fixture(2026);
    TEasterForm& form = *fixture.form;
    form.show();
    QApplication::setActiveWindow(&form);
    EXPECT_EQ(form.focusWidget(), form.UpDownYear) << "activation gives the spinner the focus";
    EXPECT_TRUE(form.YearText->isReadOnly());
    EXPECT_EQ(form.YearText->maxLength(), 4);

    form.ExitButton->setFocus();
    QTest::mouseClick(form.YearText, Qt::LeftButton);
    EXPECT_NE(form.focusWidget(), form.YearText);
    QMouseEvent move(QEvent::MouseMove, QPointF(4, 4), form.YearText->mapToGlobal(QPointF(4, 4)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(form.YearText, &move);
    EXPECT_EQ(form.focusWidget(), form.UpDownYear) << "moving over the year box hands the focus back";
}

TEST(EasterForm, windowHasItsCaptionColoursAndExit) {
    EasterFixture fixture(2026);
    TEasterForm& form = *fixture.form;
    EXPECT_EQ(form.windowTitle(),
              QString::fromLatin1(kalendo::kVersionedName) + QStringLiteral(" - Easter Calculator"));
    form.show();
    const QImage shot = form.grab().toImage();
    EXPECT_EQ(shot.pixelColor(3, 3), QColor(192, 220, 192)) << "money green";
    EXPECT_EQ(shot.pixelColor(3, 240), QColor(192, 220, 192));
    // The year box is borderless on the window's colour, with red digits.
    const QRect yearBox = form.YearText->geometry();
    EXPECT_EQ(shot.pixelColor(yearBox.right() - 1, yearBox.top() + 1), QColor(192, 220, 192));
    bool red = false;
    for (int y = yearBox.top(); y <= yearBox.bottom(); ++y)
        for (int x = yearBox.left(); x <= yearBox.right(); ++x) {
            const QColor seen = shot.pixelColor(x, y);
            red |= seen.red() > 200 && seen.green() < 80 && seen.blue() < 80;
        }
    EXPECT_TRUE(red);

    QDir().mkpath(QStringLiteral(KALENDO_SCREENSHOT_DIR));
    shot.save(QStringLiteral(KALENDO_SCREENSHOT_DIR "/easter.png"));

    QTest::mouseClick(form.ExitButton, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    form.show();
    EXPECT_EQ(form.YearText->text(), QStringLiteral("2026"))
        << "the year chosen stays while the program runs";
}

} // namespace
} // namespace kalendo
