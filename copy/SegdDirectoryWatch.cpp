#include "copy/SegdDirectoryWatch.h"

#include "copy/SegdCopyJob.h"
#include "seismic/SegdBytes.h"
#include "seismic/SegdFieldLayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <vector>

SegdDirectoryWatch::SegdDirectoryWatch(const QString& directory) : directory(directory) {}

void SegdDirectoryWatch::poll(QStringList* ready, QStringList* oversized)
{
    for (const QString& path : SegdCopyJob::fieldFiles(directory)) {
        if (handedOut.contains(path))
            continue;
        const qint64 size = QFileInfo(path).size();
        const auto last = seen.constFind(path);
        const qint64 announced =
            last != seen.constEnd() && last->first == size ? last->second : announcedSize(path);
        seen.insert(path, {size, announced});
        if (announced < 0 || size < announced)
            continue;
        handedOut.insert(path);
        seen.remove(path);
        (size == announced ? ready : oversized)->append(path);
    }
}

qint64 SegdDirectoryWatch::announcedSize(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const qint64 size = file.size();
    const QByteArray leading = file.read(SegdGeneralHeader::leadingBytes);
    SegdFieldLayout layout;
    QString errorText;
    if (!layout.readGeneralHeader(SegdBytes(leading.constData(), leading.size()), &errorText) ||
        layout.headerLength() > size || !file.seek(0))
        return -1;
    const QByteArray header = file.read(layout.headerLength());
    if (header.size() != layout.headerLength())
        return -1;
    layout.readChannelSets(SegdBytes(header.constData(), header.size()));
    qint64 position = layout.headerLength();
    for (const SegdChannelSet& set : layout.channelSets()) {
        for (int channel = 0; channel < set.channels; ++channel) {
            char first[SegdFieldLayout::statedSamplesBytes] = {};
            const qint64 got = file.seek(position) ? file.read(first, sizeof first) : -1;
            if (got < SegdFieldLayout::traceHeaderBytes)
                return -1;
            const SegdBytes traceHeader(first, got);
            const qint64 length = layout.traceRecordLength(traceHeader, set);
            if (length < 0 || (layout.traceHeaderLength(traceHeader) > got && got < qint64(sizeof first)))
                return -1;
            position += length;
        }
    }
    return position;
}
