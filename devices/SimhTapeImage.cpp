#include "devices/SimhTapeImage.h"

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
        if (offset >= file.size()) {
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

bool SimhTapeImage::put(qint64 position, const char* data, int length)
{
    if (!truncateAt(position))
        return false;
    if (!data)
        return writeAt(position, word(tapeMark).constData(), 4) && file.flush();
    const QByteArray frame = word(static_cast<quint32>(length));
    QByteArray tail;
    if (length & 1)
        tail.append('\0');
    tail.append(frame);
    return writeAt(position, frame.constData(), 4) && writeAt(position + 4, data, length) &&
           writeAt(position + 4 + length, tail.constData(), tail.size()) && file.flush();
}
