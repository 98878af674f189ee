#include "model/VehicleTables.h"

namespace VehicleTables
{

const std::array<TEngineInfo, EngineCount> &Engines()
{
    // PowerAtMaxTorque = MaxTorque * MaxTorqueRpm / 5252 and
    // TorqueAtMaxPower = MaxPower * 5252 / MaxPowerRpm, stored, not computed.
    static const std::array<TEngineInfo, EngineCount> rows{{
        {"SD22", 35.3008377760853, 103, 1800, 63, 82.719, 4000},
        {"SD25", 45.316070068545315, 119, 2000, 75, 98.475, 4000},
        {"Z22", 62.87128712871287, 127, 2600, 95, 95.95, 5200},
    }};
    return rows;
}

const std::array<std::string_view, EngineCount> &EngineListTexts()
{
    static constexpr std::array<std::string_view, EngineCount> texts{
        "SD22  63hp@4000  103ftlb@1800",
        "SD25  75hp@4000  119ftlb@2000",
        "Z22     95hp@5200  127ftlb@2600",
    };
    return texts;
}

const std::array<double, FinalDriveCount> &FinalDriveRatios()
{
    static constexpr std::array<double, FinalDriveCount> ratios{3.889, 4.111, 4.375,
                                                                4.625, 4.625, 4.875};
    return ratios;
}

const std::array<std::string_view, FinalDriveCount> &FinalDriveListTexts()
{
    static constexpr std::array<std::string_view, FinalDriveCount> texts{
        "H190   manual 3.889",  "H190   auto      4.111", "H190  4WD      4.375",
        "H190   SD25    4.625", "C200   Z22       4.625", "C200   SD25    4.875",
    };
    return texts;
}

const std::array<double, TyreSizeCount> &TyreDiameters()
{
    static const std::array<double, TyreSizeCount> diameters = [] {
        std::array<double, TyreSizeCount> d{};
        for (std::size_t i = 0; i < TyreSizeCount; ++i) {
            const double inches = 25.0 + 0.5 * static_cast<double>(i);
            d[i] = inches * 25.4 / 1000;
        }
        return d;
    }();
    return diameters;
}

const std::array<std::string_view, TyreSizeCount> &TyreSizeListTexts()
{
    static constexpr std::array<std::string_view, TyreSizeCount> texts{
        "25.0\"", "25.5\"", "26.0\"", "26.5\"", "27.0\"", "27.5\"", "28.0\"", "28.5\"", "29.0\"",
        "29.5\"", "30.0\"", "30.5\"", "31.0\"", "31.5\"", "32.0\"", "32.5\"", "33.0\"",
    };
    return texts;
}

const std::array<double, KerbWeightCount> &KerbWeights()
{
    static constexpr std::array<double, KerbWeightCount> weights{3102, 2893, 3025, 2816};
    return weights;
}

const std::array<std::string_view, KerbWeightCount> &KerbWeightListTexts()
{
    static constexpr std::array<std::string_view, KerbWeightCount> texts{
        "DualCab Diesel 4x4  3102 lb",
        "KingCab Petrol 4x4   2893 lb",
        "StdCab  Diesel 4x4   3025 lb",
        "StdCab  Petrol 4x4    2816 lb",
    };
    return texts;
}

} // namespace VehicleTables
