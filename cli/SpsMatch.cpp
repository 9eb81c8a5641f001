#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/JsonOutput.h"
#include "cli/SpsCommand.h"
#include "cli/TerminalConsole.h"
#include "seismic/SegdFolder.h"
#include "sps/SpsSegdMatch.h"

#include <QFileInfo>
#include <QJsonArray>

namespace {

constexpr int shownPerKind = 20;

QJsonObject jsonOf(const SpsSegdMatch& match, int fieldFiles, const QStringList& read)
{
    QJsonObject kinds;
    for (int k = 0; k < SpsSegdMatch::kindCount; ++k) {
        const auto kind = SpsSegdMatch::Kind(k);
        QJsonArray first;
        for (const SpsSegdMatch::Finding& finding : match.findings()) {
            if (finding.kind == kind && first.size() < shownPerKind)
                first.append(QJsonObject{{QStringLiteral("fieldFile"), finding.fieldFile},
                                         {QStringLiteral("text"), finding.text}});
        }
        kinds.insert(SpsSegdMatch::kindName(kind), QJsonObject{{QStringLiteral("count"), match.count(kind)},
                                                               {QStringLiteral("first"), first}});
    }
    return {{QStringLiteral("files"), QJsonArray::fromStringList(read)},
            {QStringLiteral("fieldFiles"), fieldFiles},
            {QStringLiteral("findings"), match.findings().size()},
            {QStringLiteral("kinds"), kinds}};
}

int runMatch(const cli::Arguments& arguments, TerminalConsole& console)
{
    const QString directory = arguments.text(QStringLiteral("segd"));
    if (!QFileInfo(directory).isDir()) {
        console.error(QStringLiteral("%1 is not a directory").arg(directory), false);
        return cli::JobFailed;
    }
    SpsSurvey survey;
    QStringList read;
    if (!SpsCommand::readSurvey(arguments.positional(0), arguments.positional(1), arguments.positional(2),
                                arguments.text(QStringLiteral("layout")), console, &survey, &read))
        return cli::JobFailed;
    const SegdFolder::Listing listing = SegdFolder::list(directory, &console);
    QVector<SpsFieldFileShot> shots;
    for (const QString& path : listing.paths()) {
        SpsFieldFileShot shot;
        if (shot.read(path, &console))
            shots.append(shot);
        else
            console.warning(QStringLiteral("%1: not read, left out of the match").arg(path), false);
    }
    const SpsSegdMatch match(shots, survey);
    read << QStringLiteral("SEG-D %1: %2 field files read").arg(directory).arg(shots.size());
    if (JsonOutput::wanted(arguments))
        JsonOutput::print(jsonOf(match, shots.size(), read));
    else
        for (const QString& line : read + match.report(shownPerKind))
            console.message(line, Qt::black);
    if (arguments.has(QStringLiteral("strict")) && !match.findings().isEmpty()) {
        console.error(QStringLiteral("%1 findings (--strict)").arg(match.findings().size()), false);
        return cli::JobFailed;
    }
    return cli::Success;
}

} // namespace

OBRIO_COMMAND(
    spsMatch,
    SpsCommand::surveyFiles(
        cli::Command::action("sps", "match",
                             QStringLiteral("SEG-D field files against the survey's relation records"),
                             runMatch)
            .describe(QStringLiteral(
                "Reads the field files of --segd DIR and matches each to the X records of its field file\n"
                "number (the record number): the source the file names against the record's source; each\n"
                "seismic trace's receiver line and point (trace header extension 1, where the recorder\n"
                "writes it) against the receiver the record gives its channel; the count of seismic traces\n"
                "against the record's channels. Also lists X records without a field file and field files\n"
                "without an X record."))
            .option(cli::option("segd", "DIR", QStringLiteral("the directory of field files")).required())
            .option(SpsCommand::layoutOption("auto"))
            .option(JsonOutput::option())
            .option(cli::flag("strict", QStringLiteral("status 1 when there is any finding")))))
