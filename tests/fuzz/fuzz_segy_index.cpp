#include "devices/MemoryDevice.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyIndexFiles.h"
#include "seismic/TraceGather.h"
#include "tests/fuzz/FuzzInput.h"

#include <QBuffer>

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
    static const SegyFormat standard(false);
    SegyFormat format = standard;
    const QString name = QStringLiteral("data.sgy");
    SegyData backup(new MemoryDevice(&console, name, FuzzInput::smallSegyBytes()), 0, &format);
    SegyData index(new MemoryDevice(&console, name, FuzzInput::smallSegyBytes()), 0, &format);
    if (!backup.ok() || !index.ok())
        qFatal("cannot open the SEG-Y file beside the index");
    QByteArray bytes = FuzzInput::bytes(data, size);
    QBuffer input(&bytes);
    if (input.open(QIODevice::ReadOnly) && SegyIndexFiles::loadBackup(backup, input, name + ".indxbak"))
        readRecords(backup);
    input.close();
    if (input.open(QIODevice::ReadOnly) && SegyIndexFiles::readIndex(index, input, name + ".indx"))
        readRecords(index);
    return 0;
}
