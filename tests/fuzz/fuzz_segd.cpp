#include "devices/DiskDevice.h"
#include "seismic/SegdData.h"
#include "seismic/SegdRecordSummary.h"
#include "seismic/SercelData.h"
#include "seismic/TraceGather.h"
#include "tests/fuzz/FuzzInput.h"

// A SEG-D field file read whole by the standard's reader and by the Sercel reader: general
// headers, channel sets, trace headers and samples through the decoder the format code names.
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
    return 0;
}
