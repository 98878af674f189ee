#include "velmora-sim/SimOptions.h"

#include "analysis/InputRanges.h"
#include "analysis/Reliability.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>

const char *const SimUsage =
    R"(Usage: velmora-sim [options]
Drives the truck model without a window, from the start-up state, and prints
one row of results after the last step (or after every K-th step).

Configuration (applied before the first step):
  --engine I            engine row (0..2)
  --final-drive I       final-drive row (0..5)
  --tyre I              tyre-size row (0..16)
  --body I              body (unladen weight) row (0..3)
  --gear 4|5            gear (default 5)
  --overdrive-ratio X   fifth-gear ratio (default 0.813)
  --transmission-loss X fraction of torque lost (default 0.17)
  --rolling-resistance N  whole lbf (default 45)
  --frontal-area X      sq ft (default 22.5)
  --drag-coef X         (default 0.65)
  --load X              lb, 0 to 3000 (default 50)
  --gradient X          rise per distance, 0 to 100 (default 0)
  --load-rating X       bearing load rating C in lbf (default 2081)
  --pitch-radius X      input gear pitch-circle radius, in (default 1.11)
  --pressure-angle X    degrees (default 20)
  --helix-angle X       degrees (default 15)
  --overhang X          bearing overhang factor (default 1.15)
  --load-factor X       (default 1.2)
  --pedal X             gas-pedal target speed, mph, 0 to 100 (default 0)
  --truck FILE          read a truck file first; options given here override it
Driving:
  --start-rpm R         engine speed before the first step, a multiple of 10 up to
                        the engine's maximum-power speed (default 10)
  --boost               boost switched on before the first step
  --steps N             number of simulation steps (default 0)
  --every K             print a row after every K-th step
  --rpm R               instead of stepping: set the engine speed to R, refresh
                        and print one row (may be repeated)
  --sweep               instead of stepping: one --rpm row for every 10 rpm up to
                        the engine's maximum-power speed, plus holds_speed
  --duty                instead of stepping: one row per segment of the truck
                        file's duty list, then the combined life (segment "all")
Routes (a recorded GPX track as the duty list):
  --route FILE.gpx      replace the duty list with the track's segments; a summary
                        goes to standard error (use with --duty or --write-truck)
  --slice M             slice length along the track, m (default 100, 10 to 10000)
  --smooth M            elevation smoothing either side, m (default 100, 0 to 5000)
  --speed-bin MPH       speeds go to multiples of this (default 5, 1 to 20)
  --gradient-bin X      gradients go to multiples of this (default 0.01, 0.001 to 0.1)
  --write-truck OUT     write the truck with its duty list to OUT (a truck file);
                        without --steps, --rpm, --sweep or --duty nothing is printed
Output:
  --reliability R       add the columns a1 and life_km_at_reliability for a
                        reliability of R percent (90 to 99.95)
  --format csv|json     csv with a header line (default) or one JSON object per line
  --help                this text
  --version             the program's version

A value a readout would show empty is an empty csv field or JSON null.
Example: velmora-sim --pedal 100 --boost --steps 2000 --every 100
         velmora-sim --truck my-truck.json --duty --reliability 99
         velmora-sim --truck my-truck.json --route commute.gpx --duty
)";

namespace
{

using Setter = std::function<std::optional<std::string>(TSimOptions &, std::string_view)>;

template <typename T> std::optional<T> ParseWhole(std::string_view text)
{
    T v{};
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || ptr != end || text.empty())
        return std::nullopt;
    return v;
}

// A range's end as a person writes it: 10000, 0.001.
std::string NumberWords(double v)
{
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc() ? std::string(buf, end) : std::string();
}

std::optional<double> ParseNumber(std::string_view text)
{
    double v = 0;
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || ptr != end || text.empty() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// A number the window's input for `key` would accept.
Setter Number(std::optional<double> TSimOptions::*field, std::string_view key)
{
    const TInputRange *range = FindInputRange(key);
    return [field, range](TSimOptions &o, std::string_view text) -> std::optional<std::string> {
        const std::optional<double> v = ParseNumber(text);
        if (!v || !range->Contains(*v))
            return "expected a number, " + std::string(range->Text);
        o.*field = *v;
        return std::nullopt;
    };
}

// One of the four numbers that turn a track into segments, within its range.
Setter RouteNumber(double TRouteParams::*field, const TRouteParamRange &range)
{
    return [field, &range](TSimOptions &o, std::string_view text) -> std::optional<std::string> {
        const std::optional<double> v = ParseNumber(text);
        if (!v || *v < range.Min || *v > range.Max)
            return "expected a number from " + NumberWords(range.Min) + " to " +
                   NumberWords(range.Max);
        o.Route.*field = *v;
        return std::nullopt;
    };
}

Setter FileName(std::optional<std::string> TSimOptions::*field)
{
    return [field](TSimOptions &o, std::string_view text) -> std::optional<std::string> {
        if (text.empty())
            return "expected a file name";
        o.*field = std::string(text);
        return std::nullopt;
    };
}

Setter Row(std::optional<int> TSimOptions::*field)
{
    // Any whole number is taken; one outside the table fails when it is selected.
    return [field](TSimOptions &o, std::string_view text) -> std::optional<std::string> {
        const std::optional<int> v = ParseWhole<int>(text);
        if (!v)
            return "expected a whole number";
        o.*field = *v;
        return std::nullopt;
    };
}

const std::map<std::string_view, Setter> &ValueOptions()
{
    static const std::map<std::string_view, Setter> options{
        {"--engine", Row(&TSimOptions::Engine)},
        {"--final-drive", Row(&TSimOptions::FinalDrive)},
        {"--tyre", Row(&TSimOptions::Tyre)},
        {"--body", Row(&TSimOptions::Body)},
        {"--gear",
         [](TSimOptions &o, std::string_view t) -> std::optional<std::string> {
             const std::optional<int> v = ParseWhole<int>(t);
             if (!v || (*v != 4 && *v != 5))
                 return "expected 4 or 5";
             o.Gear = *v;
             return std::nullopt;
         }},
        {"--overdrive-ratio", Number(&TSimOptions::OverdriveRatio, "overdrive_ratio")},
        {"--transmission-loss", Number(&TSimOptions::TransmissionLoss, "transmission_loss")},
        {"--rolling-resistance",
         [](TSimOptions &o, std::string_view t) -> std::optional<std::string> {
             const std::optional<std::int64_t> v = ParseWhole<std::int64_t>(t);
             const TInputRange &range = *FindInputRange("rolling_resistance");
             if (!v || !range.Contains(static_cast<double>(*v)))
                 return "expected " + std::string(range.Text);
             o.RollingResistance = *v;
             return std::nullopt;
         }},
        {"--frontal-area", Number(&TSimOptions::FrontalArea, "frontal_area")},
        {"--drag-coef", Number(&TSimOptions::DragCoef, "drag_coef")},
        {"--load", Number(&TSimOptions::Load, "load")},
        {"--gradient", Number(&TSimOptions::Gradient, "gradient")},
        {"--load-rating", Number(&TSimOptions::LoadRating, "load_rating")},
        {"--pitch-radius", Number(&TSimOptions::PitchRadius, "pitch_radius")},
        {"--pressure-angle", Number(&TSimOptions::PressureAngle, "pressure_angle")},
        {"--helix-angle", Number(&TSimOptions::HelixAngle, "helix_angle")},
        {"--overhang", Number(&TSimOptions::Overhang, "overhang")},
        {"--load-factor", Number(&TSimOptions::LoadFactor, "load_factor")},
        {"--pedal",
         [](TSimOptions &o, std::string_view t) -> std::optional<std::string> {
             // The gas pedal's track runs from 0 to 100 mph.
             const std::optional<double> v = ParseNumber(t);
             if (!v || *v < 0 || *v > 100)
                 return "expected a number, 0 to 100";
             o.Pedal = *v;
             return std::nullopt;
         }},
        {"--truck", FileName(&TSimOptions::TruckFile)},
        {"--route", FileName(&TSimOptions::RouteFile)},
        {"--write-truck", FileName(&TSimOptions::WriteTruck)},
        {"--slice", RouteNumber(&TRouteParams::SliceM, SliceRange)},
        {"--smooth", RouteNumber(&TRouteParams::SmoothM, SmoothRange)},
        {"--speed-bin", RouteNumber(&TRouteParams::SpeedBinMph, SpeedBinRange)},
        {"--gradient-bin", RouteNumber(&TRouteParams::GradientBin, GradientBinRange)},
        {"--reliability",
         [](TSimOptions &o, std::string_view t) -> std::optional<std::string> {
             const std::optional<double> v = ParseNumber(t);
             if (!v || !IsReliabilityInRange(*v))
                 return "expected a percentage from 90 to 99.95";
             o.Reliability = *v;
             return std::nullopt;
         }},
        {"--start-rpm",
         [](TSimOptions &o, std::string_view t) -> std::optional<std::string> {
             const std::optional<std::int64_t> v = ParseWhole<std::int64_t>(t);
             if (!v || *v < 0 || *v % 10 != 0)
                 return "expected a multiple of 10 >= 0";
             o.StartRpm = *v;
             return std::nullopt;
         }},
        {"--steps",
         [](TSimOptions &o, std::string_view t) -> std::optional<std::string> {
             const std::optional<std::int64_t> v = ParseWhole<std::int64_t>(t);
             if (!v || *v < 0)
                 return "expected a whole number >= 0";
             o.Steps = *v;
             return std::nullopt;
         }},
        {"--every",
         [](TSimOptions &o, std::string_view t) -> std::optional<std::string> {
             const std::optional<std::int64_t> v = ParseWhole<std::int64_t>(t);
             if (!v || *v < 1)
                 return "expected a whole number >= 1";
             o.Every = *v;
             return std::nullopt;
         }},
        {"--rpm",
         [](TSimOptions &o, std::string_view t) -> std::optional<std::string> {
             const std::optional<double> v = ParseNumber(t);
             if (!v || *v < 0)
                 return "expected a number >= 0";
             o.Rpms.push_back(*v);
             return std::nullopt;
         }},
        {"--format",
         [](TSimOptions &o, std::string_view t) -> std::optional<std::string> {
             if (t == "csv")
                 o.Format = TSimFormat::Csv;
             else if (t == "json")
                 o.Format = TSimFormat::Json;
             else
                 return "expected csv or json";
             return std::nullopt;
         }},
    };
    return options;
}

std::string Quoted(std::string_view s)
{
    std::string q;
    q.reserve(s.size() + 2);
    q += '"';
    q.append(s);
    q += '"';
    return q;
}

} // namespace

std::variant<TSimOptions, TSimOptionError> ParseSimOptions(std::span<const std::string_view> args)
{
    TSimOptions o;
    bool stepping = false;
    std::optional<std::string_view> routeNumber; // the first of the four given
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view name = args[i];
        std::optional<std::string_view> inlineValue;
        if (const auto eq = name.find('=');
            name.starts_with("--") && eq != std::string_view::npos) {
            inlineValue = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        if (!inlineValue) {
            const std::map<std::string_view, bool TSimOptions::*> flags{
                {"--boost", &TSimOptions::Boost},
                {"--help", &TSimOptions::Help},
                {"--version", &TSimOptions::Version},
                {"--sweep", &TSimOptions::Sweep},
                {"--duty", &TSimOptions::Duty}};
            if (const auto flag = flags.find(name); flag != flags.end()) {
                o.*(flag->second) = true;
                continue;
            }
        }
        const auto it = ValueOptions().find(name);
        if (it == ValueOptions().end())
            return TSimOptionError{
                (name.starts_with("-") ? "unknown option " : "unexpected argument ") +
                Quoted(args[i])};
        std::string_view value;
        if (inlineValue)
            value = *inlineValue;
        else if (i + 1 < args.size())
            value = args[++i];
        else
            return TSimOptionError{"option " + std::string(name) + " needs a value"};
        if (std::optional<std::string> why = it->second(o, value))
            return TSimOptionError{"bad value " + Quoted(value) + " for " + std::string(name) +
                                   ": " + *why};
        stepping = stepping || name == "--steps" || name == "--every";
        if (!routeNumber && (name == "--slice" || name == "--smooth" || name == "--speed-bin" ||
                             name == "--gradient-bin"))
            routeNumber = name;
    }
    if (stepping && !o.Rpms.empty())
        return TSimOptionError{"--rpm cannot be combined with --steps or --every"};
    // Each of these replaces stepping with its own rows.
    const bool probing = !o.Rpms.empty();
    if (o.Sweep + o.Duty + probing + stepping > 1)
        return TSimOptionError{"choose one of --steps/--every, --rpm, --sweep and --duty"};
    if (o.Duty && !o.TruckFile && !o.RouteFile)
        return TSimOptionError{
            "--duty needs a duty list: a truck file with one (--truck FILE) or a route (--route "
            "FILE.gpx)"};
    if (routeNumber && !o.RouteFile)
        return TSimOptionError{std::string(*routeNumber) + " has no effect without --route"};
    if (o.RouteFile && !o.Duty && !o.WriteTruck)
        return TSimOptionError{"--route gives a duty list: use it with --duty or --write-truck"};
    return o;
}
