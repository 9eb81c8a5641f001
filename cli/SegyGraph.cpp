#include "analyzers/AnalysisPictures.h"
#include "analyzers/HeaderGraph.h"
#include "base/WholeFile.h"
#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/SegyCommand.h"
#include "cli/TerminalConsole.h"
#include "cli/TraceRangeOptions.h"
#include "seismic/SegyData.h"

namespace {

int runGraph(const cli::Arguments& arguments, TerminalConsole& console)
{
    const QString word = arguments.text(QStringLiteral("word"));
    const int key = HeaderGraph::keyNamed(word);
    if (key < 0)
        return arguments.usageError(QStringLiteral("--word %1 is no trace key; the keys are: %2")
                                        .arg(word, HeaderGraph::keyNames().join(QStringLiteral(", "))));
    int first = 1;
    int last = 1;
    if (!TraceRangeOptions::read(arguments, 0, &first, &last))
        return cli::UsageError;
    SegyCommand command(arguments);
    if (!command.openFileOfKnownFormat(console))
        return cli::JobFailed;
    const QString path = arguments.positional(0);
    if (first > command.data->traceCount()) {
        console.error(QStringLiteral("%1: trace %2 is past the file's last trace %3")
                          .arg(path)
                          .arg(first)
                          .arg(command.data->traceCount()),
                      false);
        return cli::JobFailed;
    }
    const HeaderGraph graph = HeaderGraph::read(*command.data, key, first, last);
    if (graph.unread > 0)
        console.warning(QStringLiteral("%1: %2 traces could not be read").arg(path).arg(graph.unread), false);
    const QString out = arguments.text(QStringLiteral("out"));
    QString error;
    const QSize size(AnalysisPictures::pictureWidth, AnalysisPictures::pictureHeight);
    if (!WholeFile::writePng(out, HeaderGraphPicture::draw(graph, size), &error)) {
        console.error(error, false);
        return cli::JobFailed;
    }
    console.message(
        QStringLiteral("picture written: %1 (%2 x %3 pixels)").arg(out).arg(size.width()).arg(size.height()),
        Qt::black);
    return cli::Success;
}

} // namespace

OBRIO_COMMAND(
    segyGraph,
    cli::Command::action("segy", "graph",
                         QStringLiteral("a trace header word against trace number, as a picture"), runGraph)
        .describe(QStringLiteral(
            "Reads the word KEY of traces N to M (default all) and draws it against the trace number\n"
            "as a line, with round ticks on both axes: offsets, coordinates, elevations and statics\n"
            "at a glance. KEY is a trace key name as `segy sort` lists them (FieldFile, Channel,\n"
            "Cmp, Inline, Offset, ...), in any case."))
        .drawing()
        .output(cli::option("out", "PICTURE.png", QStringLiteral("the PNG file to write")).required())
        .option(cli::option("word", "KEY", QStringLiteral("the trace key to draw")).required())
        .option(TraceRangeOptions::first())
        .option(TraceRangeOptions::last(QStringLiteral("the file's last")))
        .argument(SegyCommand::fileArgument()))
