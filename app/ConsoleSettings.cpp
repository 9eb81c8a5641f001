#include "app/ConsoleSettings.h"

#include <array>

bool consoleShowsLine(int messageCounter, const QString& text, const ConsoleSettings& settings)
{
    if (settings.intervalFilter) {
        const int interval = settings.messageInterval == 0 ? 1 : settings.messageInterval;
        if (messageCounter % interval == 0)
            return true;
    }
    static const std::array<QString, 6> keywords = {
        QStringLiteral("complete"), QStringLiteral("arning"), QStringLiteral("rror"),
        QStringLiteral("Scan"),     QStringLiteral("FTP"),    QStringLiteral("TCP")};
    for (const QString& keyword : keywords) {
        if (text.contains(keyword, Qt::CaseSensitive))
            return true;
    }
    if (messageCounter < 50)
        return true;
    if (messageCounter < 1000)
        return messageCounter % 10 == 0;
    if (messageCounter < 10000)
        return messageCounter % 100 == 0;
    if (messageCounter < 50000)
        return messageCounter % 1000 == 0;
    return false;
}
