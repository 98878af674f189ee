// velmora-sim --help: the truck's inputs come from their table, so a new
// input shows here as soon as it is added there.
#include "velmora-sim/SimOptions.h"

#include "analysis/Reliability.h"

namespace
{

constexpr std::size_t HelpColumn = 24; // where the words start, after "  --option X"

// "  --load X              " padded to the words' column (at least two spaces).
std::string OptionColumn(std::string_view option, std::string_view value)
{
    std::string line = "  " + std::string(option) + " " + std::string(value);
    line.append(line.size() + 2 <= HelpColumn ? HelpColumn - line.size() : 2, ' ');
    return line;
}

// "0 to 3000", "0 or more", "above 0": the range as help shows it.
std::string HelpRange(const TInputRange &r)
{
    const std::string lo = RangeNumber(r.Min);
    if (r.MinExclusive)
        return r.Bounded() ? "above " + lo + ", at most " + RangeNumber(r.Max) : "above " + lo;
    return r.Bounded() ? lo + " to " + RangeNumber(r.Max) : lo + " or more";
}

std::string InputLine(const TTruckInput &input)
{
    const TTruck startUp;
    std::string value = "X";
    std::string words(input.Help);
    switch (input.Kind) {
    case TInputKind::Row:
        value = "I";
        words += ", " + HelpRange(input.Range);
        break;
    case TInputKind::Gear:
        value = "4|5";
        break;
    case TInputKind::Number:
        if (input.Range.Whole)
            value = "N";
        if (!input.Unit.empty())
            words +=
                std::string(", ") + (input.Range.Whole ? "whole " : "") + std::string(input.Unit);
        else if (input.Range.Whole)
            words += ", a whole number";
        words += ", " + HelpRange(input.Range);
        break;
    }
    words += " (default " + RangeNumber(input.Get(startUp)) + ")";
    return OptionColumn(input.Option, value) + words + "\n";
}

std::string RouteLine(std::string_view option, std::string_view value, std::string_view words,
                      const TRouteParamRange &range, double startUp)
{
    return OptionColumn(option, value) + std::string(words) + ", " +
           HelpRange({range.Min, range.Max}) + " (default " + RangeNumber(startUp) + ")\n";
}

std::string MakeUsage()
{
    std::string u = R"(Usage: velmora-sim [options]
Drives the truck model without a window, from the start-up state, and prints
one row of results after the last step (or after every K-th step).
Options take their value as --option VALUE or --option=VALUE.

Configuration (applied before the first step):
)";
    for (const TTruckInput &input : TruckInputs())
        u += InputLine(input);
    u += R"(  --truck FILE          read a truck file first; options given here override it
Driving (stepping only):
  --pedal X             gas-pedal target speed, mph, 0 to 100 (default 0)
  --start-rpm R         engine speed before the first step, a multiple of 10 up to
                        the engine's maximum-power speed (default 10)
  --boost               boost switched on before the first step
  --steps N             number of simulation steps (default 0: the start-up state)
  --every K             print a row after every K-th step (needs --steps)
Instead of stepping (one of):
  --rpm R               set the engine speed to R, refresh and print one row
                        (may be repeated)
  --sweep               one --rpm row for every 10 rpm up to the engine's
                        maximum-power speed, plus holds_speed
  --duty                one row per segment of the duty list, then the combined
                        life (segment "all"); each segment has its own gear
Recorded routes:
  --route FILE.gpx      replace the duty list with the segments of a GPX track
                        (with --duty or --write-truck)
)";
    const TRouteParams route;
    u += RouteLine("--slice", "M", "slice length, m", SliceRange, route.SliceM);
    u += RouteLine("--smooth", "M", "elevation averaged this far either side, m", SmoothRange,
                   route.SmoothM);
    u += RouteLine("--speed-bin", "MPH", "speeds to the nearest multiple of this", SpeedBinRange,
                   route.SpeedBinMph);
    u += RouteLine("--gradient-bin", "X", "gradients to the nearest multiple of this",
                   GradientBinRange, route.GradientBin);
    u += R"(  --write-truck OUT.json  write the truck and its duty list, as Save does
Output:
  --reliability R       add the columns a1 and life_km_at_reliability for a
                        reliability of R percent ()" +
         RangeNumber(MinReliability) + " to " + RangeNumber(MaxReliability) + R"()
  --format csv|json     csv with a header line (default) or one JSON object per line
  --help                this text
  --version             the program's version

An option that would change nothing in the mode chosen is refused.
A value a readout would show empty is an empty csv field or JSON null.
Example: velmora-sim --pedal 100 --boost --steps 2000 --every 100
         velmora-sim --truck my-truck.json --duty --reliability 99
)";
    return u;
}

} // namespace

const std::string SimUsage = MakeUsage();
