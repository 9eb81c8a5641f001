#pragma once

// The textual header's EBCDIC, as SEG-Y files carry it: code page 037 restricted to 7-bit ASCII,
// with the bracket and brace codes that field systems actually write. Codes without a
// printable ASCII character give ".".
namespace EbcdicTable {

char toAscii(unsigned char ebcdic);
// The EBCDIC code of a printable ASCII character; characters the table cannot give back
// become the EBCDIC blank.
unsigned char fromAscii(char ascii);

} // namespace EbcdicTable
