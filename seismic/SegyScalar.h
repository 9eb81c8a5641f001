#pragma once

#include <QtGlobal>

// The SEG-Y scalar rule. A scalar is a signed 16-bit header word: positive multiplies,
// negative divides by its magnitude, zero leaves the value alone. Arithmetic is in 64-bit
// floating point; dividing (not multiplying by a reciprocal) keeps 123456.78 written with
// -100 and read back exactly the same.

// File value to trace value, used when reading.
constexpr double applyScalar(double value, int scalar)
{
    if (scalar > 0)
        return value * scalar;
    if (scalar < 0)
        return value / -double(scalar);
    return value;
}

// Trace value to file value, used when writing; an integer header word then truncates it.
constexpr double removeScalar(double value, int scalar)
{
    if (scalar > 0)
        return value / scalar;
    if (scalar < 0)
        return value * -double(scalar);
    return value;
}
