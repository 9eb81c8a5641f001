#include "seismic/EbcdicTable.h"

#include <array>
#include <cstddef>

namespace EbcdicTable {

namespace {

constexpr char table[257] = "................"  // 0x00
                            "................"  // 0x10
                            "................"  // 0x20
                            "................"  // 0x30
                            " .........#.<(+."  // 0x40
                            "&.........!$*);^"  // 0x50
                            "-/........|,%_>?"  // 0x60
                            ".........`:.@'=\"" // 0x70
                            ".abcdefghi.{...."  // 0x80
                            ".jklmnopqr.}...."  // 0x90
                            "..stuvwxyz...[.."  // 0xA0
                            ".............].."  // 0xB0
                            ".ABCDEFGHI......"  // 0xC0
                            ".JKLMNOPQR......"  // 0xD0
                            "\\.STUVWXYZ......" // 0xE0
                            "0123456789......"; // 0xF0

constexpr unsigned char ebcdicBlank = 0x40;
constexpr unsigned char ebcdicPeriod = 0x4B;

constexpr std::array<unsigned char, 128> inverse()
{
    std::array<unsigned char, 128> codes{};
    for (unsigned char& code : codes)
        code = ebcdicBlank;
    // The highest code wins, so "." maps to its one real code below.
    for (int code = 0; code < 256; ++code)
        codes[std::size_t(table[code])] = (unsigned char)code;
    codes[std::size_t('.')] = ebcdicPeriod;
    codes[std::size_t(' ')] = ebcdicBlank;
    return codes;
}

constexpr std::array<unsigned char, 128> asciiToEbcdic = inverse();

} // namespace

char toAscii(unsigned char ebcdic)
{
    return table[ebcdic];
}

unsigned char fromAscii(char ascii)
{
    const auto code = (unsigned char)ascii;
    return code < 128 ? asciiToEbcdic[code] : ebcdicBlank;
}

} // namespace EbcdicTable
