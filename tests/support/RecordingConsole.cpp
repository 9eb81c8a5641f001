#include "tests/support/RecordingConsole.h"

void RecordingConsole::message(const QString& text, const QColor& colour)
{
    lines.append({Message, text, colour, false});
}

void RecordingConsole::error(const QString& text, bool popup)
{
    lines.append({Error, text, QColor(Qt::black), popup});
}

void RecordingConsole::information(const QString& text, bool popup)
{
    lines.append({Information, text, QColor(Qt::black), popup});
}

void RecordingConsole::warning(const QString& text, bool popup)
{
    lines.append({Warning, text, QColor(Qt::black), popup});
}

void RecordingConsole::debug(const QString& text)
{
    if (debugEnabled())
        lines.append({Debug, text, QColor(Qt::black), false});
}

void RecordingConsole::lowLevel(const QString& text)
{
    if (lowLevelEnabled())
        lines.append({LowLevel, text, QColor(Qt::black), false});
}

void RecordingConsole::initProgress(const QString& text, int maximum, bool)
{
    progressText = text;
    progressMaximum = maximum;
    ++progressInits;
}

bool RecordingConsole::updateProgress(int value)
{
    progressValues.append(value);
    return cancelAtValue < 0 || value < cancelAtValue;
}

void RecordingConsole::clearProgress()
{
    ++progressClears;
}

QStringList RecordingConsole::texts(Kind kind) const
{
    QStringList result;
    for (const Line& line : lines) {
        if (line.kind == kind)
            result.append(line.text);
    }
    return result;
}

bool RecordingConsole::contains(const QString& fragment) const
{
    for (const Line& line : lines) {
        if (line.text.contains(fragment))
            return true;
    }
    return false;
}

void RecordingConsole::clear()
{
    lines.clear();
    progressValues.clear();
}
