#include "seismic/SegyData.h"
#include "seismic/SegyFormatFile.h"
#include "tests/fuzz/FuzzInput.h"

// A SEG-Y format definition file, then a small SEG-Y file read through the format it defines.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SegyFormatFile file(FuzzInput::write(QStringLiteral("format.xml"), data, size), 0);
    if (!file.read())
        return 0;
    static_cast<void>(SegyFormatFile::toXml(file.format(), file.description()));
    SilentConsole console;
    SegyData segy(&console, FuzzInput::smallSegy(), 0, &file.format());
    if (segy.ok())
        static_cast<void>(segy.buildIndex());
    return 0;
}
