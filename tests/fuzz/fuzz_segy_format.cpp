#include "devices/MemoryDevice.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormatFile.h"
#include "tests/fuzz/FuzzInput.h"

#include <QBuffer>

// A SEG-Y format definition file, then a small SEG-Y file read through the format it defines.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SegyFormatFile file(QStringLiteral("format.xml"), 0);
    QByteArray bytes = FuzzInput::bytes(data, size);
    QBuffer input(&bytes);
    if (!input.open(QIODevice::ReadOnly | QIODevice::Text) || !file.read(input))
        return 0;
    static_cast<void>(SegyFormatFile::toXml(file.format(), file.description()));
    SilentConsole console;
    SegyData segy(new MemoryDevice(&console, QStringLiteral("data.sgy"), FuzzInput::smallSegyBytes()), 0,
                  &file.format());
    if (segy.ok())
        static_cast<void>(segy.buildIndex());
    return 0;
}
