#pragma once

#include "devices/TapeImage.h"

// The SIMH magtape layout: each record is its 32-bit little-endian length, the
// data, a pad byte when the length is odd, and the length again; a tape mark is a
// 32-bit zero; 0xFFFFFFFF is the end of the medium; erase gaps are passed over.
class SimhTapeImage : public TapeImage {
public:
    SimhTapeImage(const QString& path, const TapeImageSettings& settings);

    static constexpr quint32 tapeMark = 0;
    static constexpr quint32 endOfMedium = 0xFFFFFFFFu;
    static constexpr quint32 eraseGap = 0xFFFEFFFFu;

protected:
    Element elementAt(qint64 position) override;
    Element elementBefore(qint64 position) override;
    qint64 recordSpace(qint64 length) const override;
    qint64 markSpace() const override { return 4; }
    qint64 maximumRecordLength() const override { return lengthMask; }
    Frame frame(qint64 position, qint64 length, bool mark) override;

private:
    // The record class sits in the top four bits of the length word.
    static constexpr quint32 lengthMask = 0x0FFFFFFFu;
    static constexpr quint32 goodClass = 0;
    static constexpr quint32 badClass = 8;
    static qint64 padded(qint64 length) { return length + (length & 1); }
    // Checks the record framed by `metadata` at `start`; Damaged when the two lengths disagree.
    Element record(qint64 start, quint32 metadata);
};
