#pragma once

#include <QByteArray>
#include <QtGlobal>

class SegyData;

// Trace header extension 1 of SEG-Y revision 2: the first additional 240-byte trace header, right
// after the standard one, named "SEG00001" in its last 8 bytes. Its words
// (SegyFormat::extensionOneHeaderWords) are addressed as any word: by start byte from the start of
// the trace record.
namespace SegyTraceExtension {

// The trace record's header bytes up to the end of extension 1.
constexpr int extensionOneEnd = 480;
// The first byte of the extension's name.
constexpr int nameStartByte = 473;
constexpr int nameLength = 8;

// The bytes of a trace record's header as the reader hands them over: the format's trace header
// and the additional trace headers the binary header states, within the trace.
qint64 headerLength(const SegyData& data);

// True when a trace record's header of `length` bytes holds extension 1: it reaches byte 480, and
// bytes 473-480 say "SEG00001" in ASCII or in EBCDIC.
bool holdsExtensionOne(const char* header, qint64 length);
inline bool holdsExtensionOne(const QByteArray& header)
{
    return holdsExtensionOne(header.constData(), header.size());
}

} // namespace SegyTraceExtension
