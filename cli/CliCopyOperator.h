#pragma once

#include "cli/DeviceArgument.h"
#include "cli/Interruption.h"
#include "copy/DirCopyOperator.h"

#include <QList>
#include <QString>
#include <memory>
#include <vector>

class TerminalConsole;

namespace cli {
class Arguments;
}

// The operator of a copy or merge run from the command line: progress on the terminal,
// and at a tape change the next input tape from the --next-tape devices in order, else,
// when standard input is a terminal, from the user's answer, else "No more tapes". For the
// copies that change output tapes it gives them from `nextOutputTapes` in order. Ctrl-C is
// its Abort button; an existing output file is replaced with --overwrite, a tape that holds data
// written over from its start with --overwrite or after its last file with --append. One
// operator serves every copy: the single copies, the merge, the SEG-D and the multi-file copy.
class CliCopyOperator : public DirCopyOperator {
public:
    CliCopyOperator(TerminalConsole& console, const QString& progressText,
                    const QList<DeviceArgument>& nextTapes,
                    const QList<DeviceArgument>& nextOutputTapes = {});
    ~CliCopyOperator() override;

    void startProgress(qint64 total) override;
    void showProgress(qint64 done) override;
    void endProgress() override;
    bool keepAlive() override { return !Interruption::requested(); }
    bool replaceFile(const QString& path) override;
    TapeDevice* nextInputTape(TapeDevice* drive) override;
    bool nextTapeFailed() const override { return changeFailed; }
    TapeStart startOnTapeWithData(TapeDevice* drive, int files) override;
    // Takes --overwrite and --append from the command line.
    void allowFrom(const cli::Arguments& arguments);
    // The next of `nextOutputTapes`, open for writing; null when none is left.
    TapeDevice* nextOutputTape(TapeDevice* drive) override;
    // The progress line counts the files; the terminal needs no more.
    void showCurrentFile(const QString&) override {}

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
    bool overwrite = false;
    bool append = false;
    Interruption::Listening listening;
    // The drives handed to the job, with the registries that own them.
    std::vector<std::unique_ptr<TapeArgument>> taken;
};
