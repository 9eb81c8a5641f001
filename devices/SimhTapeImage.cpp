#include "devices/SimhTapeImage.h"

#include <QtEndian>

SimhTapeImage::SimhTapeImage(const QString& path, const TapeImageSettings& settings)
    : TapeImage(path, settings)
{}

qint64 SimhTapeImage::recordSpace(qint64 length) const
{
    return 8 + padded(length);
}

TapeImage::Element SimhTapeImage::record(qint64 start, quint32 metadata)
{
    Element element;
    element.start = start;
    const quint32 recordClass = metadata >> 28;
    if (recordClass != goodClass && recordClass != badClass)
        return element;
    element.length = metadata & lengthMask;
    element.dataOffset = start + 4;
    element.end = element.dataOffset + padded(element.length) + 4;
    // The trailing length is read before the data: both come from one window.
    prefetch(start, element.end - start);
    bool valid = false;
    const quint32 trailing = wordAt(element.end - 4, &valid);
    if (element.length == 0 || !valid || trailing != metadata)
        return element;
    element.kind = recordClass == goodClass ? Kind::Record : Kind::BadRecord;
    return element;
}

TapeImage::Element SimhTapeImage::elementAt(qint64 position)
{
    qint64 offset = position;
    for (;;) {
        Element element;
        element.start = position;
        element.end = position;
        if (offset >= imageSize()) {
            element.kind = Kind::End;
            return element;
        }
        bool valid = false;
        const quint32 metadata = wordAt(offset, &valid);
        if (!valid)
            return element;
        if (metadata == eraseGap) {
            offset += 4;
            continue;
        }
        if (metadata == endOfMedium) {
            element.kind = Kind::End;
            return element;
        }
        if (metadata == tapeMark) {
            element.kind = Kind::Mark;
            element.end = offset + 4;
            return element;
        }
        element = record(offset, metadata);
        element.start = position;
        return element;
    }
}

TapeImage::Element SimhTapeImage::elementBefore(qint64 position)
{
    qint64 offset = position;
    for (;;) {
        Element element;
        element.start = position;
        element.end = position;
        if (offset <= 0) {
            element.kind = Kind::End;
            return element;
        }
        bool valid = false;
        const quint32 metadata = wordAt(offset - 4, &valid);
        if (!valid)
            return element;
        if (metadata == eraseGap) {
            offset -= 4;
            continue;
        }
        if (metadata == tapeMark) {
            element.kind = Kind::Mark;
            element.start = offset - 4;
            return element;
        }
        if (metadata == endOfMedium)
            return element;
        const qint64 start = offset - 8 - padded(metadata & lengthMask);
        if (start < 0)
            return element;
        bool leadingValid = false;
        if (wordAt(start, &leadingValid) != metadata || !leadingValid)
            return element;
        element = record(start, metadata);
        element.end = position;
        return element;
    }
}

TapeImage::Frame SimhTapeImage::frame(qint64, qint64 length, bool mark)
{
    Frame framed;
    framed.headLength = 4;
    qToLittleEndian<quint32>(mark ? tapeMark : quint32(length), framed.head);
    if (mark)
        return framed;
    framed.tail[0] = 0;
    framed.tailLength = int(length & 1) + 4;
    qToLittleEndian<quint32>(quint32(length), framed.tail + (length & 1));
    return framed;
}
