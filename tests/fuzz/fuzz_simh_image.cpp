#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/TapeMoves.h"

// A SIMH tape image.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TapeMoves::run(FuzzInput::write(QStringLiteral("input.img"), data, size));
    return 0;
}
