#pragma once

#include <QString>
#include <array>

class SegdBytes;

// The extended header that Sercel 408 and 428 recorders write (32 blocks): where each value
// lies and how it is stored. Fields are named as the analyzer's fields that show them.
namespace SercelExtendedHeader {

enum class Kind { Int32, Float32, Float64 };

struct Field {
    const char* name;
    int byte; // 1-based from the first byte of the extended header
    Kind kind;
};

constexpr int count = 57;
extern const std::array<Field, count> fields;

// The field of that name, or null.
const Field* find(const QString& name);
// The value of a field in the extended header bytes; 0 when the header is too short for it.
double value(const SegdBytes& extendedHeader, const Field& field);

} // namespace SercelExtendedHeader
