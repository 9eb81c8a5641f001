#include "sps/SpsLines.h"
#include "sps/SpsScanner.h"
#include "tests/fuzz/FuzzInput.h"

// An SPS file scanned under the built-in and the revision 2.1 layouts of every kind.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SpsLines lines;
    if (!lines.setText(QByteArray(reinterpret_cast<const char*>(data), int(size))))
        return 0;
    const SpsScanner scanner(lines);
    for (const SpsKind kind : {SpsKind::Source, SpsKind::Receiver, SpsKind::Relation}) {
        for (const SpsLayout& layout : {SpsLayout::defaults(kind), SpsLayout::revision21(kind)}) {
            static_cast<void>(scanner.all(layout));
            static_cast<void>(scanner.dataLines(layout));
        }
    }
    return 0;
}
