#pragma once

#include <QStringList>

namespace cli {

class Arguments;
struct Command;

// Reads the words after `obrio TOOL [ACTION]` against the command's declaration and its tool's
// options: options may stand anywhere and "--" ends them; "--name=VALUE" and "--name VALUE" are
// the same. False after writing the usage error.
[[nodiscard]] bool parse(const Command& command, const QStringList& words, Arguments* arguments,
                         int* detailLevel);

// -v and --verbose ask for debug lines (level 2), -vv also for low-level lines (level 3); they
// hold for every tool and may stand anywhere. False for any other word.
bool raiseVerbosity(const QString& word, int* detailLevel);

} // namespace cli
