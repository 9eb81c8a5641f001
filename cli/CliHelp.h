#pragma once

#include <QString>

namespace cli {

struct Command;

// The help pages, written from the declarations. Their sections ("Tools:", "Actions:",
// "Arguments:", "Options:") list one entry a line, two blanks in, so that tests can walk them.
QString mainHelp();
// The page of a tool that groups actions: its actions and the options they share.
QString toolHelp(const Command& tool);
// The page of an action, or of a tool that is run as it is.
QString commandHelp(const Command& command);

} // namespace cli
