#include "seismic/HeaderDataType.h"

#include "seismic/SampleConversion.h"

#include <QLocale>
#include <algorithm>
#include <cstring>
#include <limits>

namespace HeaderDataType {

namespace {

using Decoder = double (*)(const unsigned char* bytes);
using Encoder = void (*)(double value, unsigned char* bytes);

template <typename T> double decodeInteger(const unsigned char* bytes)
{
    T value;
    std::memcpy(&value, bytes, sizeof value);
    return double(value);
}

template <typename T> void encodeInteger(double value, unsigned char* bytes)
{
    const T word = T(SampleConversion::truncateToInteger(value));
    std::memcpy(bytes, &word, sizeof word);
}

// 2^63 and 2^64 are how a double holds the largest 64-bit words: they write as those words.
void encodeInt64(double value, unsigned char* bytes)
{
    const qint64 word =
        value == 0x1p63 ? std::numeric_limits<qint64>::max() : SampleConversion::truncateToInteger(value);
    std::memcpy(bytes, &word, sizeof word);
}

void encodeUInt64(double value, unsigned char* bytes)
{
    quint64 word;
    if (value == 0x1p64)
        word = std::numeric_limits<quint64>::max();
    else if (value >= 0x1p63 && value < 0x1p64)
        word = quint64(value); // whole already: doubles this large have no fraction
    else
        word = quint64(SampleConversion::truncateToInteger(value));
    std::memcpy(bytes, &word, sizeof word);
}

double decodeIbm(const unsigned char* bytes)
{
    quint32 word;
    std::memcpy(&word, bytes, sizeof word);
    return double(SampleConversion::ibmToIeee(word));
}

void encodeIbm(double value, unsigned char* bytes)
{
    const quint32 word = SampleConversion::ieeeToIbm(float(value));
    std::memcpy(bytes, &word, sizeof word);
}

double decodeIeee(const unsigned char* bytes)
{
    float value;
    std::memcpy(&value, bytes, sizeof value);
    return double(value);
}

void encodeIeee(double value, unsigned char* bytes)
{
    const float word = float(value);
    std::memcpy(bytes, &word, sizeof word);
}

double decodeDouble(const unsigned char* bytes)
{
    double value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

void encodeDouble(double value, unsigned char* bytes)
{
    std::memcpy(bytes, &value, sizeof value);
}

struct TypeRule {
    int size;
    Decoder decode;
    Encoder encode;
    const char* boxName;
    bool integer;
};

// Indexed by code.
constexpr TypeRule typeRules[] = {
    {1, decodeInteger<qint8>, encodeInteger<qint8>, "1-byte int", true},
    {2, decodeInteger<qint16>, encodeInteger<qint16>, "2-byte int", true},
    {4, decodeInteger<qint32>, encodeInteger<qint32>, "4-byte int", true},
    {4, decodeIbm, encodeIbm, "IBM Float", false},
    {4, decodeIeee, encodeIeee, "IEEE Float", false},
    {2, decodeInteger<quint16>, encodeInteger<quint16>, "2-byte unsigned", true},
    {8, decodeInteger<qint64>, encodeInt64, "8-byte int", true},
    {4, decodeInteger<quint32>, encodeInteger<quint32>, "4-byte unsigned", true},
    {8, decodeInteger<quint64>, encodeUInt64, "8-byte unsigned", true},
    {8, decodeDouble, encodeDouble, "IEEE Double", false},
};
constexpr int typeCount = int(sizeof typeRules / sizeof typeRules[0]);
static_assert(typeCount == codeCount, "a rule for every code");

// The rule of a code whose bytes lie wholly inside the header, or null.
const TypeRule* ruleInside(qint64 headerLength, int startByte, int code)
{
    if (code < 0 || code >= typeCount)
        return nullptr;
    const TypeRule& rule = typeRules[code];
    if (startByte < 1 || qint64(startByte) - 1 + rule.size > headerLength)
        return nullptr;
    return &rule;
}

} // namespace

int size(int code)
{
    return code >= 0 && code < typeCount ? typeRules[code].size : 0;
}

const char* boxName(int code)
{
    return code >= 0 && code < typeCount ? typeRules[code].boxName : nullptr;
}

QString text(double value, int code)
{
    // Integer values of 64-bit words may pass 2^53, where 'g' would switch to an exponent.
    if (code >= 0 && code < typeCount && typeRules[code].integer)
        return QString::number(value, 'f', 0);
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

double readValue(const char* header, qint64 headerLength, int startByte, int code, bool swap)
{
    const TypeRule* rule = ruleInside(headerLength, startByte, code);
    if (!rule || !header)
        return 0.0;
    unsigned char bytes[largestSize];
    std::memcpy(bytes, header + startByte - 1, size_t(rule->size));
    if (swap)
        std::reverse(bytes, bytes + rule->size);
    return rule->decode(bytes);
}

void writeValue(char* header, qint64 headerLength, int startByte, int code, double value, bool swap)
{
    const TypeRule* rule = ruleInside(headerLength, startByte, code);
    if (!rule || !header)
        return;
    unsigned char bytes[largestSize];
    rule->encode(value, bytes);
    if (swap)
        std::reverse(bytes, bytes + rule->size);
    std::memcpy(header + startByte - 1, bytes, size_t(rule->size));
}

} // namespace HeaderDataType
