#include "copy/OutputTapeEnds.h"

#include "copy/JobConsole.h"
#include "devices/TapeDevice.h"

namespace {

// What the tape holds from its beginning: its files, the marks to pass to stand after the last of
// them, and whether the last file lacks the mark that closes it.
struct Holding {
    int files = 0;
    int marks = 0;
    bool unclosed = false;
};

QString filesText(int files)
{
    return files == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(files);
}

// Reads the first block of each file and spaces over the rest of it, so that a full tape is
// counted in as many reads as it has files. Two marks in a row, or the end of data, end it.
bool countFiles(TapeDevice* tape, Holding* holding)
{
    if (!tape->rewind())
        return false;
    bool afterMark = true;
    for (;;) {
        if (!tape->readBlock())
            return false;
        if (tape->atEndOfData())
            return true;
        if (tape->atFileMark()) {
            if (afterMark && holding->files > 0)
                return true;
            ++holding->marks;
            afterMark = true;
            continue;
        }
        ++holding->files;
        afterMark = false;
        if (!tape->skipFiles(1)) {
            // A last file that no mark closes: the drive has said it met the end of data.
            holding->unclosed = true;
            return true;
        }
        ++holding->marks;
        afterMark = true;
    }
}

bool standAfterLastFile(TapeDevice* tape, const Holding& holding)
{
    if (holding.unclosed)
        return tape->skipToEndOfData() && tape->writeFileMarks(1);
    return tape->rewind() && tape->skipFiles(holding.marks);
}

} // namespace

namespace OutputTapeEnds {

bool prepare(TapeDevice* tape, CopyOperator* copyOperator, JobConsole& lines, QString* refusal)
{
    if (!tape->readBlock())
        return false;
    // The end of data where the tape stands: the job writes there, as it always did.
    if (tape->atEndOfData())
        return true;
    Holding holding;
    if (!countFiles(tape, &holding))
        return false;
    if (holding.files == 0)
        return tape->rewind();
    lines.say(QStringLiteral("Output tape %1 holds %2").arg(tape->name(), filesText(holding.files)));
    switch (copyOperator->startOnTapeWithData(tape, holding.files)) {
    case CopyOperator::TapeStart::Overwrite:
        if (!tape->rewind())
            return false;
        lines.say(QStringLiteral("Writing over output tape %1 from its start").arg(tape->name()));
        return true;
    case CopyOperator::TapeStart::Append:
        if (!standAfterLastFile(tape, holding))
            return false;
        lines.say(
            QStringLiteral("Appending to output tape %1 after file %2").arg(tape->name()).arg(holding.files));
        return true;
    case CopyOperator::TapeStart::Cancel:
        break;
    }
    *refusal = QStringLiteral("output tape %1 holds %2 and is left as it is - job will abort")
                   .arg(tape->name(), filesText(holding.files));
    return false;
}

bool closeEarly(TapeDevice* tape, JobConsole& lines)
{
    const int file = tape->fileNumber();
    const int blocks = tape->blockNumber() - 1;
    // Between files the last file's mark is there already: one more ends the data.
    if (!tape->writeFileMarks(blocks > 0 ? 2 : 1))
        return false;
    lines.warning(blocks > 0 ? QStringLiteral("output tape %1 stopped in file %2 after block %3; file marks "
                                              "end its data there")
                                   .arg(tape->name())
                                   .arg(file)
                                   .arg(blocks)
                             : QStringLiteral("output tape %1 stopped before file %2; a file mark ends its "
                                              "data there")
                                   .arg(tape->name())
                                   .arg(file));
    return true;
}

} // namespace OutputTapeEnds
