#pragma once

#include "cli/CliCopyOperator.h"
#include "cli/DeviceArgument.h"
#include "copy/DirCopyOperator.h"

#include <QList>
#include <memory>
#include <vector>

class TerminalConsole;

// The operator of a multi-file copy run from the command line: progress by files and input
// tape changes as for the single copies, the next output tapes from the --next-output-tape
// devices in order (then "No more tapes").
class CliDirCopyOperator : public DirCopyOperator {
public:
    CliDirCopyOperator(TerminalConsole& console, const QList<DeviceArgument>& nextInputTapes,
                       const QList<DeviceArgument>& nextOutputTapes);
    ~CliDirCopyOperator() override;

    void startProgress(qint64 total) override { inputs.startProgress(total); }
    void showProgress(qint64 done) override { inputs.showProgress(done); }
    void endProgress() override { inputs.endProgress(); }
    bool keepAlive() override { return inputs.keepAlive(); }
    TapeDevice* nextInputTape(TapeDevice* drive) override { return inputs.nextInputTape(drive); }
    TapeDevice* nextOutputTape(TapeDevice* drive) override;
    // The progress line counts the files; the terminal needs no more.
    void showCurrentFile(const QString&) override {}

    // A named next tape could not be used: the job ended early and must not count as done.
    bool tapeChangeFailed() const { return inputs.tapeChangeFailed() || outputChangeFailed; }

private:
    TerminalConsole& console;
    CliCopyOperator inputs;
    QList<DeviceArgument> nextOutputTapes;
    bool outputChangeFailed = false;
    std::vector<std::unique_ptr<TapeArgument>> taken;
};
