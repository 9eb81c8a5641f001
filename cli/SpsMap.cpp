#include "base/WholeFile.h"
#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/SpsCommand.h"
#include "cli/TerminalConsole.h"
#include "sps/SpsSurveyMap.h"

#include <QRegularExpression>

namespace {

constexpr int largestSide = 20000;

int runMap(const cli::Arguments& arguments, TerminalConsole& console)
{
    QSize size(1200, 900);
    if (arguments.has(QStringLiteral("size"))) {
        const auto match = QRegularExpression(QStringLiteral("^(\\d{2,5})x(\\d{2,5})$"))
                               .match(arguments.text(QStringLiteral("size")));
        size = match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize();
        if (size.isEmpty() || size.width() > largestSide || size.height() > largestSide)
            return arguments.usageError(
                QStringLiteral("--size needs WIDTHxHEIGHT, each 10 to %1").arg(largestSide));
    }
    SpsSurvey survey;
    QStringList read;
    if (!SpsCommand::readSurvey(arguments.positional(0), arguments.positional(1), arguments.positional(2),
                                arguments.text(QStringLiteral("layout")), console, &survey, &read))
        return cli::JobFailed;
    const SpsSurveyCheck check(survey);
    const SpsSurveyMap map(survey, check.findings());
    if (map.isEmpty()) {
        console.error(QStringLiteral("no point of the survey has an easting and a northing"), false);
        return cli::JobFailed;
    }
    const QString out = arguments.text(QStringLiteral("out"));
    QString error;
    if (!WholeFile::writePng(out, map.draw(size, map.fit(size)), &error)) {
        console.error(error, false);
        return cli::JobFailed;
    }
    for (const QString& line : read)
        console.message(line, Qt::black);
    console.message(
        QStringLiteral("%1 findings ringed; map written: %2").arg(check.findings().size()).arg(out),
        Qt::black);
    return cli::Success;
}

} // namespace

OBRIO_COMMAND(
    spsMap,
    SpsCommand::surveyFiles(
        cli::Command::action("sps", "map",
                             QStringLiteral("a plan of a survey's sources and receivers as a PNG picture"),
                             runMap)
            .drawing()
            .describe(QStringLiteral(
                "Draws the receivers (blue) and sources (magenta) of S and R on their coordinates, north\n"
                "up, their lines in grey, with a scale bar and a north arrow; the points that\n"
                "`obrio sps check` finds fault with (duplicates, coordinate jumps) are ringed in red.\n"
                "X is optional: with it the relations are checked too."))
            .output(cli::option("out", "PICTURE.png", QStringLiteral("the PNG file to write")).required())
            .option(cli::option("size", "WxH",
                                QStringLiteral("the picture's size in pixels (default 1200x900)")))
            .option(SpsCommand::layoutOption("auto")),
        true))
