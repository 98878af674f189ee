#include "app/ReportCommand.h"

#include "analysis/Reliability.h"
#include "analysis/RouteDuty.h"
#include "analysis/TruckFile.h"
#include "ui/report/Report.h"

#include <QFile>
#include <QFileInfo>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace
{

constexpr double MaxPedalMph = 100; // the gas pedal's track

std::optional<double> number(std::string_view text)
{
    double v = 0;
    const char *end = text.data() + text.size();
    const auto [at, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || at != end || !std::isfinite(v))
        return std::nullopt;
    return v;
}

bool isReportOption(std::string_view name)
{
    return name == "--truck" || name == "--report" || name == "--pedal" ||
           name == "--reliability" || name == "--route";
}

} // namespace

std::optional<std::variant<TReportCommand, std::string>>
ParseReportCommand(const std::vector<std::string> &args)
{
    TReportCommand c;
    bool any = false;
    bool hasTruck = false;
    bool hasReport = false;
    std::string firstOption;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        std::string value;
        bool inlineValue = false;
        if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
            value = std::string(arg.substr(eq + 1));
            arg = arg.substr(0, eq);
            inlineValue = true;
        }
        if (!isReportOption(arg))
            continue;
        if (!any)
            firstOption = std::string(arg);
        any = true;
        if (!inlineValue) {
            if (i + 1 >= args.size())
                return std::string(arg) + " needs a value";
            value = args[++i];
        }
        if (value.empty())
            return std::string(arg) + " needs a value";
        if (arg == "--truck") {
            c.Truck = value;
            hasTruck = true;
        } else if (arg == "--report") {
            c.Report = value;
            hasReport = true;
        } else if (arg == "--route") {
            c.Route = value;
        } else if (arg == "--pedal") {
            const auto v = number(value);
            if (!v || *v < 0 || *v > MaxPedalMph)
                return "--pedal must be a speed from 0 to 100 (mph), not \"" + value + "\"";
            c.PedalMph = *v;
        } else if (arg == "--reliability") {
            const auto v = number(value);
            if (!v || !IsReliabilityInRange(*v))
                return "--reliability must be a percentage from 90 to 99.95, not \"" + value + "\"";
            c.ReliabilityPct = *v;
        }
    }
    if (!any)
        return std::nullopt;
    if (!hasReport)
        return firstOption + " works with --report OUT.pdf; the window opens a truck with Open "
                             "truck… (Ctrl+O)";
    if (!hasTruck)
        return "--report needs --truck FILE, the truck to report";
    return c;
}

void UseOffscreenPlatformUnlessChosen(const std::vector<std::string> &args)
{
    for (const std::string &a : args)
        if (a == "-platform" || a == "--platform" || a.starts_with("-platform=") ||
            a.starts_with("--platform="))
            return;
    // No window opens, so the desktop's platform (QT_QPA_PLATFORM=wayland or
    // xcb left in the environment) is not needed, and over ssh it is not there.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

int RunReport(const TReportCommand &c)
{
    const auto fail = [](const std::string &line) {
        std::fprintf(stderr, "velmora: %s\n", line.c_str());
        return 2;
    };
    // The report would replace the file it reports: refuse before reading anything.
    const QString out = QFile::decodeName(c.Report.c_str());
    for (const std::optional<std::string> &input : {std::optional(c.Truck), c.Route})
        if (input && QFileInfo(out).exists() &&
            QFileInfo(out).canonicalFilePath() ==
                QFileInfo(QFile::decodeName(input->c_str())).canonicalFilePath())
            return fail(c.Report + ": is the file the report is made from; it would be replaced");

    auto read = ReadTruckFile(c.Truck);
    if (const auto *error = std::get_if<TTruckFileError>(&read))
        return fail(error->Message());

    TReportRequest request;
    request.Truck = std::get<TTruck>(read);
    request.TruckName = QFileInfo(QFile::decodeName(c.Truck.c_str())).fileName();
    request.ReliabilityPct = c.ReliabilityPct;
    if (c.Route) {
        auto route = ImportRoute(*c.Route, request.Truck);
        if (const auto *error = std::get_if<TGpxError>(&route))
            return fail(error->Message());
        request.Truck.Duty = std::get<TRoute>(route).Duty;
        request.Route = std::get<TRoute>(route).Summary;
    }
    request.Point = PedalPoint(request.Truck, c.PedalMph);
    request.PointText = PedalPointText(c.PedalMph, request.Truck.Gear);

    const QString problem = WriteReport(out, request);
    if (!problem.isEmpty())
        return fail(problem.toLocal8Bit().toStdString());
    return 0;
}
