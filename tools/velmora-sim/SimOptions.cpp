#include "velmora-sim/SimOptions.h"

#include "analysis/InputRanges.h"
#include "analysis/Reliability.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <functional>
#include <map>

namespace
{

// Checks and stores one option's value; returns why a value is refused.
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

std::optional<double> ParseNumber(std::string_view text)
{
    double v = 0;
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || ptr != end || text.empty() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// A truck input takes what its truck-file key takes, written as any number
// ("45.0" for a whole 45, as the file may). A row outside its table is taken
// here and refused when it is selected, with the model's own message.
Setter Input(const TTruckInput &input)
{
    return [&input](TSimOptions &o, std::string_view text) -> std::optional<std::string> {
        const std::optional<double> v = ParseNumber(text);
        switch (input.Kind) {
        case TInputKind::Row:
            if (!v || std::trunc(*v) != *v || std::fabs(*v) > INT_MAX)
                return "expected a whole number";
            break;
        case TInputKind::Gear:
            if (!v || (*v != 4 && *v != 5))
                return "expected 4 or 5";
            break;
        case TInputKind::Number:
            if (!v || !input.Range.Contains(*v))
                return "expected " + input.Range.Text();
            break;
        }
        o.Inputs.emplace_back(&input, *v);
        return std::nullopt;
    };
}

Setter Number(std::optional<double> TSimOptions::*field, TInputRange range)
{
    return [field, range](TSimOptions &o, std::string_view text) -> std::optional<std::string> {
        const std::optional<double> v = ParseNumber(text);
        if (!v || !range.Contains(*v))
            return "expected " + range.Text();
        o.*field = *v;
        return std::nullopt;
    };
}

Setter RouteNumber(double TRouteParams::*field, const TRouteParamRange &limits)
{
    return [field, &limits](TSimOptions &o, std::string_view text) -> std::optional<std::string> {
        const TInputRange range{limits.Min, limits.Max};
        const std::optional<double> v = ParseNumber(text);
        if (!v || !range.Contains(*v))
            return "expected " + range.Text();
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

Setter Count(std::int64_t min, std::function<void(TSimOptions &, std::int64_t)> store)
{
    return [min, store](TSimOptions &o, std::string_view text) -> std::optional<std::string> {
        const std::optional<std::int64_t> v = ParseWhole<std::int64_t>(text);
        if (!v || *v < min)
            return "expected a whole number, " + std::to_string(min) + " or more";
        store(o, *v);
        return std::nullopt;
    };
}

std::map<std::string_view, Setter> MakeValueOptions()
{
    std::map<std::string_view, Setter> options;
    for (const TTruckInput &input : TruckInputs())
        options.emplace(input.Option, Input(input));
    // The gas pedal's track runs from 0 to 100 mph.
    options.emplace("--pedal", Number(&TSimOptions::Pedal, {0, 100}));
    options.emplace("--reliability",
                    Number(&TSimOptions::Reliability, {MinReliability, MaxReliability}));
    options.emplace("--truck", FileName(&TSimOptions::TruckFile));
    options.emplace("--route", FileName(&TSimOptions::RouteFile));
    options.emplace("--write-truck", FileName(&TSimOptions::WriteTruck));
    options.emplace("--slice", RouteNumber(&TRouteParams::SliceM, SliceRange));
    options.emplace("--smooth", RouteNumber(&TRouteParams::SmoothM, SmoothRange));
    options.emplace("--speed-bin", RouteNumber(&TRouteParams::SpeedBinMph, SpeedBinRange));
    options.emplace("--gradient-bin", RouteNumber(&TRouteParams::GradientBin, GradientBinRange));
    options.emplace("--start-rpm",
                    [](TSimOptions &o, std::string_view t) -> std::optional<std::string> {
                        const std::optional<std::int64_t> v = ParseWhole<std::int64_t>(t);
                        if (!v || *v < 0 || *v % 10 != 0)
                            return "expected a multiple of 10, 0 or more";
                        o.StartRpm = *v;
                        return std::nullopt;
                    });
    options.emplace("--steps", Count(0, [](TSimOptions &o, std::int64_t v) { o.Steps = v; }));
    options.emplace("--every", Count(1, [](TSimOptions &o, std::int64_t v) { o.Every = v; }));
    options.emplace("--rpm", [](TSimOptions &o, std::string_view t) -> std::optional<std::string> {
        const std::optional<double> v = ParseNumber(t);
        if (!v || *v < 0)
            return "expected a number, 0 or more";
        o.Rpms.push_back(*v);
        return std::nullopt;
    });
    options.emplace("--format",
                    [](TSimOptions &o, std::string_view t) -> std::optional<std::string> {
                        if (t == "csv")
                            o.Format = TSimFormat::Csv;
                        else if (t == "json")
                            o.Format = TSimFormat::Json;
                        else
                            return "expected csv or json";
                        return std::nullopt;
                    });
    return options;
}

const std::map<std::string_view, Setter> &ValueOptions()
{
    static const std::map<std::string_view, Setter> options = MakeValueOptions();
    return options;
}

std::string Quoted(std::string_view s)
{
    return "\"" + std::string(s) + "\"";
}

// The options given, by name, for the checks between them.
using TGiven = std::map<std::string_view, bool>;

// An option that changes nothing in the mode chosen, and why; empty when
// every option given has its effect.
std::string NoEffect(const TSimOptions &o, const TGiven &given)
{
    const auto has = [&given](std::string_view name) { return given.count(name) > 0; };
    const char *mode = o.Sweep           ? "--sweep"
                       : !o.Rpms.empty() ? "--rpm"
                       : o.Duty          ? "--duty"
                                         : nullptr;
    if (mode) {
        const std::string why = o.Duty ? "each segment is the steady state at its own speed"
                                       : "each row is computed at its own engine speed";
        for (std::string_view driving : {"--boost", "--pedal", "--start-rpm"})
            if (has(driving))
                return std::string(driving) + " has no effect with " + mode + ": " + why;
    }
    // The truck written keeps its gear, so --write-truck gives --gear its effect.
    if (o.Duty && has("--gear") && !o.WriteTruck)
        return "--gear has no effect with --duty: each segment names its own gear";
    if (has("--every") && !has("--steps"))
        return "--every has no effect without --steps: it prints a row after every K-th step";
    if (has("--every") && o.Steps == 0)
        return "--every has no effect with --steps 0: there is no step to print";
    for (std::string_view route : {"--slice", "--smooth", "--speed-bin", "--gradient-bin"})
        if (has(route) && !o.RouteFile)
            return std::string(route) + " has no effect without --route";
    if (o.RouteFile && !o.Duty && !o.WriteTruck)
        return "--route has no effect without --duty or --write-truck: only they use the duty list";
    return {};
}

} // namespace

std::optional<double> TSimOptions::Input(std::string_view key) const
{
    std::optional<double> v;
    for (const auto &[input, value] : Inputs)
        if (input->Key == key)
            v = value;
    return v;
}

TTruck TSimOptions::ApplyTo(TTruck truck) const
{
    for (const auto &[input, value] : Inputs)
        input->Set(truck, value);
    return truck;
}

std::variant<TSimOptions, TSimOptionError> ParseSimOptions(std::span<const std::string_view> args)
{
    TSimOptions o;
    TGiven given;
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
                given[flag->first] = true;
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
        given[it->first] = true;
    }
    if (o.Help || o.Version)
        return o; // printed before anything runs
    // Each of these replaces stepping with its own rows.
    const bool stepping = given.count("--steps") > 0;
    if (o.Sweep + o.Duty + !o.Rpms.empty() + stepping > 1)
        return TSimOptionError{"choose one of --steps, --rpm, --sweep and --duty"};
    if (std::string why = NoEffect(o, given); !why.empty())
        return TSimOptionError{why};
    if (o.Duty && !o.TruckFile && !o.RouteFile)
        return TSimOptionError{
            "--duty needs a truck file with a duty list (--truck FILE) or a route (--route FILE)"};
    return o;
}
