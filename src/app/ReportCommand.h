#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

// `velmora --truck FILE --report OUT.pdf [--pedal MPH] [--reliability R]
// [--route FILE.gpx]`: the report written without a window.
struct TReportCommand {
    std::string Truck;
    std::string Report;
    double PedalMph = 50; // the middle of the pedal's travel: at rest a truck has no life to report
    double ReliabilityPct = 90;
    std::optional<std::string> Route;
};

// The report options among the arguments (argv[0] left out). Absent when
// none of them is there (the window opens); the problem in one line when they
// do not make a report run. Arguments that are not the report's (the
// toolkit's -platform NAME and the like) are left to the toolkit.
std::optional<std::variant<TReportCommand, std::string>>
ParseReportCommand(const std::vector<std::string> &args);

// Writes the report; prints one line on a problem. Returns the exit status:
// 0, or 2 when the report could not be made. Needs a GUI application object.
int RunReport(const TReportCommand &command);

// Chooses the offscreen platform unless the command line names one (-platform
// NAME), so a report is written without a display. Call before the
// application object exists.
void UseOffscreenPlatformUnlessChosen(const std::vector<std::string> &args);
