#pragma once

#include "cli/CliParameters.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

namespace cli {
class Arguments;
}

// `--json` of the actions that report facts: one JSON document on standard output in place of
// the text lines, holding the same values (numbers as numbers). Errors and warnings stay on
// standard error, and an action whose job failed prints no document.
namespace JsonOutput {

// The --json flag, for an action's declaration.
cli::Option option();
bool wanted(const cli::Arguments& arguments);
// Writes the document, indented, to standard output.
void print(const QJsonObject& document);
// A number as a text line shows it ("12.5", "-3"): that number, or null for a blank or "-".
QJsonValue numberShown(const QString& text);

} // namespace JsonOutput
