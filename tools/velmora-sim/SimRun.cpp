#include "velmora-sim/SimRun.h"

#include "analysis/DutyCycle.h"
#include "analysis/Reliability.h"
#include "analysis/RouteDuty.h"
#include "analysis/TruckFile.h"
#include "model/DisplayValues.h"
#include "model/DriveModel.h"
#include "model/EIBError.h"
#include "model/StartUp.h"
#include "velmora-sim/SimOptions.h"
#include "velmora-sim/SimRoute.h"
#include "velmora-sim/SimRows.h"

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

const char *GearWord(TGear gear)
{
    return gear == TGear::Fourth ? "fourth" : "fifth";
}

// Why a segment with an engine speed cannot hold its speed, in words for the
// warning line. Only values that exist are printed.
std::string WhyNotHeld(const TOperatingPoint &p, double engineLimitRpm)
{
    const std::string rpm = NumberText(std::round(*p.EngineRpm));
    if (*p.EngineRpm > engineLimitRpm)
        return "the engine would turn at " + rpm + " rpm, above its " + NumberText(engineLimitRpm);
    if (!p.ForceAvailable)
        return "no force is available at " + rpm + " rpm";
    if (!p.Resistance)
        return "the resistance is undefined";
    char buf[120];
    std::snprintf(buf, sizeof buf, "force available %.1f lbf, resistance %.1f lbf",
                  *p.ForceAvailable, *p.Resistance);
    return buf;
}

// The segment's warnings on standard error: a speed no engine speed gives, a
// speed it cannot hold, coasting, and a life that cannot be rated.
void WarnAbout(std::size_t n, const TDutySegment &s, const TOperatingPoint &p,
               double engineLimitRpm, std::ostream &err)
{
    const std::string segment = "warning: segment " + std::to_string(n);
    const std::string speed = NumberText(s.SpeedMph) + " mph";
    if (LeavesLifeUnrated(p.Cause)) {
        err << Prefix << segment << " has no life (" << LifeCauseText(p)
            << "), so neither has the duty list\n";
        if (p.Cause == TLifeCause::NoEngineSpeed)
            return;
    } else if (!p.EngineRpm) {
        err << Prefix << segment << ": no engine speed gives " << speed << " in "
            << GearWord(s.Gear) << '\n';
    }
    if (p.EngineRpm && !p.Holds)
        err << Prefix << segment << " cannot hold " << speed << " in " << GearWord(s.Gear)
            << " gear (" << WhyNotHeld(p, engineLimitRpm) << ")\n";
    if (p.Cause == TLifeCause::Coasting)
        err << Prefix << segment << " is coasting at " << speed
            << " (its resistance is at or below 0): distance without damage\n";
}

// `source` names the file the duty list came from in messages.
int PrintDuty(const TTruck &truck, const std::string &source, const TSimOptions &o,
              const TReliabilityColumns &rel, std::ostream &out, std::ostream &err)
{
    if (truck.Duty.empty()) {
        err << Prefix << source << ": duty: no duty list in the file\n";
        return 2;
    }
    if (const std::string problem = CheckDutyShares(truck.Duty); !problem.empty()) {
        err << Prefix << source << ": duty: " << problem << '\n';
        return 2;
    }

    const TDutyResult result = DutyLife(truck, truck.Duty);
    const double engineLimitRpm = ModelOf(truck).Engine.MaxPowerRpm;
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
                                    Cell(p.EngineRpm),
                                    Cell(p.Resistance),
                                    Cell(p.ForceAvailable),
                                    p.Holds,
                                    Cell(p.RadialLoad),
                                    Cell(p.COverP),
                                    Cell(p.LifeKm),
                                    Cell(result.DamagePct[i])};
        rel.Append(cells, p.LifeKm);
        WriteCells(out, o.Format, columns, cells);
        WarnAbout(i + 1, s, p, engineLimitRpm, err);
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
    TTruck truck = TruckFrom(std::move(fromFile), o);

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

    std::string dutySource = o.TruckFile.value_or(std::string());
    if (o.RouteFile) {
        auto imported = ImportRoute(*o.RouteFile, truck, o.Route);
        if (const auto *e = std::get_if<TGpxError>(&imported)) {
            err << Prefix << e->Message() << '\n';
            return 2;
        }
        const TRoute &route = std::get<TRoute>(imported);
        truck.Duty = route.Duty;
        dutySource = *o.RouteFile;
        err << Prefix << RouteSummaryLine(*o.RouteFile, route.Summary, o.Reliability) << '\n';
    }
    if (o.WriteTruck) {
        if (const auto problem = WriteTruckFile(*o.WriteTruck, truck)) {
            err << Prefix << problem->Message() << '\n';
            return 2;
        }
    }

    // Writing the truck is a task of its own: rows only when asked for.
    const bool rowsAsked = o.Duty || o.Sweep || !o.Rpms.empty() || o.Steps > 0 || o.Every;
    if (o.WriteTruck && !rowsAsked)
        return 0;

    const TReliabilityColumns rel(o.Reliability);
    if (o.Duty)
        return PrintDuty(truck, dutySource, o, rel, out, err);
    PrintModelRows(model, o, rel, out);
    return 0;
}
