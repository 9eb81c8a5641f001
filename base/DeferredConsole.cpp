#include "base/DeferredConsole.h"

#include <utility>

void DeferredConsole::message(const QString& text, const QColor& colour)
{
    lines.append({Kind::Message, text, colour, false});
}

void DeferredConsole::error(const QString& text, bool popup)
{
    lines.append({Kind::Error, text, QColor(), popup});
}

void DeferredConsole::information(const QString& text, bool popup)
{
    lines.append({Kind::Information, text, QColor(), popup});
}

void DeferredConsole::warning(const QString& text, bool popup)
{
    lines.append({Kind::Warning, text, QColor(), popup});
}

void DeferredConsole::debug(const QString& text)
{
    if (debugEnabled())
        lines.append({Kind::Debug, text, QColor(), false});
}

void DeferredConsole::lowLevel(const QString& text)
{
    if (lowLevelEnabled())
        lines.append({Kind::LowLevel, text, QColor(), false});
}

void DeferredConsole::passOn(ObrConsole& console)
{
    const QVector<Line> kept = std::exchange(lines, {});
    for (const Line& line : kept) {
        switch (line.kind) {
        case Kind::Message:
            console.message(line.text, line.colour);
            break;
        case Kind::Error:
            console.error(line.text, line.popup);
            break;
        case Kind::Information:
            console.information(line.text, line.popup);
            break;
        case Kind::Warning:
            console.warning(line.text, line.popup);
            break;
        case Kind::Debug:
            console.debug(line.text);
            break;
        case Kind::LowLevel:
            console.lowLevel(line.text);
            break;
        }
    }
}
