#pragma once

#include <array>

// Life adjustment factor a1 for a reliability of `percent` (90 .. 99.95):
// 0.95 * (ln(100/R) / ln(100/90))^(2/3) + 0.05; 1 at 90 %.
double ReliabilityFactor(double percent);

// The reliabilities a1 is defined for, and the ones the windows offer (90 %
// is the plain L10 life).
inline constexpr double MinReliability = 90;
inline constexpr double MaxReliability = 99.95;
inline constexpr std::array<double, 4> ReliabilityChoices{90, 95, 99, 99.9};
bool IsReliabilityInRange(double percent);
