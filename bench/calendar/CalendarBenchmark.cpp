#include "calendar/dsCalendar.h"
#include "dates/DateEnvironment.h"
#include "platform/Fonts.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleFactory>

#include <benchmark/benchmark.h>

#include <memory>

namespace kalendo {
namespace {

// One calendar set up as the main window sets up its two, shown on the offscreen screen, with
// a few marks so the planner's lookup is part of every cell.
std::unique_ptr<TdsPlanner> MainWindowCalendar() {
    auto planner = std::make_unique<TdsPlanner>();
    planner->SetMinDate(kSerialOf1Jan1752);
    planner->SetMaxDate(kSerialOf31Dec3000);
    planner->SetShowOptions({soHolidays, soSundays, soSaturdays, soTitle, soYear, soToday, soTodayCircle});
    planner->SetCellWidth(32);
    planner->SetSelectedShape(ssRectangle);
    planner->SetBorderStyle(bsSingle);
    planner->Categories().Add(QStringLiteral("UK Holidays"), QColor(0, 0, 255));
    planner->Categories().Add(QStringLiteral("US Holidays"), QColor(0, 128, 0));
    planner->SetDate(EncodeDate(2025, 9, 10));
    planner->ToggleMark(EncodeDate(2025, 9, 5));
    planner->show();
    QApplication::processEvents();
    return planner;
}

// Paint and flush of the whole control, as after a month change.
void FullRepaintOnScreen(benchmark::State& state) {
    auto planner = MainWindowCalendar();
    for (auto _ : state)
        planner->repaint();
}
BENCHMARK(FullRepaintOnScreen)->Unit(benchmark::kMicrosecond);

// The painting alone, into an image (no backing store, no flush).
void FullPaintIntoImage(benchmark::State& state) {
    auto planner = MainWindowCalendar();
    QImage image(planner->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        planner->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(FullPaintIntoImage)->Unit(benchmark::kMicrosecond);

void PressKey(QWidget* widget, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

// Right then Left within September: the date change, its event and the repaint of the changed
// cells, through the application's event dispatch.
void KeyboardDateChangeWithinTheMonth(benchmark::State& state) {
    auto planner = MainWindowCalendar();
    bool forward = true;
    for (auto _ : state) {
        PressKey(planner.get(), forward ? Qt::Key_Right : Qt::Key_Left);
        forward = !forward;
    }
    if (planner->Month() != 9) state.SkipWithError("left the month");
}
BENCHMARK(KeyboardDateChangeWithinTheMonth)->Unit(benchmark::kMicrosecond);

// For comparison: Page Up and Page Down, each a new month and a full repaint.
void KeyboardMonthChange(benchmark::State& state) {
    auto planner = MainWindowCalendar();
    bool forward = true;
    for (auto _ : state) {
        PressKey(planner.get(), forward ? Qt::Key_PageUp : Qt::Key_PageDown);
        forward = !forward;
    }
}
BENCHMARK(KeyboardMonthChange)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace kalendo

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    kalendo::platform::InstallApplicationFonts();
    kalendo::ScopedDateEnvironment environment(
        kalendo::UnitedKingdomSettings(),
        std::make_shared<kalendo::FixedClock>(kalendo::EncodeDate(2025, 9, 17)));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
