#pragma once

#include <QString>
#include <array>

class SegdBytes;

// The extended header that Sercel 408 and 428 recorders write (32 blocks): where each value
// lies, how it is stored and what it means. Fields are named as the analyzer's fields that show
// them, and listed in the order it shows them.
namespace SercelExtendedHeader {

enum class Kind { Int32, Float32, Float64 };

// What a value is: a number (shown whole, to hundredths, or as an amplitude), the record's samples
// per trace (which the recorder states in its own way), or a code of one of Sercel's lists.
enum class Meaning {
    Number,
    Hundredths,
    Amplitude,
    Samples,
    SourceType,
    SpreadType,
    NoYes,
    NoiseElimination,
    HistoricEditing,
    Threshold,
    FilterType
};

struct Field {
    const char* name;
    int byte; // 1-based from the first byte of the extended header
    Kind kind;
    Meaning meaning;
};

constexpr int count = 57;
extern const std::array<Field, count> fields;

// The field of that name, or null.
const Field* find(const QString& name);
// The value of a field in the extended header bytes; 0 when the header is too short for it.
double value(const SegdBytes& extendedHeader, const Field& field);

} // namespace SercelExtendedHeader
