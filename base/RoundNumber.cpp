#include "base/RoundNumber.h"

#include <cmath>
#include <initializer_list>

namespace RoundNumber {

namespace {

// The power of ten at or below `value`; the logarithm of an exact power may come out a hair low,
// which the factors 10 and 1 of the callers make up for.
double decade(double value)
{
    return std::pow(10.0, std::floor(std::log10(value)));
}

} // namespace

double atLeast(double value)
{
    const double power = decade(value);
    for (double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= value)
            return factor * power;
    }
    return 10 * power;
}

double atMost(double value)
{
    const double power = decade(value);
    for (double factor : {5.0, 2.0}) {
        if (factor * power <= value)
            return factor * power;
    }
    return power;
}

} // namespace RoundNumber
