#include "devices/TapeImageScsiTarget.h"
#include "devices/TapeImageSettings.h"
#include "tests/fuzz/FuzzInput.h"

#include <QFile>
#include <algorithm>
#include <vector>

namespace {

// A SIMH image of two records, a tape mark and a third record.
QByteArray image()
{
    const QByteArray record = QByteArray::fromHex("06000000") + "record" + QByteArray::fromHex("06000000");
    return record + record + QByteArray(4, '\0') + record;
}

} // namespace

// Commands sent to the target over a small tape image. Each command in the input: the operation
// code (the command block is 6 bytes below 0x20, else 10), the rest of the block, a direction byte
// and a 16-bit buffer length; data sent out is taken from the input after it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QByteArray tape = image();
    const QString path =
        FuzzInput::write(QStringLiteral("target.img"), tape.constData(), size_t(tape.size()));
    QFile::remove(TapeImageSettings::settingsPath(path));
    {
        TapeImageScsiTarget target(path);
        size_t at = 0;
        while (at < size) {
            const int blockLength = data[at] < 0x20 ? 6 : 10;
            if (at + size_t(blockLength) + 3 > size)
                break;
            ScsiRequest request;
            request.cdb = QByteArray(reinterpret_cast<const char*>(data + at), blockLength);
            // Millions of tape marks take their time here as on a drive: a job writes a few.
            if (data[at] == ScsiOperation::WriteFileMarks)
                request.cdb[2] = request.cdb[3] = 0;
            at += size_t(blockLength);
            request.direction = ScsiRequest::Direction(data[at] % 3);
            request.length = data[at + 1] | (data[at + 2] << 8);
            at += 3;
            std::vector<char> buffer(size_t(request.length));
            if (request.direction == ScsiRequest::Direction::Out) {
                const size_t taken = std::min(buffer.size(), size - at);
                std::copy(data + at, data + at + taken, buffer.begin());
                at += taken;
            }
            request.data = buffer.empty() ? nullptr : buffer.data();
            static_cast<void>(target.execute(request));
        }
    }
    QFile::remove(TapeImageSettings::settingsPath(path));
    return 0;
}
