#include "SimRun.h"

#include "DriveModel.h"
#include "EIBError.h"
#include "SimOptions.h"
#include "SimRows.h"
#include "StartUp.h"

namespace
{

// A window with nothing to show: supplies the load rating and lets boost end.
class TSilentOwner : public IDriveModelOwner
{
  public:
    explicit TSilentOwner(double loadRating) : m_loadRating(loadRating) {}
    void ShowSpeed() override {}
    void ShowPower() override {}
    void ShowTorque() override {}
    void ShowResistance() override {}
    void ShowForceAvailable() override {}
    void ShowBearing() override {}
    void ShowRpm() override {}
    void ShowTorqueUnused() override {}
    double LoadRating() override { return m_loadRating; }
    void SwitchBoostOff() override {}

  private:
    double m_loadRating;
};

// Applies the options as a user would set the inputs before the first tick.
void Configure(TDriveModel &m, const TSimOptions &o)
{
    BringToStartUpState(m);
    if (o.Engine)
        m.SelectEngine(*o.Engine);
    if (o.FinalDrive)
        m.SelectFinalDrive(*o.FinalDrive);
    if (o.Tyre)
        m.SelectTyreSize(*o.Tyre);
    if (o.Body)
        m.SelectKerbWeight(*o.Body);
    if (o.Gear)
        m.Gear = *o.Gear == 4 ? TGear::Fourth : TGear::Fifth;
    auto set = [](double &field, const std::optional<double> &v) {
        if (v)
            field = *v;
    };
    set(m.OverdriveRatio, o.OverdriveRatio);
    set(m.TransmissionLoss, o.TransmissionLoss);
    if (o.RollingResistance)
        m.RollingResistance = static_cast<double>(*o.RollingResistance);
    set(m.FrontalArea, o.FrontalArea);
    set(m.DragCoef, o.DragCoef);
    set(m.Load, o.Load);
    set(m.Gradient, o.Gradient);
    set(m.PitchCircleRadius, o.PitchRadius);
    set(m.PressureAngle, o.PressureAngle);
    set(m.HelixAngle, o.HelixAngle);
    set(m.Overhang, o.Overhang);
    set(m.LoadFactor, o.LoadFactor);
    set(m.TargetSpeed, o.Pedal);
    if (o.StartRpm)
        m.EngineRpm = static_cast<double>(*o.StartRpm);
    m.BoostFlag = o.Boost;
    m.RecalcFlag = true;
}

} // namespace

int RunVelmoraSim(std::span<const std::string_view> args, std::ostream &out, std::ostream &err)
{
    const auto parsed = ParseSimOptions(args);
    if (const auto *bad = std::get_if<TSimOptionError>(&parsed)) {
        err << "velmora-sim: " << bad->Message << " (see --help)\n";
        return 2;
    }
    const TSimOptions &o = std::get<TSimOptions>(parsed);
    if (o.Help) {
        out << SimUsage;
        return 0;
    }

    TSilentOwner owner(o.LoadRating.value_or(DefaultLoadRating));
    TDriveModel model(&owner);
    try {
        Configure(model, o);
    } catch (const EIBError &e) {
        err << WithFullStop(e.what()) << '\n';
        return 2;
    }

    WriteHeader(out, o.Format);
    if (!o.Rpms.empty()) {
        for (const double rpm : o.Rpms) {
            model.EngineRpm = rpm;
            model.Refresh();
            WriteRow(out, o.Format, RowFrom(model, 0));
        }
        return 0;
    }
    for (std::int64_t step = 1; step <= o.Steps; ++step) {
        model.SimulationStep();
        if (o.Every && step % *o.Every == 0)
            WriteRow(out, o.Format, RowFrom(model, step));
    }
    if (!o.Every)
        WriteRow(out, o.Format, RowFrom(model, o.Steps));
    return 0;
}
