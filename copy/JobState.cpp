#include "copy/JobState.h"

#include "base/ObrConsole.h"
#include "copy/CopyOperator.h"

#include <QDateTime>

JobState::JobState(ObrConsole* console, CopyOperator* copyOperator)
    : console(console), lines(console), progress(copyOperator)
{}

bool JobState::goOn()
{
    if (aborted)
        return false;
    if (progress->keepAlive())
        return true;
    console->warning(
        QStringLiteral("copy aborted by user at %1").arg(JobConsole::timestamp(QDateTime::currentDateTime())),
        true);
    aborted = true;
    done = true;
    return false;
}

void JobState::fail(const QString& text)
{
    lines.error(text);
    failed = true;
}

void JobState::driveFailed()
{
    lines.reportedElsewhere();
    failed = true;
}
