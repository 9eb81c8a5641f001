#include "sps/SpsFormatFile.h"
#include "sps/SpsLines.h"
#include "sps/SpsScanner.h"
#include "tests/fuzz/FuzzInput.h"

#include <QBuffer>

// An SPS format file read over the built-in layout of every kind; a layout taken then scans a
// few lines, so that the columns it sets are used.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const SpsLines lines = [] {
        SpsLines text;
        static_cast<void>(
            text.setText("H00 header\nS  100.0  200.0  1V1  0.0  0  0 12.5  1000.0 2000.0 10.0 1 0\n"
                         "R  1  2  1G1\nX  1  1  2  1  1  3\n"));
        return text;
    }();
    QByteArray bytes = FuzzInput::bytes(data, size);
    for (const SpsKind kind : {SpsKind::Source, SpsKind::Receiver, SpsKind::Relation}) {
        SpsLayout layout = SpsLayout::defaults(kind);
        SpsFormatFile file(QStringLiteral("input"), kind);
        QBuffer input(&bytes);
        if (input.open(QIODevice::ReadOnly | QIODevice::Text) &&
            file.read(input, layout) == SpsFormatFile::Layer::Read)
            static_cast<void>(SpsScanner(lines).all(layout));
    }
    return 0;
}
