#include "copy/SegdWrittenFields.h"

#include <QtEndian>
#include <cmath>
#include <cstring>

namespace SegdWrittenFields {

namespace {

void putBcd(uchar* bytes, int width, double value)
{
    // A field holds what its digits can; values beyond them keep their low digits.
    quint64 number = value > 0 && std::isfinite(value) ? quint64(value) : 0;
    for (int k = width - 1; k >= 0; --k) {
        const int low = int(number % 10);
        number /= 10;
        const int high = int(number % 10);
        number /= 10;
        bytes[k] = uchar(high << 4 | low);
    }
}

void putBinary(uchar* bytes, int width, double value)
{
    const qint64 integer = std::isfinite(value) ? qint64(value) : 0;
    quint64 word = quint64(integer);
    for (int k = width - 1; k >= 0; --k) {
        bytes[k] = uchar(word & 0xFF);
        word >>= 8;
    }
}

} // namespace

void writeField(char* part, const Field& field, const Values& values)
{
    const double value = field.value == Constant ? field.constant : values[size_t(field.value)];
    uchar* bytes = reinterpret_cast<uchar*>(part + field.offset);
    switch (field.encoding) {
    case Encoding::Bcd:
        putBcd(bytes, field.width, value);
        break;
    case Encoding::Binary:
        putBinary(bytes, field.width, value);
        break;
    case Encoding::Ieee32: {
        quint32 bits;
        const float single = float(value);
        std::memcpy(&bits, &single, sizeof bits);
        qToBigEndian(bits, bytes);
        break;
    }
    case Encoding::Ieee64: {
        quint64 bits;
        std::memcpy(&bits, &value, sizeof bits);
        qToBigEndian(bits, bytes);
        break;
    }
    }
}

} // namespace SegdWrittenFields
