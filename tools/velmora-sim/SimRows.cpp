#include "velmora-sim/SimRows.h"

#include "model/DisplayValues.h"

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
    r.InputTorqueFtlb = Shown::Finite(m.InputTorqueDemand());
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
    if (v == 0)
        return "0"; // -0 too: a sign on nothing only puzzles a reader
    if (!std::isfinite(v))
        return {}; // never "nan" or "inf"; the writers print such a value as empty
    char buf[64];
    const double size = std::fabs(v);
    const bool plain = size == 0 || (size >= 1e-6 && size < 1e16);
    const auto [end, ec] = plain ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed)
                                 : std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc() ? std::string(buf, end) : std::string();
}

TSimCell Cell(const std::optional<double> &v)
{
    if (!v)
        return {};
    return *v;
}

std::vector<TSimCell> CellsOf(const TSimRow &row)
{
    return {row.Step,
            row.EngineRpm,
            Cell(row.RoadSpeedMph),
            Cell(row.PowerHp),
            Cell(row.TorqueFtlb),
            Cell(row.ResistanceLbf),
            Cell(row.ForceAvailableLbf),
            Cell(row.InputTorqueFtlb),
            Cell(row.RadialLoadLbf),
            Cell(row.COverP),
            Cell(row.LifeKm),
            Cell(row.LifeThousandMiles),
            std::int64_t{row.TorqueUnusedPct},
            row.Recalc,
            row.Boost};
}

namespace
{

struct TCellWriter {
    std::ostream &Out;
    TSimFormat Format;

    void operator()(std::monostate) const
    {
        if (Format == TSimFormat::Json)
            Out << "null";
    }
    // A value without a number (NaN, an infinity) is shown empty, as the
    // readouts show it: csv and JSON have no word for it.
    void operator()(double v) const
    {
        if (std::isfinite(v))
            Out << NumberText(v);
        else
            (*this)(std::monostate{});
    }
    void operator()(std::int64_t v) const { Out << v; }
    void operator()(bool v) const
    {
        if (Format == TSimFormat::Json)
            Out << (v ? "true" : "false");
        else
            Out << (v ? '1' : '0');
    }
    // Only the program's own words go here ("all"): no quoting needed.
    void operator()(std::string_view v) const
    {
        if (Format == TSimFormat::Json)
            Out << '"' << v << '"';
        else
            Out << v;
    }
};

} // namespace

void WriteHeader(std::ostream &out, TSimFormat format, std::span<const std::string_view> columns)
{
    if (format != TSimFormat::Csv)
        return;
    for (std::size_t i = 0; i < columns.size(); ++i)
        out << (i ? "," : "") << columns[i];
    out << '\n';
}

void WriteCells(std::ostream &out, TSimFormat format, std::span<const std::string_view> columns,
                std::span<const TSimCell> cells)
{
    const TCellWriter write{out, format};
    if (format == TSimFormat::Json)
        out << '{';
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i)
            out << ',';
        if (format == TSimFormat::Json)
            out << '"' << columns[i] << "\":";
        if (i < cells.size())
            std::visit(write, cells[i]);
        else
            write(std::monostate{});
    }
    if (format == TSimFormat::Json)
        out << '}';
    out << '\n';
}

void WriteHeader(std::ostream &out, TSimFormat format)
{
    WriteHeader(out, format, SimColumns);
}

void WriteRow(std::ostream &out, TSimFormat format, const TSimRow &row)
{
    WriteCells(out, format, SimColumns, CellsOf(row));
}
