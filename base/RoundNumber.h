#pragma once

// The steps of 1, 2 and 5 times a power of ten that axes and scale bars are marked in.
namespace RoundNumber {

// The smallest such step at or above `value` (positive and finite).
double atLeast(double value);
// The largest such step at or below `value` (positive and finite).
double atMost(double value);

} // namespace RoundNumber
