#pragma once

// The timing line interval that suits a record: the smallest of 1, 2 and 5 times a power of
// ten milliseconds that keeps the lines at least minimumSpacing rows apart on a plot of
// plotRows rows for recordMs. With no rows to go by, about five lines over the record. The rows
// are a double: computed from a file's interval they may lie beyond any int.
namespace TimingInterval {

constexpr int minimumSpacing = 32;

int suited(double recordMs, double plotRows);

} // namespace TimingInterval
