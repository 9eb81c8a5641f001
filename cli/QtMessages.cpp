#include "cli/QtMessages.h"

#include "base/ObrConsole.h"

namespace {

ObrConsole* target = nullptr;

void handle(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    const QString line = QStringLiteral("Qt: ") + text;
    switch (type) {
    case QtDebugMsg:
    case QtInfoMsg:
        target->lowLevel(line);
        break;
    case QtWarningMsg:
        target->debug(line);
        break;
    case QtCriticalMsg:
    case QtFatalMsg:
        target->error(line, false);
        break;
    }
}

} // namespace

QtMessages::QtMessages(ObrConsole& console)
{
    target = &console;
    previous = qInstallMessageHandler(handle);
}

QtMessages::~QtMessages()
{
    qInstallMessageHandler(previous);
    target = nullptr;
}
