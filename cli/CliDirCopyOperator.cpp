#include "cli/CliDirCopyOperator.h"

CliDirCopyOperator::CliDirCopyOperator(TerminalConsole& console, const QList<DeviceArgument>& nextInputTapes,
                                       const QList<DeviceArgument>& nextOutputTapes)
    : terminal(console, QStringLiteral("files"), nextInputTapes, nextOutputTapes)
{}
