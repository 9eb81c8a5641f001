#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/SpsCommand.h"
#include "cli/TerminalConsole.h"
#include "sps/SpsFormatFile.h"

#include <QFileInfo>

namespace {

QString originText(SpsLayoutInForce::Origin origin, const SpsLayoutInForce& inForce)
{
    switch (origin) {
    case SpsLayoutInForce::Origin::BuiltIn:
        return QStringLiteral("built-in");
    case SpsLayoutInForce::Origin::UserDefault:
        return QStringLiteral("user default");
    case SpsLayoutInForce::Origin::OwnFile:
        return QStringLiteral("own format file");
    case SpsLayoutInForce::Origin::Chosen:
        break;
    }
    return inForce.originSource(origin);
}

void showLayout(const SpsLayoutInForce& inForce, const QString& title, TerminalConsole& console)
{
    const QColor black(Qt::black);
    const SpsLayout& layout = inForce.layout();
    console.message(title, black);
    for (const QString& layer : inForce.layers())
        console.message(QStringLiteral("  ") + layer, black);
    const auto row = [](const QString& part, const QString& value, const QString& load,
                        const QString& origin) {
        return QStringLiteral("%1 %2 %3 %4").arg(part, -20).arg(value, -8).arg(load, -5).arg(origin);
    };
    console.message(row(QStringLiteral("Field"), QStringLiteral("Columns"), QStringLiteral("Load"),
                        QStringLiteral("From")),
                    black);
    const QString startOrigin = originText(inForce.startOrigin(), inForce);
    console.message(
        row(QStringLiteral("Read point ID"), layout.readPointId() ? "yes" : "no", QString(), startOrigin),
        black);
    console.message(
        row(QStringLiteral("First line"), QString::number(layout.firstLine()), QString(), startOrigin),
        black);
    for (int field = 0; field < SpsLayout::fieldCount; ++field) {
        const SpsColumns columns = layout.columns(field);
        console.message(row(layout.fieldName(field),
                            QStringLiteral("%1-%2").arg(columns.start).arg(columns.end),
                            layout.load(field) ? QStringLiteral("yes") : QStringLiteral("no"),
                            originText(inForce.fieldOrigin(field), inForce)),
                        black);
    }
}

int runLayout(const cli::Arguments& arguments, TerminalConsole& console)
{
    int status = cli::Success;
    const auto kind = SpsCommand::kind(arguments, &status);
    if (!kind)
        return status;
    const QString file = arguments.positional(0);
    const QString from = arguments.text(QStringLiteral("from"));
    if (!file.isEmpty() && !from.isEmpty())
        return arguments.usageError(QStringLiteral("give FILE or --from, not both"));
    std::optional<SpsLayoutInForce> inForce;
    if (!SpsCommand::layoutInForce(*kind, file, from, console, &inForce))
        return cli::JobFailed;
    const QString noun = SpsKinds::noun(*kind);
    showLayout(*inForce,
               !from.isEmpty()  ? QStringLiteral("Layout of %1 records from %2").arg(noun, from)
               : file.isEmpty() ? QStringLiteral("Layout of %1 records without an SPS file").arg(noun)
                                : QStringLiteral("Layout of %1 records for %2").arg(noun, file),
               console);

    if (!arguments.has(QStringLiteral("write")))
        return cli::Success;
    QString target = arguments.text(QStringLiteral("write"));
    if (target.endsWith(QStringLiteral(".fmt")))
        target.chop(4);
    SpsFormatFile out(target, *kind);
    if (QFileInfo(out.path()).isFile() && !arguments.has(QStringLiteral("overwrite"))) {
        console.error(QStringLiteral("%1 exists: --overwrite replaces it").arg(out.path()), false);
        return cli::JobFailed;
    }
    if (!out.write(inForce->layout(), QString())) {
        console.error(
            QStringLiteral("Cannot write SPS format file %1: %2").arg(out.path(), out.errorString()), false);
        return cli::JobFailed;
    }
    console.message(QStringLiteral("Format file %1 written").arg(out.path()), Qt::black);
    return cli::Success;
}

} // namespace

OBRIO_COMMAND(
    spsLayout,
    cli::Command::action("sps", "layout",
                         QStringLiteral("the layout in force and where it came from; writes it"), runLayout)
        .describe(QStringLiteral(
            "Shows the layout in force for FILE (without FILE: the built-in layout and the user\n"
            "default), or the layout --from names: every field's columns and load flag and the\n"
            "file each part came from. With --write the layout is also written as a format\n"
            "file; \".fmt\" is added to a name without it."))
        .option(SpsCommand::kindOption())
        .option(cli::option("from", "FILE.fmt|sps21",
                            QStringLiteral("this format file, or the SPS 2.1 layout, instead of the layers")))
        .option(cli::option("write", "OUT.fmt", QStringLiteral("write the layout as this format file")))
        .option(cli::flag("overwrite", QStringLiteral("replace the format file when it exists")))
        .argument(cli::argument("FILE", QStringLiteral("the SPS file whose layout is shown")).optional()))
