#pragma once

#include <QByteArray>

// A SEG-Y file whose trace headers hold trace header extension 1 (SEG-Y revision 2), written byte
// by byte from the standard's layout, and a format file that reads it.
namespace segytest {

// Two traces of two IEEE samples, big-endian, revision 1 in the binary header; each trace record
// is the standard trace header, extension 1 (record bytes 241-480) and the samples. Trace 1 and 2:
// 241 extended trace in line 1 and 2; 257 extended field file 21 and -1; 337 extended source X
// 687104.5 and -12.25; 345 extended source Y NaN and 2000; 377 extended samples 2.
QByteArray extensionOneFile();

// The standard layout with 480-byte trace headers: the reader hands over the extension too.
extern const char extensionOneFormat[];

} // namespace segytest
