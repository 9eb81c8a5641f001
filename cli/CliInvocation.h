#pragma once

#include "cli/CliArguments.h"

#include <QStringList>
#include <memory>

namespace cli {

struct Command;

// What the command line of obrio asks for. Help pages, the version and usage errors are answered
// while it is read; otherwise it names one command with its parsed arguments, left to run.
class Invocation {
public:
    explicit Invocation(const QStringList& words);

    // True when nothing is left to run; status() is then the exit status.
    bool answered() const { return !found; }
    int status() const { return exitStatus; }
    const Command& command() const { return *found; }
    const Arguments& arguments() const { return *parsed; }
    int detailLevel() const { return level; }

private:
    void read(QStringList words);
    const Command* resolve(QStringList* words);

    const Command* found = nullptr;
    std::unique_ptr<Arguments> parsed;
    int exitStatus = 0;
    int level = 1;
};

} // namespace cli
