// The words beside a list imported from a route, without a window.

#include "ui/duty/RouteText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{

const QLocale English(QLocale::English, QLocale::UnitedStates);
const QLocale German(QLocale::German, QLocale::Germany);

struct TripsCase {
    double trips;
    const char *english;
    const char *german;
};

class TripsNumbers : public ::testing::TestWithParam<TripsCase>
{
};

TEST_P(TripsNumbers, ThreeFiguresGroupedInTheLocale)
{
    const TripsCase &c = GetParam();
    EXPECT_EQ(TripsNumber(c.trips, English), QString::fromUtf8(c.english));
    EXPECT_EQ(TripsNumber(c.trips, German), QString::fromUtf8(c.german));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TripsNumbers,
    ::testing::Values(TripsCase{2537, "2,540", "2.540"}, TripsCase{2535, "2,540", "2.540"},
                      TripsCase{123456, "123,000", "123.000"}, TripsCase{999.6, "1,000", "1.000"},
                      TripsCase{10, "10", "10"}, TripsCase{10.04, "10", "10"},
                      TripsCase{9.96, "10.0", "10,0"}, TripsCase{5.04, "5.0", "5,0"},
                      TripsCase{0.25, "0.3", "0,3"}, TripsCase{0, "0.0", "0,0"},
                      TripsCase{-1, "", ""},
                      TripsCase{std::numeric_limits<double>::quiet_NaN(), "", ""},
                      TripsCase{std::numeric_limits<double>::infinity(), "", ""}));

TEST(TripsNumber, GroupedAlsoInTheCLocale)
{
    EXPECT_EQ(TripsNumber(27'812, QLocale::c()), QStringLiteral("27,800"));
    EXPECT_EQ(TripsNumber(2.54, QLocale::c()), QStringLiteral("2.5"));
}

TEST(TripsText, L10AloneAtNinetyPercentAndBothOtherwise)
{
    EXPECT_EQ(TripsText(2537, 90, 1, English), QStringLiteral("≈ 2,540 trips of this route"));
    EXPECT_EQ(TripsText(2537, 99, 0.25, English),
              QStringLiteral("≈ 2,540 trips of this route (L10); ≈ 634 at 99 %"));
    EXPECT_EQ(TripsText(2537, 99.9, 0.093, English),
              QStringLiteral("≈ 2,540 trips of this route (L10); ≈ 236 at 99.9 %"));
    EXPECT_TRUE(TripsText(std::nan(""), 90, 1, English).isEmpty());
}

TRouteSummary drive()
{
    TRouteSummary s;
    s.DistanceM = 42'345;
    s.MovingDistanceM = 40'000;
    s.MovingTimeS = 3725; // 1 h 2 min 5 s
    s.ClimbM = 310.4;
    s.Pieces = 2;
    s.DroppedNoTime = 1;
    s.DroppedJump = 2;
    s.StandingSlices = 14;
    return s;
}

TEST(RouteSummaryText, KilometresAndMetres)
{
    EXPECT_EQ(RouteSummaryText(drive(), false, English),
              QStringLiteral("Route: 42.3 km, 1:02 h moving, climb 310 m; 2 pieces, 3 points "
                             "dropped, 14 standing slices."));
}

TEST(RouteSummaryText, MilesAndFeet)
{
    // 42.345 km x 0.621 = 26.296 miles; 310.4 m = 1018.4 ft.
    EXPECT_EQ(RouteSummaryText(drive(), true, English),
              QStringLiteral("Route: 26.3 miles, 1:02 h moving, climb 1,018 ft; 2 pieces, 3 "
                             "points dropped, 14 standing slices."));
}

TEST(RouteSummaryText, OnesAreSingularAndPiecesWithoutElevationAreNamed)
{
    TRouteSummary s = drive();
    s.Pieces = 1;
    s.DroppedJump = 0;
    s.StandingSlices = 1;
    s.MovingTimeS = 59.6; // rounds up to the minute
    s.PiecesWithoutElevation = 1;
    EXPECT_EQ(RouteSummaryText(s, false, German),
              QStringLiteral("Route: 42,3 km, 0:01 h moving, climb 310 m; 1 piece, 1 point "
                             "dropped, 1 standing slice; 1 piece without elevation uses the "
                             "truck's gradient."));
    s.Pieces = 3;
    s.PiecesWithoutElevation = 2;
    EXPECT_TRUE(RouteSummaryText(s, false, English)
                    .endsWith(QLatin1String("2 pieces without elevation use the truck's "
                                            "gradient.")));
}

} // namespace
