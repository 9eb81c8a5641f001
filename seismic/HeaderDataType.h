#pragma once

#include <QString>
#include <QtGlobal>

// The types of values at byte positions of file headers, by the codes that format
// definitions store. Start bytes are 1-based, as in the SEG-Y and SEG-D standards.
namespace HeaderDataType {

// Format files store these codes: new types take new codes at the end.
enum Code : int {
    Int8 = 0,
    Int16 = 1,
    Int32 = 2,
    IbmFloat = 3,
    IeeeFloat = 4,
    UInt16 = 5,
    Int64 = 6,
    UInt32 = 7,
    UInt64 = 8,
    IeeeDouble = 9,
};
// Codes 0 to codeCount - 1 name a type.
constexpr int codeCount = 10;
// The most bytes a value of any type occupies.
constexpr int largestSize = 8;

// Bytes a value of the type occupies; 0 for codes that name no type.
int size(int code);
// The type's entry in the windows' type boxes ("4-byte int", "IEEE Double"); null for codes that
// name no type.
const char* boxName(int code);
// A value of the type as read, as text: integers in full, floating values in the fewest digits
// that read back as the same value.
QString text(double value, int code);

// The value of the type at startByte, byte-reversed first when swap is set, widened to a
// 64-bit float (64-bit integers beyond 2^53 as the nearest one). Codes that name no type, and
// values not wholly inside the header's headerLength bytes, read as 0.
double readValue(const char* header, qint64 headerLength, int startByte, int code, bool swap);

// Stores value in the type at startByte, byte-reversed when swap is set. Integers, signed or
// not, are truncated toward zero keeping their low bits (-1 is all ones in an unsigned word);
// NaN, infinities and values beyond the 64-bit range store 0, except 2^63 into a 64-bit signed
// and 2^64 into a 64-bit unsigned word, which store the largest value: that is how those values
// read, and a word read is written back unchanged. Codes that name no type and positions not
// wholly inside the header write nothing.
void writeValue(char* header, qint64 headerLength, int startByte, int code, double value, bool swap);

} // namespace HeaderDataType
