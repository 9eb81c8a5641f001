#include "copy/CopyOperator.h"
#include "copy/TapeScanJob.h"
#include "devices/TapeDevice.h"
#include "devices/TapeDriveList.h"
#include "devices/TapeImageSettings.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

// An operator who lets every scan run to its end.
class Onward : public JobProgress {
public:
    void startProgress(qint64) override {}
    void showProgress(qint64) override {}
    void endProgress() override {}
    bool keepAlive() override { return true; }
    bool replaceFile(const QString&) override { return false; }
};

} // namespace

// A SIMH tape image scanned for SEG-D field files and for SEG-Y files.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = FuzzInput::write(QStringLiteral("input.tap"), data, size);
    QFile::remove(TapeImageSettings::settingsPath(path));
    SilentConsole console;
    Onward progress;
    TapeDriveList drives(&console, {path});
    TapeDevice* tape = drives.drive(0);
    if (!tape || !tape->open(0))
        return 0;
    for (const TapeScanMode mode : {TapeScanMode::Segd, TapeScanMode::Segy}) {
        TapeScanJob job(&console, &progress, tape, mode);
        static_cast<void>(job.run());
    }
    tape->close();
    return 0;
}
