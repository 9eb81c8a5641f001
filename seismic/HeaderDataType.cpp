#include "seismic/HeaderDataType.h"

#include "seismic/SampleConversion.h"

#include <algorithm>
#include <cstring>

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

struct TypeRule {
    int size;
    Decoder decode;
    Encoder encode; // null: the type is read but never written
};

// Indexed by code.
constexpr TypeRule typeRules[] = {
    {1, decodeInteger<qint8>, encodeInteger<qint8>},
    {2, decodeInteger<qint16>, encodeInteger<qint16>},
    {4, decodeInteger<qint32>, encodeInteger<qint32>},
    {4, decodeIbm, encodeIbm},
    {4, decodeIeee, encodeIeee},
    {2, decodeInteger<quint16>, nullptr},
};
constexpr int typeCount = int(sizeof typeRules / sizeof typeRules[0]);

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

double readValue(const char* header, qint64 headerLength, int startByte, int code, bool swap)
{
    const TypeRule* rule = ruleInside(headerLength, startByte, code);
    if (!rule || !header)
        return 0.0;
    unsigned char bytes[4];
    std::memcpy(bytes, header + startByte - 1, size_t(rule->size));
    if (swap)
        std::reverse(bytes, bytes + rule->size);
    return rule->decode(bytes);
}

void writeValue(char* header, qint64 headerLength, int startByte, int code, double value, bool swap)
{
    const TypeRule* rule = ruleInside(headerLength, startByte, code);
    if (!rule || !rule->encode || !header)
        return;
    unsigned char bytes[4];
    rule->encode(value, bytes);
    if (swap)
        std::reverse(bytes, bytes + rule->size);
    std::memcpy(header + startByte - 1, bytes, size_t(rule->size));
}

} // namespace HeaderDataType
