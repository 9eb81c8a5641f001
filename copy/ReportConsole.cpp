#include "copy/ReportConsole.h"

ReportConsole::ReportConsole(ObrConsole* console) : console(console) {}

bool ReportConsole::open(const QString& path, bool append, QString* errorText)
{
    file.setFileName(path);
    const QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Text;
    if (file.open(mode | (append ? QIODevice::Append : QIODevice::Truncate)))
        return true;
    *errorText = QStringLiteral("cannot write report file %1: %2").arg(path, file.errorString());
    return false;
}

void ReportConsole::write(const QString& line)
{
    if (file.isOpen())
        file.write((line + QLatin1Char('\n')).toUtf8());
}

void ReportConsole::message(const QString& text, const QColor& colour)
{
    console->message(text, colour);
    write(text);
}

void ReportConsole::error(const QString& text, bool popup)
{
    console->error(text, popup);
    write(ConsolePrefix::error + text);
}

void ReportConsole::information(const QString& text, bool popup)
{
    console->information(text, popup);
    write(ConsolePrefix::information + text);
}

void ReportConsole::warning(const QString& text, bool popup)
{
    console->warning(text, popup);
    write(ConsolePrefix::warning + text);
}

void ReportConsole::debug(const QString& text)
{
    console->debug(text);
    if (debugEnabled())
        write(ConsolePrefix::debug + text);
}

void ReportConsole::lowLevel(const QString& text)
{
    console->lowLevel(text);
    if (lowLevelEnabled())
        write(ConsolePrefix::lowLevel + text);
}

void ReportConsole::initProgress(const QString& text, int maximum, bool showDialog)
{
    console->initProgress(text, maximum, showDialog);
}

bool ReportConsole::updateProgress(int value)
{
    return console->updateProgress(value);
}

void ReportConsole::clearProgress()
{
    console->clearProgress();
}

void ReportConsole::jobStarted()
{
    console->jobStarted();
}

int ReportConsole::detailLevel() const
{
    return console->detailLevel();
}
