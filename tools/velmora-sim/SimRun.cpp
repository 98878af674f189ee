#include "velmora-sim/SimRun.h"

#include "model/DisplayValues.h"
#include "model/DriveModel.h"
#include "analysis/DutyCycle.h"
#include "model/EIBError.h"
#include "analysis/Reliability.h"
#include "velmora-sim/SimOptions.h"
#include "velmora-sim/SimRows.h"
#include "model/StartUp.h"
#include "analysis/TruckFile.h"

#include <cmath>
#include <cstdio>

#ifndef VELMORA_VERSION
#define VELMORA_VERSION "unknown"
#endif

namespace
{

constexpr std::string_view Prefix = "velmora-sim: ";

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

// The truck the options describe: the file's (or the start-up one), with
// every option given on the command line put over it.
TTruck TruckFrom(TTruck t, const TSimOptions &o)
{
    return o.ApplyTo(std::move(t));
}

// Applies the truck and the driving options as a user would set the inputs
// before the first tick. Throws EIBError for a table row that does not exist.
void Configure(TDriveModel &m, const TTruck &truck, const TSimOptions &o)
{
    BringToStartUpState(m, truck.Inputs);
    m.Gear = truck.Gear;
    if (o.Pedal)
        m.TargetSpeed = *o.Pedal;
    if (o.StartRpm)
        m.EngineRpm = static_cast<double>(*o.StartRpm);
    m.BoostFlag = o.Boost;
    m.RecalcFlag = true;
}

// The two columns --reliability adds, after whatever a row has.
class TReliabilityColumns
{
  public:
    explicit TReliabilityColumns(const std::optional<double> &percent)
    {
        if (percent)
            m_a1 = ReliabilityFactor(*percent);
    }

    std::vector<std::string_view> Columns(std::span<const std::string_view> base) const
    {
        std::vector<std::string_view> all(base.begin(), base.end());
        if (m_a1) {
            all.emplace_back("a1");
            all.emplace_back("life_km_at_reliability");
        }
        return all;
    }

    void Append(std::vector<TSimCell> &cells, const std::optional<double> &lifeKm) const
    {
        if (!m_a1)
            return;
        cells.emplace_back(*m_a1);
        cells.push_back(lifeKm ? TSimCell(*m_a1 * *lifeKm) : TSimCell());
    }

  private:
    std::optional<double> m_a1;
};

void PrintModelRows(TDriveModel &model, const TSimOptions &o, const TReliabilityColumns &rel,
                    std::ostream &out)
{
    std::vector<std::string_view> base(SimColumns.begin(), SimColumns.end());
    if (o.Sweep)
        base.emplace_back("holds_speed");
    const std::vector<std::string_view> columns = rel.Columns(base);
    WriteHeader(out, o.Format, columns);

    const auto print = [&](std::int64_t step) {
        const TSimRow row = RowFrom(model, step);
        std::vector<TSimCell> cells = CellsOf(row);
        if (o.Sweep)
            cells.emplace_back(Shown::SpeedHeld(model));
        rel.Append(cells, row.LifeKm);
        WriteCells(out, o.Format, columns, cells);
    };
    const auto probe = [&](double rpm) {
        model.EngineRpm = rpm;
        model.Refresh();
        print(0);
    };

    if (o.Sweep) {
        // Whole multiples of 10 as the engine moves; counting steps rather
        // than adding keeps every value exact.
        const double limit = model.Engine.MaxPowerRpm;
        for (std::int64_t n = 1; static_cast<double>(n) * TDriveModel::RpmStep <= limit; ++n)
            probe(static_cast<double>(n) * TDriveModel::RpmStep);
        return;
    }
    if (!o.Rpms.empty()) {
        for (const double rpm : o.Rpms)
            probe(rpm);
        return;
    }
    for (std::int64_t step = 1; step <= o.Steps; ++step) {
        model.SimulationStep();
        if (o.Every && step % *o.Every == 0)
            print(step);
    }
    if (!o.Every)
        print(o.Steps);
}

constexpr std::array<std::string_view, 14> DutyColumns{
    "segment",         "share_pct",  "gear",           "speed_mph",           "gradient",
    "load_lb",         "engine_rpm", "resistance_lbf", "force_available_lbf", "holds_speed",
    "radial_load_lbf", "c_over_p",   "life_km",        "damage_pct"};

// Why a segment cannot hold its speed, in words for the warning line.
std::string WhyNotHeld(const TOperatingPoint &p, double engineLimitRpm)
{
    char buf[160];
    if (!p.ForceAvailable)
        std::snprintf(buf, sizeof buf, "the engine would turn at %.0f rpm, above its %.0f",
                      p.EngineRpm, engineLimitRpm);
    else if (!p.Resistance)
        std::snprintf(buf, sizeof buf, "the resistance is undefined");
    else
        std::snprintf(buf, sizeof buf, "force available %.1f lbf, resistance %.1f lbf",
                      *p.ForceAvailable, *p.Resistance);
    return buf;
}

int PrintDuty(const TTruck &truck, const TSimOptions &o, const TReliabilityColumns &rel,
              std::ostream &out, std::ostream &err)
{
    const std::string &file = *o.TruckFile;
    if (truck.Duty.empty()) {
        err << Prefix << file << ": duty: no duty list in the file\n";
        return 2;
    }
    if (const std::string problem = CheckDutyShares(truck.Duty); !problem.empty()) {
        err << Prefix << file << ": duty: " << problem << '\n';
        return 2;
    }

    const TDutyResult result = DutyLife(truck, truck.Duty);
    const std::vector<std::string_view> columns = rel.Columns(DutyColumns);
    WriteHeader(out, o.Format, columns);
    for (std::size_t i = 0; i < truck.Duty.size(); ++i) {
        const TDutySegment &s = truck.Duty[i];
        const TOperatingPoint &p = result.Points[i];
        std::vector<TSimCell> cells{static_cast<std::int64_t>(i + 1),
                                    s.SharePct,
                                    std::int64_t{s.Gear == TGear::Fourth ? 4 : 5},
                                    s.SpeedMph,
                                    s.Gradient.value_or(truck.Inputs.Gradient),
                                    s.Load.value_or(truck.Inputs.Load),
                                    p.EngineRpm,
                                    Cell(p.Resistance),
                                    Cell(p.ForceAvailable),
                                    p.Holds,
                                    Cell(p.RadialLoad),
                                    Cell(p.COverP),
                                    Cell(p.LifeKm),
                                    Cell(result.DamagePct[i])};
        rel.Append(cells, p.LifeKm);
        WriteCells(out, o.Format, columns, cells);
        if (!p.Holds)
            err << Prefix << "warning: segment " << i + 1 << " cannot hold "
                << NumberText(s.SpeedMph) << " mph in "
                << (s.Gear == TGear::Fourth ? "fourth" : "fifth") << " gear ("
                << WhyNotHeld(p, ModelOf(truck).Engine.MaxPowerRpm) << ")\n";
    }
    std::vector<TSimCell> total(DutyColumns.size());
    total[0] = std::string_view("all");
    total[1] = 100.0;
    total[12] = Cell(result.LifeKm);
    rel.Append(total, result.LifeKm);
    WriteCells(out, o.Format, columns, total);
    return 0;
}

} // namespace

int RunVelmoraSim(std::span<const std::string_view> args, std::ostream &out, std::ostream &err)
{
    const auto parsed = ParseSimOptions(args);
    if (const auto *bad = std::get_if<TSimOptionError>(&parsed)) {
        err << Prefix << bad->Message << " (see --help)\n";
        return 2;
    }
    const TSimOptions &o = std::get<TSimOptions>(parsed);
    if (o.Help) {
        out << SimUsage;
        return 0;
    }
    if (o.Version) {
        out << "velmora-sim " << VELMORA_VERSION << '\n';
        return 0;
    }

    TTruck fromFile;
    if (o.TruckFile) {
        auto read = ReadTruckFile(*o.TruckFile);
        if (const auto *e = std::get_if<TTruckFileError>(&read)) {
            err << Prefix << e->Message() << '\n';
            return 2;
        }
        fromFile = std::move(std::get<TTruck>(read));
    }
    const TTruck truck = TruckFrom(std::move(fromFile), o);

    TSilentOwner owner(truck.LoadRating);
    TDriveModel model(&owner);
    try {
        Configure(model, truck, o);
    } catch (const EIBError &e) {
        err << Prefix << WithFullStop(e.what()) << '\n';
        return 2;
    }
    if (o.StartRpm && static_cast<double>(*o.StartRpm) > model.Engine.MaxPowerRpm) {
        err << Prefix << "bad value \"" << *o.StartRpm << "\" for --start-rpm: above "
            << NumberText(model.Engine.MaxPowerRpm) << " rpm, the most the " << model.Engine.Code
            << " engine reaches (see --help)\n";
        return 2;
    }

    const TReliabilityColumns rel(o.Reliability);
    if (o.Duty)
        return PrintDuty(truck, o, rel, out, err);
    PrintModelRows(model, o, rel, out);
    return 0;
}
