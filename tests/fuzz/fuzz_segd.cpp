#include "devices/DiskDevice.h"
#include "seismic/SegdByteSource.h"
#include "seismic/SegdData.h"
#include "seismic/SegdFieldMap.h"
#include "seismic/SegdRecordSummary.h"
#include "seismic/SercelData.h"
#include "seismic/TraceGather.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

// The bytes as a tape file read so far: its size not known.
class UnknownSizeSource : public SegdMemorySource {
public:
    using SegdMemorySource::SegdMemorySource;
    qint64 size() const override { return -1; }
};

// Every trace record the map places lies after the header, one after the other.
void walk(const SegdFieldMap& map)
{
    qint64 next = map.headerLength();
    for (int trace = 0; trace < map.traceCount(); ++trace) {
        if (map.traceOffset(trace) != next)
            __builtin_trap();
        next += map.runOf(trace).shape.recordBytes();
    }
}

} // namespace

// A SEG-D field file read whole by the standard's reader and by the Sercel reader: general
// headers, channel sets, trace headers and samples through the decoder the format code names;
// and its field map from a file and from a stream of unknown length, as the copy reads a tape.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SilentConsole console;
    const QString path = FuzzInput::write(QStringLiteral("input.segd"), data, size);
    SegdData standard(new DiskDevice(&console, path, 0), false, false, false);
    if (standard.open(path)) {
        const auto gather = standard.makeGather(false);
        if (gather)
            static_cast<void>(standard.readRecord(*gather));
    }
    SercelData sercel(&console, path, false, false, false);
    SegdRecordSummary summary;
    if (sercel.ok())
        static_cast<void>(SegdRecordSummary::scan(sercel, summary));
    SegdMemorySource file(data, qint64(size));
    UnknownSizeSource stream(data, qint64(size));
    for (SegdByteSource* source :
         {static_cast<SegdByteSource*>(&file), static_cast<SegdByteSource*>(&stream)}) {
        SegdFieldMap map;
        if (map.read(*source))
            walk(map);
    }
    return 0;
}
