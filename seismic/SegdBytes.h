#pragma once

#include <QtGlobal>
#include <cstring>

// A read-only view of SEG-D header bytes with the field readers of the standard: packed BCD
// digits and big-endian binary words. Positions are 1-based, as in the standard's tables. A
// field not wholly inside the view reads as 0, so a short or damaged header never reads
// beyond its buffer.
class SegdBytes {
public:
    SegdBytes() = default;
    SegdBytes(const void* data, qint64 size) : data_(static_cast<const uchar*>(data)), size_(data ? size : 0)
    {}

    qint64 size() const { return size_; }
    const uchar* data() const { return data_; }
    bool contains(int byte, int length) const
    {
        return byte >= 1 && length >= 0 && byte - 1 + length <= size_;
    }

    // length bytes from byte on, or an empty view when they are not all inside this one.
    SegdBytes part(qint64 byte, qint64 length) const
    {
        if (byte < 1 || length < 0 || byte - 1 + length > size_)
            return SegdBytes();
        return SegdBytes(data_ + byte - 1, length);
    }

    // digits decimal digits from the high nibble of byte on (from its low nibble when
    // lowNibble is set), high nibble before low; nibbles above 9 are taken as they are.
    int bcd(int byte, int digits, bool lowNibble = false) const
    {
        const int firstNibble = 2 * (byte - 1) + (lowNibble ? 1 : 0);
        if (byte < 1 || digits < 0 || (firstNibble + digits + 1) / 2 > size_)
            return 0;
        int value = 0;
        for (int n = firstNibble; n < firstNibble + digits; ++n) {
            const uchar pair = data_[n / 2];
            value = value * 10 + ((n % 2) == 0 ? pair >> 4 : pair & 0x0F);
        }
        return value;
    }

    quint32 uint8(int byte) const { return quint32(unsignedWord(byte, 1)); }
    quint32 uint16(int byte) const { return quint32(unsignedWord(byte, 2)); }
    quint32 uint24(int byte) const { return quint32(unsignedWord(byte, 3)); }
    quint32 uint32(int byte) const { return quint32(unsignedWord(byte, 4)); }
    quint64 uint64(int byte) const { return unsignedWord(byte, 8); }
    qint32 int8(int byte) const { return signExtend(unsignedWord(byte, 1), 8); }
    qint32 int16(int byte) const { return signExtend(unsignedWord(byte, 2), 16); }
    qint32 int24(int byte) const { return signExtend(unsignedWord(byte, 3), 24); }
    qint32 int32(int byte) const { return qint32(quint32(unsignedWord(byte, 4))); }
    qint64 int64(int byte) const { return qint64(unsignedWord(byte, 8)); }

    float float32(int byte) const
    {
        const quint32 bits = uint32(byte);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    double float64(int byte) const
    {
        const quint64 bits = uint64(byte);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

private:
    quint64 unsignedWord(int byte, int length) const
    {
        if (!contains(byte, length))
            return 0;
        quint64 value = 0;
        for (int i = 0; i < length; ++i)
            value = (value << 8) | data_[byte - 1 + i];
        return value;
    }

    static qint32 signExtend(quint64 value, int bits)
    {
        const quint32 sign = quint32(1) << (bits - 1);
        return qint32((quint32(value) ^ sign) - sign);
    }

    const uchar* data_ = nullptr;
    qint64 size_ = 0;
};
