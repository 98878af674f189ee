// One simulation step with its refresh, on a model whose owner shows nothing.
// ClobberMemory keeps the steps' stores. (DoNotOptimize on a double member read
// back wrong values in an optimised build with the installed library version.)
#include "model/DriveModel.h"
#include "model/StartUp.h"

#include <benchmark/benchmark.h>

namespace
{

class TNoDisplay : public IDriveModelOwner
{
  public:
    void ShowSpeed() override {}
    void ShowPower() override {}
    void ShowTorque() override {}
    void ShowResistance() override {}
    void ShowForceAvailable() override {}
    void ShowBearing() override {}
    void ShowRpm() override {}
    void ShowTorqueUnused() override {}
    double LoadRating() override { return DefaultLoadRating; }
    void SwitchBoostOff() override {}
};

TDriveModel Running(TNoDisplay &owner, double rpm, double pedal)
{
    TDriveModel m(&owner);
    BringToStartUpState(m);
    m.EngineRpm = rpm;
    m.TargetSpeed = pedal;
    m.SimulationStep(); // settles the start-up flag
    return m;
}

// Full pedal between 1010 and 2990 rpm: every step adds 10 rpm, refreshes and
// computes the bearing life. Wrapping back costs one compare and a store.
void BM_ClimbingStep(benchmark::State &state)
{
    TNoDisplay owner;
    TDriveModel m = Running(owner, 1010, 100);
    for (auto _ : state) {
        m.SimulationStep();
        if (m.EngineRpm >= 2990)
            m.EngineRpm = 1010;
        benchmark::ClobberMemory();
    }
    if (m.RecalcFlag || m.EngineRpm < 1010)
        state.SkipWithError("the model stopped climbing");
}
BENCHMARK(BM_ClimbingStep);

// At the top speed: no change of speed, but every step refreshes.
void BM_TopSpeedStep(benchmark::State &state)
{
    TNoDisplay owner;
    TDriveModel m = Running(owner, 3010, 100);
    for (auto _ : state) {
        m.SimulationStep();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TopSpeedStep);

// Cruising inside the dead band: the step ends without a refresh.
void BM_DeadBandStep(benchmark::State &state)
{
    TNoDisplay owner;
    TDriveModel m = Running(owner, 2110, 50); // 49.6 mph, one step up into the band
    const double cruising = m.EngineRpm;
    for (auto _ : state) {
        m.SimulationStep();
        benchmark::ClobberMemory();
    }
    if (m.EngineRpm != cruising || m.RecalcFlag)
        state.SkipWithError("the model left the dead band");
}
BENCHMARK(BM_DeadBandStep);

} // namespace
