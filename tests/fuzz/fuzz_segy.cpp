#include "devices/MemoryDevice.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/TraceGather.h"
#include "tests/fuzz/FuzzInput.h"

// A SEG-Y file read as the analyzer reads it: headers (byte order from the data), the trace
// index built from its trace headers, then the records it groups through the index, whose
// reading adds the words the index does not hold: each trace header is interpreted once.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SilentConsole console;
    // The standard layout is built once; the reader records the byte order it finds in a copy.
    static const SegyFormat standard(false);
    SegyFormat format = standard;
    const QString name = QStringLiteral("input.sgy");
    SegyData segy(new MemoryDevice(&console, name, FuzzInput::bytes(data, size)), 0, &format);
    if (!segy.ok() || !segy.buildIndex())
        return 0;
    const auto gather = segy.makeGather(false);
    int read = 0;
    for (int record = 1; gather && record <= segy.recordCount() && read < FuzzInput::tracesRead &&
                         segy.readRecordNumber(*gather, record);
         ++record)
        read += gather->count();
    return 0;
}
