#include "devices/TapeMap.h"

#include "devices/TapeDevice.h"

namespace {
QString blocks(qint64 count)
{
    return count == 1 ? QStringLiteral("1 block") : QStringLiteral("%1 blocks").arg(count);
}
} // namespace

bool TapeMap::walk(TapeDevice* tape)
{
    files.clear();
    if (!tape->rewind())
        return false;
    File file;
    for (;;) {
        if (!tape->readBlock()) {
            if (file.blocks > 0)
                files.append(file);
            return false;
        }
        if (tape->atEndOfData()) {
            // Data after the last mark makes a file that no mark closes.
            if (file.blocks > 0)
                files.append(file);
            return true;
        }
        if (tape->atFileMark()) {
            file.endsWithMark = true;
            files.append(file);
            file = File();
            continue;
        }
        const int size = tape->bytesRead();
        if (file.runs.isEmpty() || file.runs.last().blockSize != size)
            file.runs.append({size, 0});
        ++file.runs.last().blocks;
        ++file.blocks;
        file.bytes += size;
    }
}

QStringList TapeMap::lines() const
{
    QStringList result;
    qint64 total = 0;
    for (int i = 0; i < files.size(); ++i) {
        const File& file = files.at(i);
        const int number = i + 1;
        for (const Run& run : file.runs)
            result << QStringLiteral("file %1: block size %2: %3")
                          .arg(number)
                          .arg(run.blockSize)
                          .arg(blocks(run.blocks));
        result << QStringLiteral("file %1: %2 after %3: %4 bytes")
                      .arg(number)
                      .arg(file.endsWithMark ? QStringLiteral("file mark") : QStringLiteral("end of data"),
                           blocks(file.blocks))
                      .arg(file.bytes);
        total += file.bytes;
    }
    result << QStringLiteral("end of data: %1 file%2, %3 bytes")
                  .arg(files.size())
                  .arg(files.size() == 1 ? QString() : QStringLiteral("s"))
                  .arg(total);
    return result;
}
