#include "analyzers/SegdHexDump.h"

#include "devices/ObrDevice.h"

#include <limits>
#include <new>

namespace SegdHexDump {

namespace {

constexpr int bytesPerLine = 32;
constexpr int bytesPerGroup = 4;
// Reads go in pieces the device interface can take.
constexpr qint64 readPiece = 1 << 24;

} // namespace

int offsetWidth(qint64 count)
{
    int width = 3;
    for (qint64 limit = 100; count >= limit && width < 8; limit *= 10)
        ++width;
    return width;
}

QString text(const QByteArray& bytes, qint64 start)
{
    const qint64 count = bytes.size();
    const int width = offsetWidth(count);
    // Bytes count from 1, as the standard numbers them; the rows give offsets from 0, and the
    // heading says both, so that neither is read on the other's base.
    QString out = QStringLiteral("Bytes %1 - %2 (offsets %3 - %4)\n")
                      .arg(start)
                      .arg(start - 1 + count)
                      .arg(start - 1)
                      .arg(start - 2 + count);
    out.reserve(out.size() +
                int(count * 2 + count / bytesPerGroup + (count / bytesPerLine + 1) * (width + 4)));
    static const char digits[] = "0123456789abcdef";
    for (qint64 k = 0; k < count; ++k) {
        if (k % bytesPerLine == 0)
            out += QStringLiteral("\n%1   ").arg(start - 1 + k, width);
        const auto byte = uchar(bytes[int(k)]);
        out += QLatin1Char(digits[byte >> 4]);
        out += QLatin1Char(digits[byte & 0xF]);
        if ((k + 1) % bytesPerGroup == 0)
            out += QLatin1Char(' ');
    }
    out += QLatin1Char('\n');
    return out;
}

ReadResult read(ObrDevice& device, qint64 start, qint64 count, QByteArray& bytes)
{
    bytes.clear();
    if (start < 1 || count < 1)
        return ReadResult::Failed;
    const qint64 size = device.size();
    if (size >= 0 && (start - 1 >= size || count > size - (start - 1)))
        return ReadResult::Failed;
    // A QByteArray holds less than 2 GiB.
    if (count > std::numeric_limits<int>::max() - 64)
        return ReadResult::OutOfMemory;
    try {
        bytes.resize(int(count));
    } catch (const std::bad_alloc&) {
        bytes.clear();
        return ReadResult::OutOfMemory;
    }
    if (bytes.size() != count) {
        bytes.clear();
        return ReadResult::OutOfMemory;
    }
    if (!device.seek(start - 1)) {
        bytes.clear();
        return ReadResult::Failed;
    }
    for (qint64 done = 0; done < count; done += readPiece) {
        const int length = int(qMin(readPiece, count - done));
        // A disk file may hand back fewer bytes than asked for.
        if (!device.read(bytes.data() + done, length) || device.pos() != start - 1 + done + length) {
            bytes.clear();
            return ReadResult::Failed;
        }
    }
    return ReadResult::Read;
}

} // namespace SegdHexDump
