#include "cli/TerminalConsole.h"

#include <cstdio>
#include <unistd.h>

namespace {
constexpr int barWidth = 30;

void writeLine(FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fputc('\n', stream);
}
} // namespace

TerminalConsole::TerminalConsole(int detailLevel)
    : level(detailLevel), progressBar(isatty(STDERR_FILENO) != 0)
{}

TerminalConsole::~TerminalConsole()
{
    eraseProgress();
}

void TerminalConsole::message(const QString& text, const QColor&)
{
    eraseProgress();
    writeLine(stdout, text);
    std::fflush(stdout);
}

void TerminalConsole::prefixed(const QString& prefix, const QString& text)
{
    eraseProgress();
    std::fflush(stdout);
    writeLine(stderr, prefix + text);
}

void TerminalConsole::error(const QString& text, bool)
{
    ++errors;
    prefixed(ConsolePrefix::error, text);
}

void TerminalConsole::information(const QString& text, bool)
{
    prefixed(ConsolePrefix::information, text);
}

void TerminalConsole::warning(const QString& text, bool)
{
    prefixed(ConsolePrefix::warning, text);
}

void TerminalConsole::debug(const QString& text)
{
    if (debugEnabled())
        prefixed(ConsolePrefix::debug, text);
}

void TerminalConsole::lowLevel(const QString& text)
{
    if (lowLevelEnabled())
        prefixed(ConsolePrefix::lowLevel, text);
}

void TerminalConsole::initProgress(const QString& text, int maximum, bool)
{
    progressText = text;
    progressMaximum = maximum;
    sinceDraw.invalidate();
    drawProgress(0);
}

bool TerminalConsole::updateProgress(int value)
{
    // Redraw a few times a second at most: jobs report every record.
    if (!sinceDraw.isValid() || sinceDraw.elapsed() >= 200)
        drawProgress(value);
    return true;
}

void TerminalConsole::clearProgress()
{
    eraseProgress();
    progressMaximum = 0;
}

void TerminalConsole::eraseProgress()
{
    if (!progressShown)
        return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    progressShown = false;
}

void TerminalConsole::drawProgress(int value)
{
    if (!progressBar)
        return;
    sinceDraw.restart();
    QString line;
    if (progressMaximum > 0) {
        const int clamped = qBound(0, value, progressMaximum);
        const int filled = static_cast<int>(static_cast<qint64>(clamped) * barWidth / progressMaximum);
        const int percent = static_cast<int>(static_cast<qint64>(clamped) * 100 / progressMaximum);
        line = QStringLiteral("\r[%1%2] %3% %4")
                   .arg(QString(filled, QLatin1Char('#')), QString(barWidth - filled, QLatin1Char(' ')))
                   .arg(percent, 3)
                   .arg(progressText);
    } else {
        line = QStringLiteral("\r%1 %2").arg(progressText).arg(value);
    }
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fputs("\033[K", stderr);
    std::fflush(stderr);
    progressShown = true;
}
