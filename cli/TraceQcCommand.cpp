#include "analyzers/TraceQc.h"
#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/JsonOutput.h"
#include "cli/SegdCommand.h"
#include "cli/SegyCommand.h"
#include "cli/TerminalConsole.h"
#include "cli/TraceRangeOptions.h"
#include "seismic/SegdData.h"
#include "seismic/SegyData.h"

#include <QJsonArray>

namespace {

QString listed(const QVector<int>& traces)
{
    QStringList numbers;
    for (int trace : traces)
        numbers.append(QString::number(trace));
    const QString count =
        traces.size() == 1 ? QStringLiteral("1 trace") : QStringLiteral("%1 traces").arg(traces.size());
    return numbers.isEmpty() ? count : count + QStringLiteral(": ") + numbers.join(QStringLiteral(", "));
}

QJsonArray array(const QVector<int>& traces)
{
    QJsonArray numbers;
    for (int trace : traces)
        numbers.append(trace);
    return numbers;
}

int report(SeismicData& data, const QString& path, const cli::Arguments& arguments, TerminalConsole& console)
{
    int first = 1;
    int last = 1;
    if (!TraceRangeOptions::read(arguments, 0, &first, &last))
        return cli::UsageError;
    const TraceQc qc = TraceQc::scan(data, first, last);
    if (qc.traces == 0) {
        console.error(QStringLiteral("%1: no traces from %2 to %3").arg(path).arg(first).arg(last), false);
        return cli::JobFailed;
    }
    if (qc.unread > 0)
        console.warning(
            QStringLiteral("%1: %2 of %3 traces could not be read").arg(path).arg(qc.unread).arg(qc.traces),
            false);
    if (JsonOutput::wanted(arguments)) {
        JsonOutput::print({{QStringLiteral("file"), path},
                           {QStringLiteral("traces"), qc.traces},
                           {QStringLiteral("unread"), qc.unread},
                           {QStringLiteral("dead"), array(qc.dead)},
                           {QStringLiteral("clipped"), array(qc.clipped)},
                           {QStringLiteral("noisy"), array(qc.noisy)}});
        return cli::Success;
    }
    console.message(QStringLiteral("Trace QC of %1: %2 traces").arg(path).arg(qc.traces), Qt::black);
    console.message(QStringLiteral("dead: ") + listed(qc.dead), Qt::black);
    console.message(QStringLiteral("clipped: ") + listed(qc.clipped), Qt::black);
    console.message(QStringLiteral("noisy: ") + listed(qc.noisy), Qt::black);
    return cli::Success;
}

int runSegy(const cli::Arguments& arguments, TerminalConsole& console)
{
    SegyCommand command(arguments);
    if (!command.openFileOfKnownFormat(console))
        return cli::JobFailed;
    return report(*command.data, arguments.positional(0), arguments, console);
}

int runSegd(const cli::Arguments& arguments, TerminalConsole& console)
{
    const auto data = SegdCommand::open(arguments.positional(0), console);
    if (!data)
        return cli::JobFailed;
    return report(*data, arguments.positional(0), arguments, console);
}

cli::Command qc(const char* tool, cli::Command::Run run, const cli::Argument& file)
{
    return cli::Command::action(tool, "qc", QStringLiteral("dead, clipped and noisy traces"), run)
        .describe(QStringLiteral(
            "Reads traces N to M (default all) and lists those that want a look: dead (every sample\n"
            "the same, zero included), clipped (the trace's peak held by 3 samples or more in a row)\n"
            "and noisy (a root mean square above 5 times the median of the live traces of its field\n"
            "file). --json prints the lists as arrays of trace numbers named \"dead\", \"clipped\"\n"
            "and \"noisy\"."))
        .option(TraceRangeOptions::first())
        .option(TraceRangeOptions::last(QStringLiteral("the file's last")))
        .option(JsonOutput::option())
        .argument(file);
}

} // namespace

OBRIO_COMMAND(segyQc, qc("segy", runSegy, SegyCommand::fileArgument()))
OBRIO_COMMAND(segdQc, qc("segd", runSegd, SegdCommand::fileArgument()))
