#pragma once

class TerminalConsole;

namespace cli {

class Arguments;
struct Command;

// Runs the command's action and returns the exit status it earned, which its lines decide as much
// as what it returns: a usage error written gives 2; an error line written gives at least 1 (a
// warning does not: the action went on by design); a failure that wrote no error line gets one
// naming the command and its arguments, since a silent failure is a fault of obrio; a status
// outside 0 to 2 is 1.
int runAction(const Command& command, const Arguments& arguments, TerminalConsole& console);

} // namespace cli
