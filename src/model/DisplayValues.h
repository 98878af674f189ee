#pragma once

#include "model/DriveModel.h"

#include <cstdint>
#include <optional>

// What each readout shows for the model's current state. An absent value is a
// readout shown empty: a negative power, torque or force (no value, e.g. above
// the rev limit), the bearing values in fourth gear or when P is negative (a
// gradient whose sine is negative), and anything the inputs
// leave undefined (NaN or infinity, a life beyond the 64-bit range). Nothing
// returned here is ever NaN or infinite.
namespace Shown
{

// The one rule for a value shown empty, used by every readout, table and
// output: NaN and infinities are no value, ...
std::optional<double> Finite(double v);
// ... and where a negative number means "no value" (a power above the rev
// limit, a life from a negative load), neither is a negative one.
std::optional<double> NonNegative(double v);

std::optional<double> SpeedMph(const TDriveModel &m);
std::optional<double> SpeedKmh(const TDriveModel &m); // RoadSpeed / 0.621
// Lime on black when true (the truck can hold or gain speed), white on red otherwise.
bool SpeedHeld(const TDriveModel &m);
std::optional<double> Power(const TDriveModel &m);
std::optional<double> Torque(const TDriveModel &m);
std::optional<double> Resistance(const TDriveModel &m);
std::optional<double> ForceAvailable(const TDriveModel &m);
std::optional<double> RadialLoad(const TDriveModel &m);
std::optional<double> COverP(const TDriveModel &m);
std::optional<double> LifeKm(const TDriveModel &m);
// Round(LifeKm) / 1000, and that times 0.621 for miles.
std::optional<double> LifeThousandKm(const TDriveModel &m);
std::optional<double> LifeThousandMiles(const TDriveModel &m);
// The same from LifeKm as it stands, in either gear: the value the life
// readout keeps hidden while fourth gear shows it empty.
std::optional<double> LastLifeThousands(const TDriveModel &m, bool miles);
std::int64_t Rpm(const TDriveModel &m);
// Percentage of torque unused, always 0..100.
int TorqueUnusedPercent(const TDriveModel &m);

} // namespace Shown
