#pragma once

#include "cli/CliCopyOperator.h"
#include "copy/OutputTapeOperator.h"

// The operator of a SEG-D copy on the command line: as for the other copies, and further the
// next output tape from the --next-output-tape devices in order (else "No more tapes").
class CliSegdCopyOperator : public OutputTapeOperator {
public:
    CliSegdCopyOperator(TerminalConsole& console, const QList<DeviceArgument>& nextTapes,
                        const QList<DeviceArgument>& nextOutputTapes);

    void startProgress(qint64 total) override { terminal.startProgress(total); }
    void showProgress(qint64 done) override { terminal.showProgress(done); }
    void endProgress() override { terminal.endProgress(); }
    bool keepAlive() override { return terminal.keepAlive(); }
    bool replaceFile(const QString& path) override { return terminal.replaceFile(path); }
    TapeDevice* nextInputTape(TapeDevice* drive) override { return terminal.nextInputTape(drive); }
    bool nextTapeFailed() const override { return terminal.nextTapeFailed(); }
    TapeStart startOnTapeWithData(TapeDevice* drive, int files) override
    {
        return terminal.startOnTapeWithData(drive, files);
    }
    TapeDevice* nextOutputTape(TapeDevice* drive) override { return terminal.nextOutputTape(drive); }

    // A named next tape could not be used: the job ended early and must not count as done.
    bool tapeChangeFailed() const { return terminal.tapeChangeFailed(); }
    void allowFrom(const cli::Arguments& arguments) { terminal.allowFrom(arguments); }

private:
    CliCopyOperator terminal;
};
