#include "cli/CliSegdCopyOperator.h"

CliSegdCopyOperator::CliSegdCopyOperator(TerminalConsole& console, const QList<DeviceArgument>& nextTapes,
                                         const QList<DeviceArgument>& nextOutputTapes)
    : terminal(console, QStringLiteral("field files"), nextTapes, nextOutputTapes)
{}
