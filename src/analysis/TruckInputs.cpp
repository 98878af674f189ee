#include "analysis/TruckInputs.h"

#include "model/VehicleTables.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace
{

// The integer edit is read as a signed 32-bit value: anything larger would
// come back negative.
constexpr double IntEditMax = 2147483647;

constexpr TInputRange Rows(std::size_t count)
{
    return {0, static_cast<double>(count) - 1, false, true};
}

constexpr TInputRange Gears{4, 5, false, true};

// The positive edits take any value from 0 up.
constexpr TInputRange Positive{0, NoUpperLimit};

// A field of TDriveInputs, read and written as a double.
template <auto Field> double Get(const TTruck &t)
{
    return static_cast<double>(t.Inputs.*Field);
}

template <auto Field> void Set(TTruck &t, double v)
{
    using T = std::remove_reference_t<decltype(t.Inputs.*Field)>;
    t.Inputs.*Field = static_cast<T>(v);
}

double GearOf(const TTruck &t)
{
    return t.Gear == TGear::Fourth ? 4 : 5;
}

void SetGear(TTruck &t, double v)
{
    t.Gear = v == 4 ? TGear::Fourth : TGear::Fifth;
}

double LoadRatingOf(const TTruck &t)
{
    return t.LoadRating;
}

void SetLoadRating(TTruck &t, double v)
{
    t.LoadRating = v;
}

using namespace VehicleTables;

template <auto List> std::span<const std::string_view> Names()
{
    return List();
}

constexpr TTruckInput Inputs[] = {
    {"engine", "--engine", "", "engine row", Rows(EngineCount), TInputKind::Row, "engine",
     Names<EngineListTexts>, Get<&TDriveInputs::EngineIndex>, Set<&TDriveInputs::EngineIndex>},
    {"final_drive", "--final-drive", "", "final-drive row", Rows(FinalDriveCount), TInputKind::Row,
     "final drive", Names<FinalDriveListTexts>, Get<&TDriveInputs::FinalDriveIndex>,
     Set<&TDriveInputs::FinalDriveIndex>},
    {"tyre", "--tyre", "", "tyre-size row", Rows(TyreSizeCount), TInputKind::Row, "tyre size",
     Names<TyreSizeListTexts>, Get<&TDriveInputs::TyreSizeIndex>,
     Set<&TDriveInputs::TyreSizeIndex>},
    {"body", "--body", "", "body (unladen weight) row", Rows(KerbWeightCount), TInputKind::Row,
     "kerb weight", Names<KerbWeightListTexts>, Get<&TDriveInputs::KerbWeightIndex>,
     Set<&TDriveInputs::KerbWeightIndex>},
    {"gear", "--gear", "", "gear", Gears, TInputKind::Gear, "", nullptr, GearOf, SetGear},
    {"overdrive_ratio", "--overdrive-ratio", "", "fifth-gear ratio", Positive, TInputKind::Number,
     "", nullptr, Get<&TDriveInputs::OverdriveRatio>, Set<&TDriveInputs::OverdriveRatio>},
    {"transmission_loss", "--transmission-loss", "", "fraction of torque lost", Positive,
     TInputKind::Number, "", nullptr, Get<&TDriveInputs::TransmissionLoss>,
     Set<&TDriveInputs::TransmissionLoss>},
    {"rolling_resistance",
     "--rolling-resistance",
     "lbf",
     "rolling resistance",
     {0, IntEditMax, false, true},
     TInputKind::Number,
     "",
     nullptr,
     Get<&TDriveInputs::RollingResistance>,
     Set<&TDriveInputs::RollingResistance>},
    {"frontal_area", "--frontal-area", "sq ft", "frontal area", Positive, TInputKind::Number, "",
     nullptr, Get<&TDriveInputs::FrontalArea>, Set<&TDriveInputs::FrontalArea>},
    {"drag_coef", "--drag-coef", "", "drag coefficient", Positive, TInputKind::Number, "", nullptr,
     Get<&TDriveInputs::DragCoef>, Set<&TDriveInputs::DragCoef>},
    {"load", "--load", "lb", "load carried", LoadRange, TInputKind::Number, "", nullptr,
     Get<&TDriveInputs::Load>, Set<&TDriveInputs::Load>},
    {"gradient", "--gradient", "", "rise per distance", GradientRange, TInputKind::Number, "",
     nullptr, Get<&TDriveInputs::Gradient>, Set<&TDriveInputs::Gradient>},
    {"load_rating", "--load-rating", "lbf", "bearing load rating C", Positive, TInputKind::Number,
     "", nullptr, LoadRatingOf, SetLoadRating},
    {"pitch_radius", "--pitch-radius", "in", "input gear pitch-circle radius", Positive,
     TInputKind::Number, "", nullptr, Get<&TDriveInputs::PitchCircleRadius>,
     Set<&TDriveInputs::PitchCircleRadius>},
    {"pressure_angle", "--pressure-angle", "degrees", "pressure angle", Positive,
     TInputKind::Number, "", nullptr, Get<&TDriveInputs::PressureAngle>,
     Set<&TDriveInputs::PressureAngle>},
    {"helix_angle", "--helix-angle", "degrees", "helix angle", Positive, TInputKind::Number, "",
     nullptr, Get<&TDriveInputs::HelixAngle>, Set<&TDriveInputs::HelixAngle>},
    {"overhang", "--overhang", "", "bearing overhang factor", Positive, TInputKind::Number, "",
     nullptr, Get<&TDriveInputs::Overhang>, Set<&TDriveInputs::Overhang>},
    {"load_factor", "--load-factor", "", "load factor", Positive, TInputKind::Number, "", nullptr,
     Get<&TDriveInputs::LoadFactor>, Set<&TDriveInputs::LoadFactor>},
};

} // namespace

std::span<const TTruckInput> TruckInputs()
{
    return Inputs;
}

const TTruckInput *FindTruckInput(std::string_view key)
{
    for (const TTruckInput &input : Inputs)
        if (input.Key == key)
            return &input;
    return nullptr;
}

const TTruckInput &InputByKey(std::string_view key)
{
    if (const TTruckInput *input = FindTruckInput(key))
        return *input;
    throw std::out_of_range("no truck input named " + std::string(key));
}
