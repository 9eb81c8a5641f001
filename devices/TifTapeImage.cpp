#include "devices/TifTapeImage.h"

#include <QtEndian>

TifTapeImage::TifTapeImage(const QString& path, const TapeImageSettings& settings) : TapeImage(path, settings)
{}

bool TifTapeImage::headerAt(qint64 offset, Header* header)
{
    uchar bytes[headerSize];
    if (!readAt(offset, reinterpret_cast<char*>(bytes), headerSize))
        return false;
    header->type = qFromLittleEndian<quint32>(bytes);
    header->previous = qFromLittleEndian<quint32>(bytes + 4);
    header->next = qFromLittleEndian<quint32>(bytes + 8);
    return true;
}

TapeImage::Element TifTapeImage::element(qint64 start, const Header& header)
{
    Element found;
    found.start = start;
    found.end = header.next;
    found.dataOffset = start + headerSize;
    found.length = static_cast<qint64>(header.next) - start - headerSize;
    const bool inFile = header.next <= imageSize() && header.previous <= start;
    if (!inFile || (header.type != recordType && header.type != markType))
        return found;
    // A mark holds no data: one that claims an extent would swallow the records inside it.
    if (header.type == markType && found.length == 0)
        found.kind = Kind::Mark;
    else if (header.type == recordType && found.length > 0)
        found.kind = Kind::Record;
    if (found.kind != Kind::Damaged)
        remember(found);
    return found;
}

void TifTapeImage::remember(const Element& found)
{
    knownStart = found.start;
    knownEnd = found.end;
    knownKind = found.kind;
}

qint64 TifTapeImage::headerEndingAt(qint64 position)
{
    if (knownEnd == position)
        return knownStart;
    Header header;
    if (position < imageSize())
        return headerAt(position, &header) ? header.previous : -1;
    // At the end of the file with nothing remembered: find the last header from the start.
    qint64 offset = 0;
    while (offset < position && headerAt(offset, &header)) {
        if (header.next == position)
            return offset;
        if (header.next <= offset)
            break;
        offset = header.next;
    }
    return -1;
}

TapeImage::Element TifTapeImage::elementBefore(qint64 position)
{
    Element found;
    found.start = position;
    found.end = position;
    if (position <= 0) {
        found.kind = Kind::End;
        return found;
    }
    // An element cut off the file since it was met is not taken for one.
    if (knownEnd == position && position <= imageSize()) {
        found.kind = knownKind;
        found.start = knownStart;
        found.dataOffset = knownStart + headerSize;
        found.length = knownEnd - knownStart - headerSize;
        return found;
    }
    const qint64 start = headerEndingAt(position);
    Header header;
    if (start < 0 || start >= position || !headerAt(start, &header) || header.next != position)
        return found;
    return element(start, header);
}

TapeImage::Element TifTapeImage::elementAt(qint64 position)
{
    Element found;
    found.start = position;
    found.end = position;
    const Element last = elementBefore(position);
    const bool afterTwoMarks = last.kind == Kind::Mark && elementBefore(last.start).kind == Kind::Mark;
    if (last.kind == Kind::Record || last.kind == Kind::Mark)
        remember(last);
    if (position >= imageSize() || afterTwoMarks) {
        found.kind = Kind::End;
        return found;
    }
    Header header;
    if (!headerAt(position, &header))
        return found;
    return element(position, header);
}

TapeImage::Frame TifTapeImage::frame(qint64 position, qint64 length, bool mark)
{
    // While a job streams the element before is the one just framed, perhaps not yet in the file.
    const Element last = elementBefore(position);
    const qint64 previous = last.kind == Kind::Record || last.kind == Kind::Mark ? last.start : 0;
    const qint64 next = position + headerSize + length;
    Frame framed;
    framed.headLength = headerSize;
    qToLittleEndian<quint32>(mark ? markType : recordType, framed.head);
    qToLittleEndian<quint32>(static_cast<quint32>(previous), framed.head + 4);
    qToLittleEndian<quint32>(static_cast<quint32>(next), framed.head + 8);
    knownStart = position;
    knownEnd = next;
    knownKind = mark ? Kind::Mark : Kind::Record;
    return framed;
}
