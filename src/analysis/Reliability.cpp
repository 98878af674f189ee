#include "analysis/Reliability.h"

#include <cmath>

double ReliabilityFactor(double percent)
{
    // ln(100/90) is the failure exponent's reference; the 0.05 floor keeps a
    // share of the basic life even at the strictest reliabilities.
    const double ratio = std::log(100 / percent) / std::log(100.0 / 90.0);
    return 0.95 * std::pow(ratio, 2.0 / 3.0) + 0.05;
}

bool IsReliabilityInRange(double percent)
{
    return percent >= MinReliability && percent <= MaxReliability;
}
