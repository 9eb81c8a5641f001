#include "analyzers/AnalysisPictures.h"
#include "analyzers/HeaderGraph.h"
#include "base/WholeFile.h"
#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/SegyCommand.h"
#include "cli/TerminalConsole.h"
#include "seismic/SegyData.h"

#include <limits>

namespace {

constexpr int lastInt = std::numeric_limits<int>::max();

int runGraph(const cli::Arguments& arguments, TerminalConsole& console)
{
    const QString word = arguments.text(QStringLiteral("word"));
    const int key = HeaderGraph::keyNamed(word);
    if (key < 0)
        return arguments.usageError(QStringLiteral("--word %1 is no trace key; the keys are: %2")
                                        .arg(word, HeaderGraph::keyNames().join(QStringLiteral(", "))));
    const int first = int(arguments.integer(QStringLiteral("first"), 1));
    const int last = int(arguments.integer(QStringLiteral("last"), lastInt));
    if (last < first)
        return arguments.usageError(QStringLiteral("--last must not lie before --first"));
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
        .option(cli::option("first", "N", QStringLiteral("the first trace (default 1)"),
                            cli::integer(1, lastInt)))
        .option(cli::option("last", "M", QStringLiteral("the last trace (default the file's last)"),
                            cli::integer(1, lastInt)))
        .argument(SegyCommand::fileArgument()))
