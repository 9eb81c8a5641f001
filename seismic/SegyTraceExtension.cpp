#include "seismic/SegyTraceExtension.h"

#include "seismic/SegyData.h"

#include <algorithm>
#include <cstring>

namespace SegyTraceExtension {

namespace {

// Header names may be written in either text encoding of the file's textual headers.
constexpr char asciiName[nameLength + 1] = "SEG00001";
constexpr char ebcdicName[nameLength + 1] = "\xE2\xC5\xC7\xF0\xF0\xF0\xF0\xF1";

} // namespace

qint64 headerLength(const SegyData& data)
{
    return std::max(0, std::min(data.traceHeaderLength(), data.traceLength()));
}

bool holdsExtensionOne(const char* header, qint64 length)
{
    if (!header || length < extensionOneEnd)
        return false;
    const char* name = header + nameStartByte - 1;
    return std::memcmp(name, asciiName, nameLength) == 0 || std::memcmp(name, ebcdicName, nameLength) == 0;
}

} // namespace SegyTraceExtension
