#include "base/ObrConsole.h"
#include "copy/SegdTapeLabel.h"
#include "copy/TapeScanJob.h"
#include "seismic/SegdByteSource.h"
#include "seismic/SegdFieldMap.h"

#include <algorithm>

// The SEG-D side of the tape scan: the field files of a tape file, one after the other, each
// placed by the field map on the bytes read so far.

namespace {

// How far the field map may read ahead into a tape file to tell where the traces lie.
constexpr qint64 lookAhead = qint64(64) << 20;

// A field file from `base` on in the tape file, as the field map reads it.
class FieldFileSource : public SegdByteSource {
public:
    FieldFileSource(TapeFileBlocks& blocks, qint64 base) : blocks(blocks), base(base) {}

    qint64 size() const override { return blocks.ended() ? blocks.readEnd() - base : -1; }

    qint64 read(qint64 offset, uchar* buffer, qint64 length) override
    {
        if (offset < 0 || length <= 0)
            return 0;
        static_cast<void>(blocks.readUpTo(base + qMin(offset + length, lookAhead)));
        return blocks.copy(base + offset, buffer, length);
    }

private:
    TapeFileBlocks& blocks;
    qint64 base;
};

// Whether a general header starts at offset.
bool headerFollows(TapeFileBlocks& blocks, qint64 offset)
{
    uchar first[SegdGeneralHeader::blockBytes];
    return blocks.readUpTo(offset + SegdGeneralHeader::blockBytes) &&
           blocks.copy(offset, first, sizeof first) == qint64(sizeof first) &&
           SegdGeneralHeader::looksValid(SegdBytes(first, sizeof first));
}

// Traces whose records lie wholly in the first `held` bytes.
int wholeTraces(const SegdFieldMap& map, qint64 held)
{
    int whole = 0;
    for (const SegdFieldMap::Run& run : map.runs())
        whole += int(qBound<qint64>(0, (held - run.offset) / run.shape.recordBytes(), run.channels));
    return whole;
}

void describe(const SegdFieldMap& map, TapeScanEntry& entry)
{
    if (!map.hasGeneralHeader())
        return;
    const SegdGeneralHeader& general = map.general();
    entry.identified = true;
    entry.fieldFile = general.fieldFile;
    entry.revision = general.revisionText();
    entry.manufacturer = general.manufacturer;
    entry.formatCode = general.formatCode;
    entry.intervalMs = general.sampleInterval;
    entry.traces = map.traceCount();
    for (const SegdFieldMap::Run& run : map.runs())
        entry.samples = std::max(entry.samples, run.shape.samples);
}

} // namespace

void TapeScanJob::scanSegdFile()
{
    if (!blocks.readUpTo(1) && !blocks.driveFailed())
        return;
    // A label block in front of the first field file is passed over.
    qint64 offset = 0;
    char label[SegdTapeLabel::labelBytes];
    if (blocks.firstBlockLength() == SegdTapeLabel::labelBytes &&
        blocks.copy(0, label, sizeof label) == qint64(sizeof label) &&
        SegdTapeLabel::isLabelBlock(label, SegdTapeLabel::labelBytes))
        offset = SegdTapeLabel::labelBytes;
    if (!headerFollows(blocks, offset) && !blocks.driveFailed()) {
        TapeScanEntry entry;
        entry.problem = QStringLiteral("the tape file does not begin with a SEG-D general header");
        blocks.passRest();
        entry.bytes = blocks.readEnd();
        add(entry);
        return;
    }
    for (;;) {
        TapeScanEntry entry;
        SegdFieldMap map;
        FieldFileSource source(blocks, offset);
        const bool mapped = map.read(source);
        describe(map, entry);
        if (!mapped) {
            entry.problem = map.problem();
            blocks.passRest();
            entry.bytes = blocks.readEnd() - offset;
            add(entry);
            return;
        }
        const qint64 announced = map.announcedSize();
        if (!blocks.passTo(offset + announced)) {
            const qint64 held = blocks.readEnd() - offset;
            entry.bytes = held;
            if (!blocks.stopped() && !blocks.driveFailed())
                entry.problem = QStringLiteral("the tape file ends after %1 of the %2 bytes its headers "
                                               "announce (%3 of %4 traces whole)")
                                    .arg(held)
                                    .arg(announced)
                                    .arg(wholeTraces(map, held))
                                    .arg(map.traceCount());
            add(entry);
            return;
        }
        const qint64 next = offset + announced;
        if (headerFollows(blocks, next)) {
            // Field files one after the other in one tape file.
            entry.bytes = announced;
            add(entry);
            offset = next;
            continue;
        }
        blocks.passRest();
        entry.bytes = blocks.readEnd() - offset;
        if (entry.bytes > announced && !blocks.driveFailed())
            console->warning(QStringLiteral("tape file %1: %2 bytes after the last trace of field file %3")
                                 .arg(tapeFile)
                                 .arg(entry.bytes - announced)
                                 .arg(entry.fieldFile),
                             false);
        add(entry);
        return;
    }
}
