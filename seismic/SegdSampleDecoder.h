#pragma once

#include <QtGlobal>

// The sample formats of SEG-D field files, decoded from their big-endian file bytes into 64-bit
// floats one whole trace at a time. The last two digits of a format code select the decoder;
// multiplexed codes with the same last two digits are taken alike.
namespace SegdSampleDecoder {

enum Decoder {
    None = 0,
    Binary20 = 15,      // 8015: groups of four 20-bit samples in 10 bytes
    Quaternary8 = 22,   // 8022: sign, 3-bit base-4 exponent, 4-bit fraction
    Quaternary16 = 24,  // 8024: sign, 3-bit base-4 exponent, 12-bit fraction
    Integer24 = 36,     // 8036: 24-bit two's complement
    Integer32 = 38,     // 8038: 32-bit two's complement
    Hexadecimal8 = 42,  // 8042: sign, 2-bit base-16 exponent, 5-bit fraction
    Hexadecimal16 = 44, // 8044: sign, 3-bit base-16 exponent, 12-bit fraction
    IbmFloat = 48,      // 8048: IBM System/360 single precision
    IeeeFloat = 58,     // 8058: IEEE single precision
    IeeeDouble = 80,    // 8080: IEEE double precision
};

// The decoder of a format code (its four BCD digits read as a decimal number), None for codes
// without one.
Decoder forFormatCode(int formatCode);
// What the format's samples are: "IEEE float", "24-bit integer", ...; "not decoded" for None.
const char* name(Decoder decoder);
// Bytes one sample takes in the file: 2.5 for 8015, 0 for None.
float bytesPerSample(Decoder decoder);
// Bytes that count samples take in the file (8015 stores whole groups of four).
qint64 byteCount(Decoder decoder, qint64 count);
// count samples from the file bytes (at least byteCount of them) to out. None writes nothing.
void decode(Decoder decoder, const uchar* bytes, qint64 count, double* out);

} // namespace SegdSampleDecoder
