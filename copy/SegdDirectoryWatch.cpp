#include "copy/SegdDirectoryWatch.h"

#include "seismic/SegdByteSource.h"
#include "seismic/SegdFieldMap.h"
#include "seismic/SegdFolder.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

// A file as it stands on disk, read by the field map.
class FileSource : public SegdByteSource {
public:
    explicit FileSource(QFile& file) : file(file), bytes(file.size()) {}
    qint64 size() const override { return bytes; }
    qint64 read(qint64 offset, uchar* buffer, qint64 length) override
    {
        if (!file.seek(offset))
            return 0;
        return std::max<qint64>(file.read(reinterpret_cast<char*>(buffer), length), 0);
    }

private:
    QFile& file;
    qint64 bytes;
};

} // namespace

SegdDirectoryWatch::SegdDirectoryWatch(const QString& directory, int pollMilliseconds)
    : directory(directory), pollMilliseconds(pollMilliseconds)
{}

SegdDirectoryWatch::Found SegdDirectoryWatch::poll()
{
    Found found;
    for (const QString& path : SegdFolder::list(directory).paths()) {
        if (handedOut.contains(path))
            continue;
        const qint64 size = QFileInfo(path).size();
        Seen& file = seen[path];
        if (file.size != size || !file.still.isValid()) {
            file.size = size;
            file.announced = announcedSize(path);
            file.still.start();
        }
        if (file.announced >= 0 && size >= file.announced) {
            (size == file.announced ? found.ready : found.oversized).append(path);
            handedOut.insert(path);
            seen.remove(path);
            continue;
        }
        if (!file.reported && file.still.elapsed() >= qint64(stillPolls) * pollMilliseconds) {
            file.reported = true;
            found.incomplete.append(path);
        }
    }
    return found;
}

qint64 SegdDirectoryWatch::announcedSize(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    FileSource source(file);
    SegdFieldMap map;
    if (!map.read(source))
        return -1;
    // A file whose last channel set has no trace yet cannot tell its traces' length.
    if (!map.runs().empty() && map.wholeTraces() <= map.runs().back().firstTrace)
        return -1;
    return map.announcedSize();
}
