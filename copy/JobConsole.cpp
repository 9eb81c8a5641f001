#include "copy/JobConsole.h"

#include "base/ObrConsole.h"

#include <QDateTime>
#include <QLocale>

JobConsole::JobConsole(ObrConsole* console) : console(console) {}

QString JobConsole::timestamp(const QDateTime& time)
{
    return QLocale::c().toString(time, QStringLiteral("h:m:s MMMM d, yyyy"));
}

void JobConsole::start(const char* job)
{
    console->jobStarted();
    say(QString());
    say(QStringLiteral("%1 started at %2").arg(QLatin1String(job), timestamp(QDateTime::currentDateTime())));
    say(QString());
}

void JobConsole::end(const char* job)
{
    say(QString());
    say(QStringLiteral("%1 ended at %2").arg(QLatin1String(job), timestamp(QDateTime::currentDateTime())));
    say(QString());
}

void JobConsole::say(const QString& text)
{
    console->message(text, Qt::black);
}

void JobConsole::count(qint64 count, const char* what, const char* done)
{
    countLine(
        QStringLiteral("%1 %2%3 %4")
            .arg(count)
            .arg(QLatin1String(what), count == 1 ? QString() : QStringLiteral("s"), QLatin1String(done)));
}

void JobConsole::countLine(const QString& text)
{
    say(QStringLiteral("   ") + text);
    counts.append(text);
}

JobResult JobConsole::result(bool failed, bool aborted) const
{
    JobResult result;
    result.outcome = aborted  ? JobResult::Outcome::Aborted
                     : failed ? JobResult::Outcome::Failed
                              : JobResult::Outcome::Done;
    result.counts = counts;
    return result;
}

void JobConsole::error(const QString& text)
{
    console->error(text, !told);
    told = true;
}

void JobConsole::jobFailed()
{
    console->error(QStringLiteral("  job failed"), false);
    say(QString());
}

void JobConsole::jobAborted()
{
    say(QStringLiteral("  job aborted"));
    say(QString());
}

void JobConsole::outputRemoved(const QString& path)
{
    console->information(QStringLiteral("%1 is not written: the job did not finish it").arg(path), false);
}

void JobConsole::warning(const QString& text)
{
    console->warning(text, false);
}

void JobConsole::lowLevel(const QString& text)
{
    console->lowLevel(text);
}
