#include "tests/support/TapeImageFiles.h"

#include "devices/TapeImage.h"

namespace obrtest {

QString writeTapeImage(const QString& path, const TapeBlocks& blocks, qint64 capacity)
{
    QString errorText;
    if (!TapeImage::create(path, TapeImageSettings::formatBySuffix(path), capacity, &errorText))
        qFatal("%s", qPrintable(errorText));
    auto image = TapeImage::open(path, &errorText);
    int written = 0;
    for (const QByteArray& block : blocks) {
        if ((block.isEmpty() ? image->writeFileMarks(1, &written)
                             : image->writeRecord(block.constData(), block.size())) != TapeImage::Result::Ok)
            qFatal("could not write tape image %s", qPrintable(path));
    }
    static_cast<void>(image->rewind());
    return path;
}

QString writeTapeLayout(const QString& path, const QList<int>& lengths, qint64 capacity)
{
    TapeBlocks blocks;
    for (const int length : lengths)
        blocks.append(QByteArray(std::max(length, 0), 'm'));
    return writeTapeImage(path, blocks, capacity);
}

TapeBlocks readTapeImage(const QString& path)
{
    TapeBlocks blocks;
    auto image = TapeImage::open(path, nullptr);
    if (!image || image->rewind() != TapeImage::Result::Ok)
        return blocks;
    QByteArray buffer(1 << 20, '\0');
    int length = 0;
    for (;;) {
        const TapeImage::Result result = image->readRecord(buffer.data(), buffer.size(), &length);
        if (result != TapeImage::Result::Ok && result != TapeImage::Result::FileMark)
            break;
        blocks.append(result == TapeImage::Result::Ok ? buffer.left(length) : QByteArray());
    }
    // Left where a job expects to find a tape it is given.
    static_cast<void>(image->rewind());
    return blocks;
}

QList<int> blockLengths(const TapeBlocks& blocks)
{
    QList<int> lengths;
    for (const QByteArray& block : blocks)
        lengths.append(block.isEmpty() ? -1 : block.size());
    return lengths;
}

} // namespace obrtest
