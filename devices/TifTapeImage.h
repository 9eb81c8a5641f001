#pragma once

#include "devices/TapeImage.h"

// The Tape-In-File layout that seismic recorders write: each element starts with
// a 12-byte header of three 32-bit little-endian values (type: 0 record, 1 tape
// mark; offset of the previous header; offset of the next header), a record's
// data follows its header. Two tape marks in a row end the data.
class TifTapeImage : public TapeImage {
public:
    TifTapeImage(const QString& path, const TapeImageSettings& settings);

    static constexpr qint64 headerSize = 12;
    static constexpr quint32 recordType = 0;
    static constexpr quint32 markType = 1;

protected:
    Element elementAt(qint64 position) override;
    Element elementBefore(qint64 position) override;
    qint64 recordSpace(qint64 length) const override { return headerSize + length; }
    qint64 markSpace() const override { return headerSize; }
    qint64 maximumRecordLength() const override { return 0xFFFFFFFFu - headerSize; }
    Frame frame(qint64 position, qint64 length, bool mark) override;

private:
    struct Header {
        quint32 type = 0;
        quint32 previous = 0;
        quint32 next = 0;
    };
    [[nodiscard]] bool headerAt(qint64 offset, Header* header);
    // The element whose header is at `start`, checked against the file.
    Element element(qint64 start, const Header& header);
    // Where the header of the element that ends at `position` lies; -1 when unknown.
    qint64 headerEndingAt(qint64 position);
    void remember(const Element& found);

    // The last element met or framed: most moves continue from it, and the element before the
    // position is told without reading its header again (at a window's start it lies behind it).
    qint64 knownStart = -1;
    qint64 knownEnd = -1;
    Kind knownKind = Kind::Damaged;
};
