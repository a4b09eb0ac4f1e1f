#include "platform/Fonts.h"
#include "ui/TextFade.h"

#include <QApplication>
#include <QImage>
#include <QStyleFactory>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace kalendo {
namespace {

// The main window's credits line on a sky-blue parent, shown, half-way through a fade from the
// first credit line to the second.
struct CreditsLine {
    CreditsLine() {
        window.resize(496, 579);
        QPalette sky = window.palette();
        sky.setColor(QPalette::Window, QColor(166, 202, 240));
        window.setPalette(sky);
        fader = MakeCreditsFader(&window);
        window.show();
        QApplication::processEvents();
        fader->SetActive(true);
        do
            fader->FaderTick();
        while (fader->FadeProgress() < 100);
        for (int tick = 0; tick < 13; ++tick)
            fader->FaderTick();
    }
    QWidget window;
    TTextFader* fader = nullptr;
};

// Composing one frame: background, both texts and the blend of 265 x 25 pixels.
void FaderFrameCompose(benchmark::State& state) {
    CreditsLine line;
    for (auto _ : state) {
        QImage frame = line.fader->ComposeFrame();
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(FaderFrameCompose)->Unit(benchmark::kMicrosecond);

// The blend alone, on the 32-bit rows.
void FaderBlendOnly(benchmark::State& state) {
    QImage current(265, 25, QImage::Format_RGB32);
    current.fill(QColor(0, 0, 128));
    QImage previous(265, 25, QImage::Format_RGB32);
    previous.fill(QColor(166, 202, 240));
    for (auto _ : state) {
        TTextFader::BlendImages(current, previous, 52);
        benchmark::DoNotOptimize(current.constBits());
    }
}
BENCHMARK(FaderBlendOnly)->Unit(benchmark::kMicrosecond);

// A whole frame as the timer makes it: the tick, composing, painting onto the window.
void FaderTickAndPaint(benchmark::State& state) {
    CreditsLine line;
    for (auto _ : state) {
        line.fader->FaderTick();
        if (line.fader->FadeProgress() == 100) line.fader->FaderTick();
    }
}
BENCHMARK(FaderTickAndPaint)->Unit(benchmark::kMicrosecond);

// One minute of the credits line as the timer would run it: every tick with its painting, the
// timer's periods added up as simulated time. Reports the share of one core it would take.
void FaderIdleMinute(benchmark::State& state) {
    CreditsLine line;
    constexpr long long kMinute = 60'000;
    long long ticks = 0;
    double busySeconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        long long elapsed = 0;
        while (elapsed < kMinute) {
            elapsed += line.fader->TimerInterval();
            line.fader->FaderTick();
            ++ticks;
        }
        busySeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["ticks_per_minute"] = static_cast<double>(ticks) / static_cast<double>(state.iterations());
    state.counters["core_percent"] = 100.0 * busySeconds / (60.0 * static_cast<double>(state.iterations()));
}
BENCHMARK(FaderIdleMinute)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
} // namespace kalendo

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    kalendo::platform::InstallApplicationFonts();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
