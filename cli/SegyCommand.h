#pragma once

#include "cli/CliArguments.h"
#include "cli/CliParameters.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"

#include <QString>
#include <memory>

class TerminalConsole;

// What every `obrio segy` action reads: the SEG-Y file of its FILE argument, through the format of
// the tool's --format option or the standard layout.
class SegyCommand {
public:
    explicit SegyCommand(const cli::Arguments& arguments) : arguments(arguments) {}

    // The FILE argument of the actions that read a file.
    static cli::Argument fileArgument();

    QString file() const { return arguments.positional(0); }
    QString formatPath() const { return arguments.text(QStringLiteral("format")); }
    // The format of --format, or the standard one; null when the file cannot be read.
    std::unique_ptr<SegyFormat> loadFormat(TerminalConsole& console) const;
    // Loads the format and opens the file for reading through it; false when either failed
    // (reported on the console).
    [[nodiscard]] bool openFile(TerminalConsole& console);
    // openFile for the actions whose figures and pictures a user trusts: a sample format code
    // outside the standard fails them (the readers would take it as IEEE single) unless --format
    // names a format file.
    [[nodiscard]] bool openFileOfKnownFormat(TerminalConsole& console);
    // The bytes that follow the last whole trace of the open file, which the actions leave out.
    qint64 bytesAfterLastTrace() const;
    // Warns of them, so that a cut file does not pass for a whole one.
    void warnOfPartialTrace(TerminalConsole& console) const;

    const cli::Arguments& arguments;
    // Set by openFile; the format outlives the data set that reads through it.
    std::unique_ptr<SegyFormat> format;
    std::unique_ptr<SegyData> data;
};
