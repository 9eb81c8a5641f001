#include "cli/CliCopyOperator.h"

#include "cli/CliArguments.h"
#include "cli/TerminalConsole.h"
#include "devices/TapeDevice.h"

#include <QTextStream>
#include <climits>
#include <cstdio>
#include <unistd.h>

CliCopyOperator::CliCopyOperator(TerminalConsole& console, const QString& progressText,
                                 const QList<DeviceArgument>& nextTapes,
                                 const QList<DeviceArgument>& nextOutputTapes)
    : console(console), progressText(progressText), nextTapes(nextTapes), nextOutputTapes(nextOutputTapes)
{}

CliCopyOperator::~CliCopyOperator() = default;

void CliCopyOperator::startProgress(qint64 total)
{
    // The terminal's bar counts in int; byte totals of large merges are scaled down.
    divisor = qMax<qint64>(total, 0) / INT_MAX + 1;
    console.initProgress(progressText, static_cast<int>(qMax<qint64>(total, 0) / divisor), false);
}

void CliCopyOperator::showProgress(qint64 done)
{
    console.updateProgress(static_cast<int>(qMin<qint64>(done / divisor, INT_MAX)));
}

void CliCopyOperator::endProgress()
{
    console.clearProgress();
}

void CliCopyOperator::allowFrom(const cli::Arguments& arguments)
{
    overwrite = arguments.has(QStringLiteral("overwrite"));
    append = arguments.has(QStringLiteral("append"));
}

bool CliCopyOperator::replaceFile(const QString& path)
{
    if (!overwrite)
        console.information(QStringLiteral("%1 exists: --overwrite replaces it").arg(path), false);
    return overwrite;
}

CopyOperator::TapeStart CliCopyOperator::startOnTapeWithData(TapeDevice* drive, int)
{
    if (overwrite)
        return TapeStart::Overwrite;
    if (append)
        return TapeStart::Append;
    console.information(QStringLiteral("%1 holds data: --overwrite writes from its start, --append after its "
                                       "last file")
                            .arg(drive->name()),
                        false);
    return TapeStart::Cancel;
}

TapeDevice* CliCopyOperator::nextInputTape(TapeDevice* drive)
{
    if (nextTapes.isEmpty())
        return isatty(STDIN_FILENO) ? ask(drive) : nullptr;
    TapeDevice* next = openTape(nextTapes.takeFirst(), 0, drive);
    changeFailed = changeFailed || !next;
    return next;
}

TapeDevice* CliCopyOperator::nextOutputTape(TapeDevice* drive)
{
    if (nextOutputTapes.isEmpty())
        return nullptr;
    TapeDevice* next = openTape(nextOutputTapes.takeFirst(), 1, drive);
    changeFailed = changeFailed || !next;
    return next;
}

TapeDevice* CliCopyOperator::ask(TapeDevice* drive)
{
    QTextStream in(stdin);
    for (;;) {
        console.clearProgress();
        std::fprintf(stderr,
                     "Load the next input tape. Enter: go on with %s; tape:N or tape:PATH: another "
                     "drive; n: no more tapes\n> ",
                     drive->name().toLocal8Bit().constData());
        std::fflush(stderr);
        const QString answer = in.readLine();
        if (answer.isNull() || answer.trimmed() == QLatin1String("n"))
            return nullptr;
        if (answer.trimmed().isEmpty()) {
            if (drive->open(drive->mode()))
                return drive;
            continue;
        }
        DeviceArgument device;
        QString errorText;
        if (!DeviceArgument::parse(answer.trimmed(), &device, &errorText) || !device.isTape()) {
            console.error(errorText.isEmpty() ? QStringLiteral("not a tape: ") + answer.trimmed() : errorText,
                          false);
            continue;
        }
        if (TapeDevice* next = openTape(device, 0, drive))
            return next;
    }
}

TapeDevice* CliCopyOperator::openTape(const DeviceArgument& device, unsigned mode, const TapeDevice* drive)
{
    auto tape = std::make_unique<TapeArgument>();
    QString errorText;
    if (!tape->resolve(device, &console, &errorText)) {
        console.error(errorText, false);
        return nullptr;
    }
    TapeDevice* next = tape->drive();
    // The options chosen for the job hold for every tape of it.
    next->setNoRewind(drive->noRewind());
    next->setUnloadAtEnd(drive->unloadAtEnd());
    if (!next->open(mode))
        return nullptr;
    taken.push_back(std::move(tape));
    return next;
}
