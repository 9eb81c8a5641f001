#include "copy/ReportConsole.h"

ReportConsole::ReportConsole(ObrConsole* console, const QString& reportPath, bool append)
    : console(console), report(reportPath)
{
    if (!reportPath.isEmpty() && !report.open(QIODevice::WriteOnly | QIODevice::Text |
                                              (append ? QIODevice::Append : QIODevice::Truncate)))
        console->warning(QStringLiteral("cannot open report file %1").arg(reportPath), false);
}

void ReportConsole::writeLine(const QString& text)
{
    if (!report.isOpen())
        return;
    report.write(text.toUtf8());
    report.write("\n");
    report.flush();
}

void ReportConsole::message(const QString& text, const QColor& colour)
{
    console->message(text, colour);
    writeLine(text);
}

void ReportConsole::error(const QString& text, bool popup)
{
    console->error(text, popup);
    writeLine(ConsolePrefix::error + text);
}

void ReportConsole::information(const QString& text, bool popup)
{
    console->information(text, popup);
    writeLine(ConsolePrefix::information + text);
}

void ReportConsole::warning(const QString& text, bool popup)
{
    console->warning(text, popup);
    writeLine(ConsolePrefix::warning + text);
}

void ReportConsole::lowLevel(const QString& text)
{
    console->lowLevel(text);
    if (console->lowLevelEnabled())
        writeLine(ConsolePrefix::lowLevel + text);
}
