#include "tests/support/SegyExtensionFixture.h"

namespace segytest {

namespace {

void put(QByteArray& bytes, int startByte, const char* hex)
{
    const QByteArray word = QByteArray::fromHex(hex);
    bytes.replace(startByte - 1, word.size(), word);
}

} // namespace

const char extensionOneFormat[] = "<SegyFormat Version=\"2.0.1\" Name=\"extended\">"
                                  "<BinaryHeader Size=\"400\" EndianOrder=\"Big endian\"/>"
                                  "<TraceHeader Size=\"480\"/></SegyFormat>";

QByteArray extensionOneFile()
{
    QByteArray file(3200, '\x40');
    QByteArray binary(400, '\0');
    put(binary, 17, "03e8");  // sample interval 1000 us
    put(binary, 21, "0002");  // samples per trace
    put(binary, 25, "0005");  // IEEE float samples
    put(binary, 301, "0100"); // revision 1.0
    file += binary;
    for (int t = 0; t < 2; ++t) {
        QByteArray trace(480 + 8, '\0');
        put(trace, 1, t ? "00000002" : "00000001"); // trace sequence number
        put(trace, 9, "00000015");                  // field record 21
        put(trace, 115, "0002");                    // samples
        put(trace, 117, "03e8");                    // sample interval
        put(trace, 241, t ? "0000000000000002" : "0000000000000001");
        put(trace, 257, t ? "ffffffffffffffff" : "0000000000000015");
        put(trace, 337, t ? "c028800000000000" : "4124f80100000000"); // -12.25, 687104.5
        put(trace, 345, t ? "409f400000000000" : "7ff8000000000000"); // 2000, NaN
        put(trace, 377, "00000002");
        put(trace, 473, "5345473030303031"); // "SEG00001"
        put(trace, 481, "3f80000040000000"); // samples 1 and 2
        file += trace;
    }
    return file;
}

} // namespace segytest
