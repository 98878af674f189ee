// The analysis layer's whole computations: a speed sweep over the default
// engine's range, a duty list's combined life, and velmora-sim's --sweep with
// its text output.
#include "analysis/DutyCycle.h"
#include "analysis/OperatingPoint.h"
#include "velmora-sim/SimRun.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string_view>
#include <vector>

namespace
{

// 400 points: one per 10 rpm of the default engine's 4000.
void BM_SpeedSweep400(benchmark::State &state)
{
    const TTruck truck;
    for (auto _ : state) {
        std::vector<TOperatingPoint> points = SpeedSweep(truck, TGear::Fifth, 400);
        benchmark::DoNotOptimize(points.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 400);
}
BENCHMARK(BM_SpeedSweep400)->Unit(benchmark::kMicrosecond);

// 20 segments: both gears, a spread of speeds, every other one on a hill
// with its own load.
void BM_DutyLife20(benchmark::State &state)
{
    TTruck truck;
    for (int i = 0; i < 20; ++i) {
        TDutySegment s{5, 20.0 + 3.0 * i, i % 5 == 4 ? TGear::Fourth : TGear::Fifth, std::nullopt,
                       std::nullopt};
        if (i % 2) {
            s.Gradient = 0.01 * (i % 7);
            s.Load = 100.0 * i;
        }
        truck.Duty.push_back(s);
    }
    for (auto _ : state) {
        TDutyResult r = DutyLife(truck, truck.Duty);
        benchmark::DoNotOptimize(r.LifeKm);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 20);
}
BENCHMARK(BM_DutyLife20)->Unit(benchmark::kMicrosecond);

// velmora-sim --sweep in process: 400 refreshes and 400 csv lines.
void BM_SimSweepCsv(benchmark::State &state)
{
    const std::vector<std::string_view> args{"--sweep"};
    for (auto _ : state) {
        std::ostringstream out, err;
        benchmark::DoNotOptimize(RunVelmoraSim(args, out, err));
        benchmark::DoNotOptimize(out.str().size());
    }
}
BENCHMARK(BM_SimSweepCsv)->Unit(benchmark::kMicrosecond);

} // namespace
