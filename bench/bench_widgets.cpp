// One render of each kind of self-painting control at the sizes and with the
// settings the main window gives them: readouts, dial gauges and the boost
// button (released and latched). Each render builds the whole picture, as a
// changed value does on every climbing tick.
#include "BenchSupport.h"
#include "widgets/display/Meter.h"
#include "widgets/display/NumLab.h"
#include "ui/form/Form1.h"
#include "widgets/button/oxBtns.h"

#include <benchmark/benchmark.h>

#include <QTimer>

#include <memory>

namespace {

TForm1 *gForm = nullptr;

void RenderControl(benchmark::State &state, TGraphicControl *control)
{
    for (auto _ : state) {
        QImage img = control->render();
        benchmark::DoNotOptimize(img.constBits());
    }
    state.counters["peak_MiB"] = PeakMemoryMiB();
}

// The setter path of a climbing tick: a new value, rendered at once.
void GaugeNewValue(benchmark::State &state)
{
    TMeter *meter = gForm->MeterRpm;
    double v = 1000;
    for (auto _ : state) {
        v = v >= 4990 ? 1000 : v + 10;
        meter->setValue(v);
    }
}

// Boost switching on and off: a new face each time.
void ButtonToggle(benchmark::State &state)
{
    ToxGraphicButton *button = gForm->BtnBoostMe;
    const int renders0 = button->renderCount();
    for (auto _ : state)
        button->setValue(!button->Value());
    state.counters["renders_per_set"] =
        double(button->renderCount() - renders0) / double(state.iterations());
    button->setValue(false);
}

void ReadoutNewValue(benchmark::State &state)
{
    TNumLab *lab = gForm->NumLabSpeed;
    double v = 10;
    for (auto _ : state) {
        v = v >= 99 ? 10 : v + 0.37;
        lab->setValue(v);
    }
}

} // namespace

int main(int argc, char **argv)
{
    BenchApplication(argc, argv);
    auto form = std::make_unique<TForm1>();
    form->Timer1->stop();
    form->show();
    WaitForFirstPaint(*form);
    gForm = form.get();

    struct Case { const char *name; TGraphicControl *control; };
    const Case cases[] = {
        {"Render/Readout/NumLabSpeed_161x17", form->NumLabSpeed},
        {"Render/Readout/NumLabIPBLife10_208x20", form->NumLabIPBLife10},
        {"Render/Readout/NumLabPower_160x17_empty", form->NumLabPower},
        {"Render/Gauge/MeterRpm_153x137", form->MeterRpm},
        {"Render/Gauge/MeterSpeed_153x137", form->MeterSpeed},
        {"Render/Button/BtnBoostMe_73x65_up", form->BtnBoostMe},
    };
    for (const Case &c : cases)
        benchmark::RegisterBenchmark(c.name, RenderControl, c.control)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Render/Button/BtnBoostMe_73x65_down", [&](benchmark::State &s) {
        form->BtnBoostMe->setValue(true);
        RenderControl(s, form->BtnBoostMe);
        form->BtnBoostMe->setValue(false);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("SetValue/Gauge/MeterRpm", GaugeNewValue)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("SetValue/Button/BtnBoostMe_toggle", ButtonToggle)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("SetValue/Readout/NumLabSpeed", ReadoutNewValue)
        ->Unit(benchmark::kMicrosecond);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
