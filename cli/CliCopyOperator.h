#pragma once

#include "cli/DeviceArgument.h"
#include "copy/CopyOperator.h"

#include <QList>
#include <QString>
#include <memory>
#include <vector>

class TerminalConsole;

// The operator of a copy or merge run from the command line: progress on the terminal,
// and at a tape change the next input tape from the --next-tape devices in order, else,
// when standard input is a terminal, from the user's answer, else "No more tapes". For the
// copies that change output tapes it gives them from `nextOutputTapes` in order.
class CliCopyOperator : public CopyOperator {
public:
    CliCopyOperator(TerminalConsole& console, const QString& progressText,
                    const QList<DeviceArgument>& nextTapes,
                    const QList<DeviceArgument>& nextOutputTapes = {});
    ~CliCopyOperator() override;

    void startProgress(qint64 total) override;
    void showProgress(qint64 done) override;
    void endProgress() override;
    bool keepAlive() override { return true; }
    TapeDevice* nextInputTape(TapeDevice* drive) override;
    // The next of `nextOutputTapes`, open for writing; null when none is left.
    TapeDevice* nextOutputTape(TapeDevice* drive);

    // A named next tape could not be used: the job ended early and must not count as done.
    bool tapeChangeFailed() const { return changeFailed; }

private:
    TapeDevice* ask(TapeDevice* drive);
    // Opens `device` in `mode` with the tape options of `drive`; null when it cannot be used
    // (reported).
    TapeDevice* openTape(const DeviceArgument& device, unsigned mode, const TapeDevice* drive);

    TerminalConsole& console;
    QString progressText;
    QList<DeviceArgument> nextTapes;
    QList<DeviceArgument> nextOutputTapes;
    qint64 divisor = 1;
    bool changeFailed = false;
    // The drives handed to the job, with the registries that own them.
    std::vector<std::unique_ptr<TapeArgument>> taken;
};
