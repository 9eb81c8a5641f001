#pragma once

#include "cli/CliCopyOperator.h"
#include "copy/DirCopyOperator.h"

// The operator of a multi-file copy run from the command line: progress by files and input
// tape changes as for the single copies, the next output tapes from the --next-output-tape
// devices in order (then "No more tapes").
class CliDirCopyOperator : public DirCopyOperator {
public:
    CliDirCopyOperator(TerminalConsole& console, const QList<DeviceArgument>& nextInputTapes,
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
    // The progress line counts the files; the terminal needs no more.
    void showCurrentFile(const QString&) override {}

    // A named next tape could not be used: the job ended early and must not count as done.
    bool tapeChangeFailed() const { return terminal.tapeChangeFailed(); }
    void allowFrom(const cli::Arguments& arguments) { terminal.allowFrom(arguments); }

private:
    CliCopyOperator terminal;
};
