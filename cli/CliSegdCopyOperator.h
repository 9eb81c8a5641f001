#pragma once

#include "cli/CliCopyOperator.h"
#include "copy/SegdCopyOperator.h"

// The operator of a SEG-D copy on the command line: as for the other copies, and further the
// next output tape from the --next-output-tape devices in order (else "No more tapes"), and
// Ctrl-C as the Abort button: the job stops after the current trace with its summary.
class CliSegdCopyOperator : public SegdCopyOperator {
public:
    CliSegdCopyOperator(TerminalConsole& console, const QList<DeviceArgument>& nextTapes,
                        const QList<DeviceArgument>& nextOutputTapes);
    ~CliSegdCopyOperator() override;

    void startProgress(qint64 total) override { input.startProgress(total); }
    void showProgress(qint64 done) override { input.showProgress(done); }
    void endProgress() override { input.endProgress(); }
    bool keepAlive() override;
    TapeDevice* nextInputTape(TapeDevice* drive) override;
    TapeDevice* nextOutputTape(TapeDevice* drive) override;

    // A named next tape could not be used: the job ended early and must not count as done.
    bool tapeChangeFailed() const { return input.tapeChangeFailed() || outputChangeFailed; }

private:
    TerminalConsole& console;
    CliCopyOperator input;
    QList<DeviceArgument> nextOutputTapes;
    bool outputChangeFailed = false;
    std::vector<std::unique_ptr<TapeArgument>> taken;
};
