#include "devices/MemoryDevice.h"
#include "seismic/SegdByteSource.h"
#include "seismic/SegdData.h"
#include "seismic/SegdFieldMap.h"
#include "seismic/SegdReader.h"
#include "seismic/SegdRecordSummary.h"
#include "seismic/TraceGather.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

// The bytes as a tape file read so far: its size not known.
class UnknownSizeSource : public SegdMemorySource {
public:
    using SegdMemorySource::SegdMemorySource;
    qint64 size() const override { return -1; }
};

// The trace records the map places lie after the header, one after the other: checked at the
// first and last trace of each run, since a stream of unknown length may announce millions.
void walk(const SegdFieldMap& map)
{
    qint64 next = map.headerLength();
    for (const SegdFieldMap::Run& run : map.runs()) {
        const int last = run.firstTrace + run.channels - 1;
        if (map.traceOffset(run.firstTrace) != next ||
            map.traceOffset(last) != next + qint64(run.channels - 1) * run.shape.recordBytes() ||
            &map.runOf(last) != &run)
            __builtin_trap();
        next = run.end();
    }
}

} // namespace

// A SEG-D field file read as the analyzer and the scan read it (only the first traces of a long
// one), and its field map from a stream of unknown length, as the copy reads a tape.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SilentConsole console;
    const auto reader = SegdReader::open(
        std::make_unique<MemoryDevice>(&console, QStringLiteral("input.segd"), FuzzInput::bytes(data, size)));
    if (reader->ok()) {
        walk(reader->fieldMap());
        if (reader->traceCount() <= FuzzInput::tracesRead) {
            const auto gather = reader->makeGather(false);
            if (gather)
                static_cast<void>(reader->readRecord(*gather));
            SegdRecordSummary summary;
            static_cast<void>(SegdRecordSummary::scan(*reader, summary));
        } else {
            TraceGather gather(reader.get());
            static_cast<void>(reader->readTraceRange(gather, 1, FuzzInput::tracesRead));
        }
    }
    UnknownSizeSource stream(data, qint64(size));
    SegdFieldMap map;
    if (map.read(stream))
        walk(map);
    return 0;
}
