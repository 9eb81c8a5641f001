#pragma once

#include <QtGlobal>

// The types of values at byte positions of file headers, by the codes that format
// definitions store. Start bytes are 1-based, as in the SEG-Y and SEG-D standards.
namespace HeaderDataType {

enum Code : int {
    Int8 = 0,
    Int16 = 1,
    Int32 = 2,
    IbmFloat = 3,
    IeeeFloat = 4,
    UInt16 = 5,
};

// Bytes a value of the type occupies; 0 for codes that name no type.
int size(int code);

// The value of the type at startByte, byte-reversed first when swap is set, widened to a
// 64-bit float. Codes that name no type, and values not wholly inside the header's
// headerLength bytes, read as 0.
double readValue(const char* header, qint64 headerLength, int startByte, int code, bool swap);

// Stores value in the type at startByte (integers truncated toward zero, keeping their low
// bits), byte-reversed when swap is set. UInt16, codes that name no type, and positions
// not wholly inside the header write nothing.
void writeValue(char* header, qint64 headerLength, int startByte, int code, double value, bool swap);

} // namespace HeaderDataType
