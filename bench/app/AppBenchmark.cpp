// Start-up: each iteration starts this executable again as a child that builds either a bare
// window with one label or the real program, and reports on its standard output the moment the
// main window has painted for the first time, with its peak memory. The time measured is from
// process start to that report. Run under offscreen (the default) or xvfb-run.
// Place change: another country or region chosen in the Public Holidays window, with its list of
// the year refilled.
// Date change: one arrow key in a calendar of the shown main window, with the span recomputation
// and the repaint it causes.
#include "app/ErrorReport.h"
#include "app/PublicHolidaysDialog.h"
#include "app/Unit2.h"
#include "dates/HolidayPlaces.h"
#include "main/Program.h"
#include "platform/SettingsStore.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string selfPath;

long PeakKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

// Prints one line at the first paint of the watched widget, then ends the child.
class FirstPaintReporter final : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !reported_) {
            reported_ = true;
            QTimer::singleShot(0, [] {
                std::printf("painted %ld\n", PeakKilobytes());
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    bool reported_ = false;
};

int RunChild(const char* mode, int argc, char** argv) {
    FirstPaintReporter reporter;
    if (std::strcmp(mode, "bare") == 0) {
        QApplication application(argc, argv);
        QLabel label(QStringLiteral("Kalendo v2.74"));
        label.installEventFilter(&reporter);
        label.show();
        return QApplication::exec();
    }
    kalendo::app::TKalendoApplication application(argc, argv);
    kalendo::PrepareApplication();
    kalendo::TKalendoWindows windows(std::make_shared<kalendo::platform::NativeSettingsStore>());
    windows.Form1().ClientArea->installEventFilter(&reporter);
    windows.ShowMainWindow();
    return QApplication::exec();
}

// Starts the child once and returns the seconds from its start to its first-paint report, or a
// negative value when it did not report.
double TimeToFirstPaint(const char* mode, long& peakKilobytes, const std::string& environment = {}) {
    const std::string command = environment + " '" + selfPath + "' --child=" + mode + " 2>/dev/null";
    const auto start = std::chrono::steady_clock::now();
    FILE* child = popen(command.c_str(), "r");
    char line[128] = {};
    const bool painted =
        child && std::fgets(line, sizeof line, child) && std::strncmp(line, "painted", 7) == 0;
    const auto end = std::chrono::steady_clock::now();
    if (child) pclose(child);
    if (!painted) return -1;
    peakKilobytes = std::atol(line + 8);
    return std::chrono::duration<double>(end - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Two kinds of start in turn, so that a busy machine slows both alike; the iteration time is the
// second's. False (the benchmark then skipped) when a child did not paint.
struct StartKind {
    StartKind(const char* childMode, std::string childEnvironment)
        : mode(childMode), environment(std::move(childEnvironment)) {}
    const char* mode;
    std::string environment;
    std::vector<double> seconds;
    long peakKilobytes = 0;
};
bool AlternateStarts(benchmark::State& state, StartKind& first, StartKind& second) {
    for (auto _ : state) {
        const double firstSeconds = TimeToFirstPaint(first.mode, first.peakKilobytes, first.environment);
        const double secondSeconds = TimeToFirstPaint(second.mode, second.peakKilobytes, second.environment);
        if (firstSeconds < 0 || secondSeconds < 0) {
            state.SkipWithError("a child did not paint");
            return false;
        }
        first.seconds.push_back(firstSeconds);
        second.seconds.push_back(secondSeconds);
        state.SetIterationTime(secondSeconds);
    }
    return true;
}

// A bare window against the program: the counters give both medians, their ratio and both peaks.
void BM_StartUpAgainstBareWindow(benchmark::State& state) {
    QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    StartKind bare("bare", {}), program("kalendo", {});
    if (!AlternateStarts(state, bare, program)) return;
    state.counters["bare_ms"] = Median(bare.seconds) * 1000;
    state.counters["kalendo_ms"] = Median(program.seconds) * 1000;
    state.counters["ratio"] = Median(program.seconds) / Median(bare.seconds);
    state.counters["bare_peak_MB"] = static_cast<double>(bare.peakKilobytes) / 1024.0;
    state.counters["kalendo_peak_MB"] = static_cast<double>(program.peakKilobytes) / 1024.0;
}
BENCHMARK(BM_StartUpAgainstBareWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(25);

// The shipped named-dates table against an empty one: what reading the user's section and
// marking the holidays add to the first paint. The argument picks the section: 0 the United
// Kingdom (first in the file), 1 Japan (last).
void BM_StartUpWithTheTableAgainstWithout(benchmark::State& state) {
    QTemporaryDir config, empty;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    std::ofstream(empty.filePath(QStringLiteral("DateScan.DAT")).toStdString()).close();
    const std::string locale = state.range(0) == 0 ? "LC_ALL=en_GB.UTF-8" : "LC_ALL=ja_JP.UTF-8";
    StartKind without("kalendo", locale + " KALENDO_DATA_DIR='" + empty.path().toStdString() + "'");
    StartKind with("kalendo", locale + " KALENDO_DATA_DIR='" KALENDO_SOURCE_DATA_DIR "'");
    if (!AlternateStarts(state, without, with)) return;
    state.counters["without_ms"] = Median(without.seconds) * 1000;
    state.counters["with_ms"] = Median(with.seconds) * 1000;
    state.counters["ratio"] = Median(with.seconds) / Median(without.seconds);
}
BENCHMARK(BM_StartUpWithTheTableAgainstWithout)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(41);

void BM_KeyboardDateChange(benchmark::State& state) {
    auto store = std::make_shared<kalendo::platform::MemorySettingsStore>();
    kalendo::app::TForm1 form(store);
    form.show();
    QCoreApplication::processEvents();
    bool right = true;
    for (auto _ : state) {
        QKeyEvent key(QEvent::KeyPress, right ? Qt::Key_Right : Qt::Key_Left, Qt::NoModifier);
        QApplication::sendEvent(form.Planner2, &key);
        QCoreApplication::processEvents(); // the panels' repaint
        right = !right;
    }
}
BENCHMARK(BM_KeyboardDateChange)->Unit(benchmark::kMicrosecond);

// Countries in turn, more than the library keeps, so each change may read a country's file; the
// argument 1 moves between the regions of one country instead.
void BM_PublicHolidaysPlaceChange(benchmark::State& state) {
    kalendo::SetHolidayDataDirectory(std::filesystem::path(KALENDO_SOURCE_DATA_DIR) / "holidays");
    kalendo::app::TPublicHolidaysDialog dialog(2026, kalendo::SharedHolidayLibrary().FindPlace("US"), {});
    dialog.show();
    QCoreApplication::processEvents();
    const std::vector<QString> countries = {"US", "DE", "GB", "CA", "AU", "FR", "JP", "IN"};
    std::size_t next = 0;
    for (auto _ : state) {
        if (state.range(0) == 0) {
            dialog.Country->setCurrentIndex(dialog.Country->findData(countries[next++ % countries.size()]));
        } else {
            next = next % static_cast<std::size_t>(dialog.Region->count() - 1) + 1;
            dialog.Region->setCurrentIndex(static_cast<int>(next));
        }
        QCoreApplication::processEvents(); // the list's repaint
    }
    kalendo::SetHolidayDataDirectory({});
}
BENCHMARK(BM_PublicHolidaysPlaceChange)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    selfPath = argv[0];
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--child=", 8) == 0) return RunChild(argv[i] + 8, argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    kalendo::PrepareApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
