#pragma once

// Life adjustment factor a1 for a reliability of `percent` (90 .. 99.95):
// 0.95 * (ln(100/R) / ln(100/90))^(2/3) + 0.05; 1 at 90 %.
double ReliabilityFactor(double percent);

inline constexpr double MinReliability = 90;
inline constexpr double MaxReliability = 99.95;
bool IsReliabilityInRange(double percent);
