#include "base/WholeFile.h"
#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/JsonOutput.h"
#include "cli/SpsCommand.h"
#include "cli/TerminalConsole.h"
#include "sps/SpsSurveyCheck.h"

#include <QJsonArray>

namespace {

constexpr int shownPerKind = 20;

QByteArray csvField(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return (QLatin1Char('"') + quoted + QLatin1Char('"')).toUtf8();
}

QByteArray csvOf(const SpsSurveyCheck& check)
{
    QByteArray text = "kind,file,line,finding\n";
    for (const SpsFinding& finding : check.findings())
        text += SpsFinding::kindName(finding.kind).toLatin1() + ',' +
                QByteArray(1, SpsKinds::recordLetter(finding.file).toLatin1()) + ',' +
                QByteArray::number(finding.line) + ',' + csvField(finding.text) + '\n';
    return text;
}

QJsonObject jsonOf(const SpsSurveyCheck& check, const QStringList& read)
{
    QJsonObject kinds;
    for (int k = 0; k < SpsFinding::kindCount; ++k) {
        const auto kind = SpsFinding::Kind(k);
        QJsonArray first;
        for (const SpsFinding& finding : check.findings(kind, shownPerKind))
            first.append(QJsonObject{{QStringLiteral("file"), QString(SpsKinds::recordLetter(finding.file))},
                                     {QStringLiteral("line"), finding.line},
                                     {QStringLiteral("text"), finding.text}});
        kinds.insert(SpsFinding::kindName(kind), QJsonObject{{QStringLiteral("count"), check.count(kind)},
                                                             {QStringLiteral("first"), first}});
    }
    return {{QStringLiteral("files"), QJsonArray::fromStringList(read)},
            {QStringLiteral("findings"), check.findings().size()},
            {QStringLiteral("sourceSpacing"), check.sourceSpacing()},
            {QStringLiteral("receiverSpacing"), check.receiverSpacing()},
            {QStringLiteral("kinds"), kinds}};
}

int runCheck(const cli::Arguments& arguments, TerminalConsole& console)
{
    SpsSurvey survey;
    QStringList read;
    if (!SpsCommand::readSurvey(arguments.positional(0), arguments.positional(1), arguments.positional(2),
                                arguments.text(QStringLiteral("layout")), console, &survey, &read))
        return cli::JobFailed;
    const SpsSurveyCheck check(survey);
    const QString csv = arguments.text(QStringLiteral("csv"));
    if (!csv.isEmpty()) {
        QString error;
        if (!WholeFile::write(csv, csvOf(check), &error)) {
            console.error(error, false);
            return cli::JobFailed;
        }
    }
    if (JsonOutput::wanted(arguments))
        JsonOutput::print(jsonOf(check, read));
    else
        for (const QString& line : read + check.report(shownPerKind))
            console.message(line, Qt::black);
    if (arguments.has(QStringLiteral("strict")) && !check.findings().isEmpty()) {
        console.error(QStringLiteral("%1 findings (--strict)").arg(check.findings().size()), false);
        return cli::JobFailed;
    }
    return cli::Success;
}

} // namespace

OBRIO_COMMAND(
    spsCheck,
    SpsCommand::surveyFiles(
        cli::Command::action(
            "sps", "check", QStringLiteral("cross-check the source, receiver and relation files of a survey"),
            runCheck)
            .describe(QStringLiteral(
                "Reads S, R and X, each with the layout its header and first records point to (or\n"
                "--layout), and checks: every relation's source is in S and every receiver of its range\n"
                "in R (the receiver step is the line's most common point step in R); the channel count\n"
                "equals the receivers of the range; no point twice in S or R, no relation (record,\n"
                "source, first channel) twice; no point farther than 5 times the median point spacing\n"
                "from each of its line neighbours. Shows the count of each kind of finding and the\n"
                "first 20 with their file and line; --csv writes every finding."))
            .option(SpsCommand::layoutOption("auto"))
            .option(JsonOutput::option())
            .output(cli::option("csv", "FILE.csv", QStringLiteral("write every finding to this file")))
            .option(cli::flag("strict", QStringLiteral("status 1 when there is any finding")))))
