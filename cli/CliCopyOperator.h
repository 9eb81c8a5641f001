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
// when standard input is a terminal, from the user's answer, else "No more tapes".
class CliCopyOperator : public CopyOperator {
public:
    CliCopyOperator(TerminalConsole& console, const QString& progressText,
                    const QList<DeviceArgument>& nextTapes);
    ~CliCopyOperator() override;

    void startProgress(qint64 total) override;
    void showProgress(qint64 done) override;
    void endProgress() override;
    bool keepAlive() override { return true; }
    TapeDevice* nextInputTape(TapeDevice* drive) override;

    // A named next tape could not be used: the job ended early and must not count as done.
    bool tapeChangeFailed() const { return changeFailed; }

private:
    TapeDevice* ask(TapeDevice* drive);
    // Opens `device` for reading; null when it cannot be used (reported).
    TapeDevice* openTape(const DeviceArgument& device);

    TerminalConsole& console;
    QString progressText;
    QList<DeviceArgument> nextTapes;
    qint64 divisor = 1;
    bool changeFailed = false;
    // The drives handed to the job, with the registries that own them.
    std::vector<std::unique_ptr<TapeArgument>> taken;
};
