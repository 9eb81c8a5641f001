#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyIndexFiles.h"
#include "seismic/TraceGather.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

void readRecords(SegyData& segy)
{
    const auto gather = segy.makeGather(false);
    for (int record = 1; gather && record <= segy.recordCount() && segy.readRecordNumber(*gather, record);
         ++record) {
    }
}

} // namespace

// The same bytes as the index backup and as the index file of a small SEG-Y file; an index taken
// is then used to read the records it groups.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SilentConsole console;
    SegyFormat format(false);
    SegyData backup(&console, FuzzInput::smallSegy(), 0, &format);
    SegyData index(&console, FuzzInput::smallSegy(), 0, &format);
    if (!backup.ok() || !index.ok())
        qFatal("cannot open the SEG-Y file beside the index");
    if (SegyIndexFiles::loadBackup(backup, FuzzInput::write(QStringLiteral("data.sgy.indxbak"), data, size)))
        readRecords(backup);
    if (SegyIndexFiles::readIndex(index, FuzzInput::write(QStringLiteral("data.sgy.indx"), data, size)))
        readRecords(index);
    return 0;
}
