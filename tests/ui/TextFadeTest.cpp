#include "ui/TextFade.h"
#include "KalendoVersion.h"
#include "ui/Credits.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace kalendo {
namespace {

const QColor kSky(166, 202, 240);
const QColor kNavy(0, 0, 128);

// A visible fader on a plain parent, with the main window's colours and a fixed font.
struct FaderFixture {
    FaderFixture() {
        parent.resize(400, 100);
        QPalette colours = parent.palette();
        colours.setColor(QPalette::Window, kSky);
        parent.setPalette(colours);
        fader = new TTextFader(&parent);
        fader->setGeometry(10, 10, 265, 25);
        fader->SetFontColor(kNavy);
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(13);
        fader->setFont(font);
        parent.show();
    }
    // Shows a line at once, with no fade.
    void Show(const QString& line) {
        fader->SetLines({line});
        fader->SetFadeStep(100);
        fader->SetActive(true);
        fader->FaderTick();
    }
    QWidget parent;
    TTextFader* fader = nullptr;
};

// Columns and rows that hold text-coloured pixels, i.e. differ from the background.
QRect InkBounds(const QImage& image, const QColor& background) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != background) bounds |= QRect(x, y, 1, 1);
    return bounds;
}

int TicksUntilShown(TTextFader& fader) {
    int ticks = 0;
    do {
        fader.FaderTick();
        ++ticks;
    } while (fader.FadeProgress() < 100 && ticks < 1000);
    return ticks;
}

TEST(TextFader, decodesLineEscapes) {
    struct Row {
        const char* meaning;
        QString line;
        QString shown;
    };
    const Row rows[] = {
        {"tab, backslash and line break", QStringLiteral("a\\tb\\\\c\\n"), QStringLiteral("a\tb\\c\r\n")},
        {"unknown escape drops both characters", QStringLiteral("a\\qb"), QStringLiteral("ab")},
        {"backslash at the very end is dropped", QStringLiteral("end\\"), QStringLiteral("end")},
        {"escaped backslash before n stays literal", QStringLiteral("\\\\n"), QStringLiteral("\\n")},
        {"plain text is unchanged", QStringLiteral("Kalendo & co"), QStringLiteral("Kalendo & co")},
        {"empty line", QString(), QString()},
    };
    for (const Row& row : rows)
        EXPECT_EQ(TTextFader::DecodeLine(row.line), row.shown) << row.meaning;
}

TEST(TextFader, blendIsIntegerPerByteAndKeepsTheFourthByte) {
    struct Row {
        const char* meaning;
        QRgb current, previous;
        int percent;
        QRgb blended;
    };
    const Row rows[] = {
        {"255*33/100 = 84.15 and 255*67/100 = 170.85 truncate each on their own", qRgba(255, 0, 100, 0x12),
         qRgba(0, 255, 100, 0x34), 33, qRgba(84, 170, 100, 0x12)},
        {"(1*33 + 2*67)/100 = 1.67, 99*33/100 = 32.67, (200*33 + 50*67)/100 = 99.5", qRgba(1, 99, 200, 0xff),
         qRgba(2, 0, 50, 0x00), 33, qRgba(1, 32, 99, 0xff)},
        {"at 100 the current frame shows alone", qRgb(10, 20, 30), qRgb(200, 210, 220), 100,
         qRgb(10, 20, 30)},
        {"at 0 the previous frame shows alone", qRgb(10, 20, 30), qRgb(200, 210, 220), 0,
         qRgb(200, 210, 220)},
    };
    for (const Row& row : rows) {
        QImage current(1, 1, QImage::Format_ARGB32), previous(1, 1, QImage::Format_ARGB32);
        current.setPixel(0, 0, row.current);
        previous.setPixel(0, 0, row.previous);
        TTextFader::BlendImages(current, previous, row.percent);
        EXPECT_EQ(current.pixel(0, 0), row.blended) << row.meaning;
    }
}

TEST(TextFader, startingTicksAtOnceThenFadesAtFadeDelayAndHoldsAtLineDelay) {
    TTextFader fader;
    fader.SetLines({QStringLiteral("one"), QStringLiteral("two")});
    fader.SetFadeDelay(40);
    fader.SetLineDelay(6000);
    QSignalSpy complete(&fader, &TTextFader::OnComplete);
    EXPECT_FALSE(fader.TimerRunning());

    fader.SetActive(true);
    EXPECT_TRUE(fader.TimerRunning());
    EXPECT_EQ(fader.TimerInterval(), 5);
    EXPECT_EQ(fader.FadeProgress(), 100);

    fader.FaderTick();
    EXPECT_EQ(fader.LineIndex(), 0);
    EXPECT_EQ(fader.CurrentText(), QStringLiteral("one"));
    EXPECT_EQ(fader.FadeProgress(), 4);
    EXPECT_EQ(fader.TimerInterval(), 40);

    // 4 points a tick: 24 more ticks complete the fade, one second at 40 ms.
    for (int tick = 0; tick < 23; ++tick)
        fader.FaderTick();
    EXPECT_EQ(fader.FadeProgress(), 96);
    EXPECT_EQ(complete.count(), 0);
    fader.FaderTick();
    EXPECT_EQ(fader.FadeProgress(), 100);
    EXPECT_EQ(complete.count(), 1);
    EXPECT_EQ(fader.TimerInterval(), 6000) << "a fully shown line lets the program idle";
    EXPECT_TRUE(fader.TimerRunning());

    fader.FaderTick();
    EXPECT_EQ(fader.PreviousText(), QStringLiteral("one"));
    EXPECT_EQ(fader.CurrentText(), QStringLiteral("two"));
    EXPECT_EQ(fader.TimerInterval(), 40);
}

TEST(TextFader, cyclesThroughTheListAndCountsPasses) {
    TTextFader fader;
    fader.SetLines({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    fader.SetFadeStep(100);
    fader.SetActive(true);
    QStringList shown;
    for (int line = 0; line < 7; ++line) {
        EXPECT_EQ(TicksUntilShown(fader), 1) << "a step of 100 switches in a single tick";
        shown << fader.CurrentText();
    }
    EXPECT_EQ(shown.join(QString()), QStringLiteral("abcabca"));
    EXPECT_EQ(fader.PassCount(), 2);
    EXPECT_TRUE(fader.Active());
}

TEST(TextFader, oneLineFadesIntoItself) {
    TTextFader fader;
    fader.SetLines({QStringLiteral("only")});
    fader.SetActive(true);
    EXPECT_EQ(TicksUntilShown(fader), 25);
    EXPECT_EQ(fader.PreviousText(), QString());
    EXPECT_EQ(fader.CurrentText(), QStringLiteral("only"));
    fader.FaderTick();
    EXPECT_EQ(fader.FadeProgress(), 4) << "after the line delay a new fade starts";
    EXPECT_EQ(fader.PreviousText(), QStringLiteral("only"));
    EXPECT_EQ(fader.CurrentText(), QStringLiteral("only"));
}

TEST(TextFader, repeatCountStopsAfterTheLastLineHasBeenShownAndLeavesIt) {
    TTextFader fader;
    fader.SetLines({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    fader.SetRepeatCount(2);
    fader.SetFadeStep(50);
    fader.SetActive(true);
    for (int line = 0; line < 6; ++line)
        TicksUntilShown(fader);
    EXPECT_EQ(fader.CurrentText(), QStringLiteral("c"));
    EXPECT_TRUE(fader.Active()) << "the sixth line is shown for its full delay first";

    fader.FaderTick();
    EXPECT_FALSE(fader.Active());
    EXPECT_FALSE(fader.TimerRunning());
    EXPECT_EQ(fader.CurrentText(), QStringLiteral("c"));
    EXPECT_EQ(fader.FadeProgress(), 100);
    EXPECT_EQ(fader.PassCount(), 2);
}

TEST(TextFader, emptyListShowsNothing) {
    TTextFader fader;
    fader.SetLines({});
    fader.SetActive(true);
    EXPECT_EQ(fader.NextLine(), QString());
    EXPECT_EQ(fader.LineIndex(), -1);
    TicksUntilShown(fader);
    EXPECT_EQ(fader.CurrentText(), QString());
}

TEST(TextFader, lineDelayChangesAtOnceWhenShownButOnlyAfterAFade) {
    TTextFader fader;
    fader.SetLines({QStringLiteral("a"), QStringLiteral("b")});
    fader.SetFadeDelay(40);
    fader.SetLineDelay(6000);
    fader.SetActive(true);
    TicksUntilShown(fader);

    fader.SetLineDelay(3000);
    EXPECT_EQ(fader.TimerInterval(), 3000) << "while a line is shown";

    fader.FaderTick();
    fader.SetLineDelay(1000);
    EXPECT_EQ(fader.TimerInterval(), 40) << "during a fade the fade delay stays";
    fader.SetFadeDelay(20);
    EXPECT_EQ(fader.TimerInterval(), 20) << "a new fade delay applies during a fade";
    TicksUntilShown(fader);
    EXPECT_EQ(fader.TimerInterval(), 1000);

    fader.SetFadeDelay(30);
    EXPECT_EQ(fader.TimerInterval(), 1000) << "a new fade delay waits for the next fade";
}

TEST(TextFader, shorterListPullsTheLineIndexBack) {
    TTextFader fader;
    fader.SetLines({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    fader.SetLineIndex(2);
    fader.SetLines({QStringLiteral("x")});
    EXPECT_EQ(fader.LineIndex(), 0);
    fader.SetLineIndex(-5);
    EXPECT_EQ(fader.LineIndex(), 0);
    fader.SetLineIndex(9);
    EXPECT_EQ(fader.LineIndex(), 0);
}

TEST(TextFader, paintsTheShownLineCentredOnItsColour) {
    FaderFixture fixture;
    TTextFader& fader = *fixture.fader;
    fixture.Show(QString::fromLatin1(kalendo::kVersionedName));

    const QImage shot = fader.grab().toImage();
    EXPECT_EQ(shot.pixelColor(0, 0), kSky);
    EXPECT_EQ(shot.pixelColor(264, 24), kSky);
    const QRect ink = InkBounds(shot, kSky);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.left(), 265 - 1 - ink.right(), 2) << "centred across";
    EXPECT_NEAR(ink.top(), 25 - 1 - ink.bottom(), 3) << "centred down";
    bool navyFound = false;
    for (int x = ink.left(); x <= ink.right(); ++x)
        for (int y = ink.top(); y <= ink.bottom(); ++y)
            navyFound |= shot.pixelColor(x, y) == kNavy;
    EXPECT_TRUE(navyFound);
}

TEST(TextFader, followsAlignmentAndWordWrap) {
    FaderFixture fixture;
    TTextFader& fader = *fixture.fader;
    fixture.Show(QStringLiteral("short"));

    fader.SetAlignment(taLeftJustify);
    const QRect left = InkBounds(fader.grab().toImage(), kSky);
    fader.SetAlignment(taRightJustify);
    const QRect right = InkBounds(fader.grab().toImage(), kSky);
    EXPECT_LE(left.left(), 2);
    EXPECT_GE(right.right(), 262);

    const QString longLine =
        QStringLiteral("a long line of several words that cannot fit across the control");
    fader.SetLines({longLine});
    fader.SetLineIndex(0);
    fader.SetAlignment(taCenter);
    fader.resize(265, 60);
    fader.FaderTick();
    const QRect wrapped = InkBounds(fader.grab().toImage(), kSky);
    fader.SetWordWrap(false);
    const QRect single = InkBounds(fader.grab().toImage(), kSky);
    EXPECT_GT(wrapped.height(), single.height() + 8) << "wrapped text takes a second row";
}

TEST(TextFader, midFadeFrameIsTheExactBlendOfBothTexts) {
    FaderFixture fixture;
    TTextFader& fader = *fixture.fader;
    fader.SetLines({QStringLiteral("WWWW")});
    fader.SetFadeStep(4);
    fader.SetActive(true);
    for (int tick = 0; tick < 13; ++tick)
        fader.FaderTick();
    ASSERT_EQ(fader.FadeProgress(), 52);
    const QImage halfway = fader.ComposeFrame();
    for (int tick = 0; tick < 12; ++tick)
        fader.FaderTick();
    ASSERT_EQ(fader.FadeProgress(), 100);
    const QImage shown = fader.ComposeFrame();

    // The previous text is empty, so the old frame is the bare background.
    int inked = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QColor now = shown.pixelColor(x, y);
            const QColor mixed = halfway.pixelColor(x, y);
            EXPECT_EQ(mixed.red(), (now.red() * 52 + kSky.red() * 48) / 100);
            EXPECT_EQ(mixed.green(), (now.green() * 52 + kSky.green() * 48) / 100);
            EXPECT_EQ(mixed.blue(), (now.blue() * 52 + kSky.blue() * 48) / 100);
            inked += now != kSky;
        }
    }
    EXPECT_GT(inked, 20);
}

TEST(TextFader, drawsThePictureByBackgroundMode) {
    FaderFixture fixture;
    TTextFader& fader = *fixture.fader;
    fader.SetLines({});
    fader.resize(40, 30);
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(QColor(255, 0, 0));
    for (int y = 0; y < 10; ++y)
        picture.setPixelColor(9, y, QColor(0, 255, 0));
    fader.SetBackground(picture);

    struct Row {
        const char* meaning;
        TBackgroundMode mode;
        QPoint probe;
        QColor expected;
    };
    const Row rows[] = {
        {"tiled repeats from the top-left", bmTiled, {19, 25}, QColor(0, 255, 0)},
        {"tiled covers the whole control", bmTiled, {35, 5}, QColor(255, 0, 0)},
        {"stretched fills the control", bmStretched, {0, 29}, QColor(255, 0, 0)},
        {"centred sits at (width - 10) / 2", bmCentered, {15, 10}, QColor(255, 0, 0)},
        {"centred leaves the rest in the colour", bmCentered, {14, 10}, kSky},
        {"centred leaves the rest in the colour below", bmCentered, {15, 20}, kSky},
        {"none shows only the colour", bmNone, {5, 5}, kSky},
    };
    for (const Row& row : rows) {
        fader.SetBackgroundMode(row.mode);
        EXPECT_EQ(fader.grab().toImage().pixelColor(row.probe), row.expected) << row.meaning;
    }
}

// A parent that paints a stripe of its own, to be seen through a transparent fader.
class StripedParent : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(255, 255, 0));
        painter.fillRect(QRect(0, 0, width(), 15), QColor(255, 0, 255));
    }
};

TEST(TextFader, transparentShowsTheParentAndTheSiblingsBeneath) {
    StripedParent parent;
    parent.resize(200, 60);
    const auto addSibling = [&parent](int x, const QColor& colour) {
        auto* sibling = new QWidget(&parent);
        sibling->setGeometry(x, 0, 30, 60);
        sibling->setAutoFillBackground(true);
        QPalette fill = sibling->palette();
        fill.setColor(QPalette::Window, colour);
        sibling->setPalette(fill);
    };
    addSibling(50, QColor(0, 0, 255));
    auto* fader = new TTextFader(&parent);
    fader->setGeometry(20, 10, 100, 20);
    fader->SetLines({});
    addSibling(100, QColor(255, 0, 0));
    parent.show();

    fader->SetTransparent(true);
    const QImage shot = fader->grab().toImage();
    EXPECT_EQ(shot.pixelColor(5, 2), QColor(255, 0, 255)) << "the parent's stripe, parent row 12";
    EXPECT_EQ(shot.pixelColor(5, 10), QColor(255, 255, 0)) << "the parent's own fill";
    EXPECT_EQ(shot.pixelColor(40, 10), QColor(0, 0, 255)) << "a sibling beneath the fader";
    EXPECT_EQ(shot.pixelColor(90, 10), QColor(255, 255, 0)) << "siblings above are not background";
}

// Counts the frames that reach the screen.
class CountingFader : public TTextFader {
public:
    using TTextFader::TTextFader;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override {
        ++paints;
        TTextFader::paintEvent(event);
    }
};

TEST(TextFader, paintsNothingWhileItsWindowIsHidden) {
    QWidget window;
    auto* fader = new CountingFader(&window);
    fader->SetLines({QStringLiteral("a"), QStringLiteral("b")});
    fader->SetActive(true);
    TicksUntilShown(*fader);
    EXPECT_EQ(fader->paints, 0);
    window.show();
    QCoreApplication::processEvents(); // the offscreen screen exposes the window
    const int shownPaints = fader->paints;
    fader->FaderTick();
    EXPECT_EQ(fader->paints, shownPaints + 1) << "each tick paints at once while shown";
    window.hide();
    TicksUntilShown(*fader);
    EXPECT_EQ(fader->paints, shownPaints + 1);
}

TEST(TextFader, creditsLineTakesItsColourFromTheMainWindowAndUsesExampleAddresses) {
    QWidget window;
    TTextFader* fader = MakeCreditsFader(&window);
    EXPECT_FALSE(fader->Active()) << "the main window starts it";
    ASSERT_EQ(fader->Lines().size(), 6);
    EXPECT_EQ(fader->Lines().first(), QString::fromLatin1(kalendo::kVersionedName));
    for (const QString& line : fader->Lines()) {
        if (line.contains(u'@') || line.startsWith(QStringLiteral("www."))) {
            EXPECT_TRUE(line.endsWith(QStringLiteral(".example"))) << line.toStdString();
        }
    }
    QPalette sky = window.palette();
    sky.setColor(QPalette::Window, kSky);
    window.setPalette(sky);
    EXPECT_EQ(fader->palette().color(QPalette::Window), kSky);
    EXPECT_EQ(fader->palette().color(QPalette::WindowText), kNavy);
}

} // namespace
} // namespace kalendo
