#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/TapeMoves.h"

// A Tape-In-File image.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TapeMoves::run(FuzzInput::write(QStringLiteral("input.tif"), data, size));
    return 0;
}
