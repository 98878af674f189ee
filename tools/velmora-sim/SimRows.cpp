#include "SimRows.h"

#include "DisplayValues.h"

#include <charconv>
#include <cmath>

TSimRow RowFrom(const TDriveModel &m, std::int64_t step)
{
    TSimRow r;
    r.Step = step;
    r.EngineRpm = m.EngineRpm;
    r.RoadSpeedMph = Shown::SpeedMph(m);
    r.PowerHp = Shown::Power(m);
    r.TorqueFtlb = Shown::Torque(m);
    r.ResistanceLbf = Shown::Resistance(m);
    r.ForceAvailableLbf = Shown::ForceAvailable(m);
    if (const double t = m.InputTorqueDemand(); std::isfinite(t))
        r.InputTorqueFtlb = t;
    r.RadialLoadLbf = Shown::RadialLoad(m);
    r.COverP = Shown::COverP(m);
    r.LifeKm = Shown::LifeKm(m);
    r.LifeThousandMiles = Shown::LifeThousandMiles(m);
    r.TorqueUnusedPct = Shown::TorqueUnusedPercent(m);
    r.Recalc = m.RecalcFlag;
    r.Boost = m.BoostFlag;
    return r;
}

std::string NumberText(double v)
{
    // Shortest round-trip digits; plain decimals in the everyday range
    // ("0.0001" rather than "1e-04"), exponents only for extreme magnitudes.
    char buf[64];
    const double size = std::fabs(v);
    const bool plain = size == 0 || (size >= 1e-6 && size < 1e16);
    const auto [end, ec] = plain ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed)
                                 : std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc() ? std::string(buf, end) : std::string();
}

namespace
{

struct TCells {
    TSimFormat Format;
    std::ostream &Out;
    bool First = true;

    void Name(std::size_t column)
    {
        if (!First)
            Out << ',';
        First = false;
        if (Format == TSimFormat::Json)
            Out << '"' << SimColumns[column] << "\":";
    }
    void Value(std::size_t column, const std::optional<double> &v)
    {
        Name(column);
        if (v)
            Out << NumberText(*v);
        else if (Format == TSimFormat::Json)
            Out << "null";
    }
    void Whole(std::size_t column, std::int64_t v)
    {
        Name(column);
        Out << v;
    }
    void Flag(std::size_t column, bool v)
    {
        Name(column);
        if (Format == TSimFormat::Json)
            Out << (v ? "true" : "false");
        else
            Out << (v ? '1' : '0');
    }
};

} // namespace

void WriteHeader(std::ostream &out, TSimFormat format)
{
    if (format != TSimFormat::Csv)
        return;
    for (std::size_t i = 0; i < SimColumns.size(); ++i)
        out << (i ? "," : "") << SimColumns[i];
    out << '\n';
}

void WriteRow(std::ostream &out, TSimFormat format, const TSimRow &row)
{
    TCells c{format, out};
    if (format == TSimFormat::Json)
        out << '{';
    c.Whole(0, row.Step);
    c.Value(1, row.EngineRpm);
    c.Value(2, row.RoadSpeedMph);
    c.Value(3, row.PowerHp);
    c.Value(4, row.TorqueFtlb);
    c.Value(5, row.ResistanceLbf);
    c.Value(6, row.ForceAvailableLbf);
    c.Value(7, row.InputTorqueFtlb);
    c.Value(8, row.RadialLoadLbf);
    c.Value(9, row.COverP);
    c.Value(10, row.LifeKm);
    c.Value(11, row.LifeThousandMiles);
    c.Whole(12, row.TorqueUnusedPct);
    c.Flag(13, row.Recalc);
    c.Flag(14, row.Boost);
    if (format == TSimFormat::Json)
        out << '}';
    out << '\n';
}
