#pragma once

#include "sps/SpsLayout.h"

#include <QString>
#include <string_view>

// What a field's columns hold.
enum class SpsCell {
    Value,     // a number
    Missing,   // blanks only, or nothing (the line ends before the field)
    NotANumber // text that is no number of the field's kind
};

struct SpsReading {
    SpsCell cell = SpsCell::Missing;
    double value = 0;
};

// The numbers in an SPS field's columns and how they are shown.
namespace SpsValue {

// The value of a field's text, telling blank cells and text that is no number apart.
SpsReading read(SpsConversion conversion, std::string_view text);

// The value of a field's text: blanks around a decimal number are ignored; blank text and text
// that is not a number give 0. Integers beyond 32 bits are no number either; a truncated float
// beyond them is held at the nearest 32-bit integer.
double convert(SpsConversion conversion, std::string_view text);
// The value as the analyzers show it.
QString text(SpsConversion conversion, double value);

} // namespace SpsValue
