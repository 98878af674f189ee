#pragma once

#include "analysis/RouteDuty.h"

#include <optional>
#include <string>

// The route summary velmora-sim prints on standard error, one line without
// the program's prefix: "route FILE: distance, moving distance and time,
// climb, pieces, points dropped, standing slices; trips". The trips are those
// of the L10 life and, with `reliabilityPct`, those of the life at it.
std::string RouteSummaryLine(const std::string &file, const TRouteSummary &summary,
                             std::optional<double> reliabilityPct);
