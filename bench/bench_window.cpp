// What the user pays for in the real main window, offscreen: one timer tick
// while the engine climbs (model step, every display routine and render),
// the same with the screen update the event loop then paints, one tick
// inside the dead band (which must render nothing), start-up to the first
// painted frame (cold, once, and warm), and the process's peak memory.
#include "BenchSupport.h"
#include "ui/form/Form1.h"
#include "widgets/button/oxBtns.h"

#include <QCoreApplication>
#include <QSlider>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

double gColdStartUpMs = 0;
double gColdPeakMiB = 0;

// A window with boost used to leave rest and the pedal set.
std::unique_ptr<TForm1> RunningWindow(int pedal)
{
    auto form = std::make_unique<TForm1>();
    form->Timer1->stop();
    form->show();
    WaitForFirstPaint(*form);
    SendTick(*form);
    form->BtnBoostMe->setValue(true);
    form->BtnBoostMeClick(form->BtnBoostMe);
    for (int i = 0; i < 500 && form->Model().BoostFlag; ++i)
        SendTick(*form);
    form->TBGasPedal->setValue(pedal);
    return form;
}

// Full pedal in fifth gear between 1010 and 2990 rpm: every tick adds 10 rpm
// and every readout, both gauges and the bar change.
void ClimbingTick(benchmark::State &state, bool paint)
{
    auto form = RunningWindow(100);
    TDriveModel &m = form->Model();
    m.EngineRpm = 1010;
    long long climbs = 0;
    const long long renders0 = RenderCount(*form);
    for (auto _ : state) {
        const double before = m.EngineRpm;
        SendTick(*form);
        if (paint)
            QCoreApplication::processEvents();
        climbs += m.EngineRpm > before;
        if (m.EngineRpm >= 2990)
            m.EngineRpm = 1010;
    }
    if (climbs < state.iterations() * 9 / 10)
        state.SkipWithError("the engine stopped climbing");
    state.counters["renders_per_tick"] =
        double(RenderCount(*form) - renders0) / double(state.iterations());
    state.counters["peak_MiB"] = PeakMemoryMiB();
}

// Cruising at the target: the step finds nothing to do and nothing repaints.
void DeadBandTick(benchmark::State &state)
{
    auto form = RunningWindow(40);
    for (int i = 0; i < 2000; ++i)
        SendTick(*form);
    const double rpm = form->Model().EngineRpm;
    const long long renders0 = RenderCount(*form);
    for (auto _ : state)
        SendTick(*form);
    const long long renders = RenderCount(*form) - renders0;
    if (form->Model().EngineRpm != rpm)
        state.SkipWithError("the truck was not in the dead band");
    if (renders != 0)
        state.SkipWithError("a tick inside the dead band rendered");
    state.counters["renders"] = double(renders);
}

// A new window built, shown and painted once; closing it is not counted.
void WarmStartUp(benchmark::State &state)
{
    for (auto _ : state) {
        auto form = std::make_unique<TForm1>();
        form->show();
        WaitForFirstPaint(*form);
        state.PauseTiming();
        form.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}

// The figures taken once in main(), reported as benchmarks of one iteration.
void ColdStartUp(benchmark::State &state)
{
    for (auto _ : state)
        state.SetIterationTime(gColdStartUpMs / 1000.0);
    state.counters["peak_MiB"] = gColdPeakMiB;
}

void PeakMemory(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(PeakMemoryMiB());
    state.counters["peak_MiB"] = PeakMemoryMiB();
}

} // namespace

int main(int argc, char **argv)
{
    // Cold: the application object, the fonts and the window's first frame.
    const auto t0 = Clock::now();
    BenchApplication(argc, argv);
    {
        auto form = std::make_unique<TForm1>();
        form->show();
        WaitForFirstPaint(*form);
        gColdStartUpMs = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
        gColdPeakMiB = PeakMemoryMiB();
    }

    benchmark::RegisterBenchmark("StartUp/Cold_to_first_frame", ColdStartUp)
        ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("StartUp/Warm_to_first_frame", WarmStartUp)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Tick/Climbing", ClimbingTick, false)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Tick/Climbing_and_painted", ClimbingTick, true)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Tick/Dead_band", DeadBandTick)->Unit(benchmark::kMicrosecond);
    // Last, so it reports the peak of everything above.
    benchmark::RegisterBenchmark("Memory/Peak", PeakMemory)->Iterations(1);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
