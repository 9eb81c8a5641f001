#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SeismicTrace.h"
#include "seismic/TraceGather.h"
#include "tests/fuzz/FuzzInput.h"

// A SEG-Y file read as `obrio segy scan` reads it (headers, byte order from the data, every
// trace), then through the trace index built from its trace headers.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SilentConsole console;
    SegyFormat format(false);
    SegyData segy(&console, FuzzInput::write(QStringLiteral("input.sgy"), data, size), 0, &format);
    if (!segy.ok())
        return 0;
    const auto trace = SeismicTrace::create(segy.samples(), segy.sampleInterval());
    if (!trace || !segy.seekSequentialTrace(1))
        return 0;
    for (int read = 0; read < segy.traceCount() && segy.readTrace(*trace); ++read) {
    }
    if (segy.buildIndex()) {
        const auto gather = segy.makeGather(false);
        for (int record = 1; gather && record <= segy.recordCount() && segy.readRecordNumber(*gather, record);
             ++record) {
        }
    }
    return 0;
}
