#include "base/ui/FileDialogs.h"
#include "copy/TapeScanJob.h"
#include "copy/TapeScanReport.h"
#include "copy/ui/TapeScan.h"
#include "devices/TapeDevice.h"
#include "devices/TapeDriveList.h"
#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/ScriptedOperator.h"
#include "tests/support/SegdStandardFixture.h"
#include "tests/support/SegyRevision2Fixture.h"
#include "tests/support/TapeImageFiles.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>

using obrtest::TapeBlocks;

namespace {

// Bytes cut into tape blocks of `length`, then a file mark.
TapeBlocks tapeFile(const QByteArray& bytes, int length = 4096)
{
    TapeBlocks blocks;
    for (int at = 0; at < bytes.size(); at += length)
        blocks << bytes.mid(at, length);
    return blocks << QByteArray();
}

// A SEG-Y file as the copies write it to tape: the two headers, then a block per trace.
TapeBlocks segyTapeFile(const segy2::File& file, int extra = 0)
{
    const QByteArray bytes = segy2::build(file) + QByteArray(extra, 'x');
    TapeBlocks blocks{bytes.left(3200), bytes.mid(3200, 400)};
    return blocks + tapeFile(bytes.mid(3600), segy2::traceLength(file));
}

segdstd::FieldFile numbered(segdstd::FieldFile file, int number)
{
    file.fieldFile = number;
    return file;
}

// The row the scan is to give for a field file read whole (or cut at `held` bytes: `problem`).
QString segdRow(int tapeFile, const segdstd::FieldFile& file, qint64 bytes, const QString& problem = {})
{
    int traces = 0;
    int samples = 0;
    for (const segdstd::ChannelSet& set : file.channelSets) {
        traces += set.channels;
        samples = std::max(samples, set.samples);
    }
    return QStringList{QString::number(tapeFile),
                       QString::number(file.fieldFile),
                       QStringLiteral("%1.%2").arg(file.majorRevision).arg(file.minorRevision),
                       QString::number(file.manufacturer),
                       QString::number(file.formatCode),
                       QString::number(traces),
                       QString::number(samples),
                       QString::number(file.intervalMicroseconds / 1000.0),
                       QString::number(bytes),
                       problem}
        .join('|');
}

QByteArray checksum(const QString& path)
{
    return QCryptographicHash::hash(obrtest::readFile(path), QCryptographicHash::Sha256);
}

} // namespace

// The tape scan over tape images written from the formats' byte layouts: the rows and summary it
// gives, and the image left as it was.
class TestTapeScan : public QObject {
    Q_OBJECT
private slots:
    void init() { dir = std::make_unique<QTemporaryDir>(); }

    void scansTapes_data()
    {
        obrtest::columns<int, TapeBlocks, QStringList, QStringList>({"mode", "blocks", "rows", "summary"});
        using namespace segdstd;
        const FieldFile standard = standardRevision21();
        const auto size = [](const FieldFile& file) { return build(file).size(); };
        // Each field file in a tape file of its own; 1003 missing, 1004 twice, 1005 cut short.
        FieldFile cut = numbered(standard, 1005);
        const int cutAt = headerLength(cut) + traceRecordBytes(cut, 0) + traceRecordBytes(cut, 1) + 10;
        cut.keepBytes = cutAt;
        TapeBlocks blocks;
        QStringList rows;
        int tapeFileNumber = 0;
        qint64 bytes = 0;
        for (const int number : {1001, 1002, 1004, 1005, 1004, 1006}) {
            const FieldFile file = number == 1005 ? cut : numbered(standard, number);
            blocks += tapeFile(build(file));
            bytes += size(file);
            rows << segdRow(++tapeFileNumber, file, size(file),
                            number == 1005 ? QStringLiteral("the tape file ends after %1 of the %2 bytes its "
                                                            "headers announce (2 of 8 traces whole)")
                                                 .arg(cutAt)
                                                 .arg(size(standard))
                                           : QString());
        }
        QTest::newRow("SEG-D, a gap, a duplicate, a file cut short")
            << int(TapeScanMode::Segd) << (blocks << QByteArray()) << rows
            << QStringList{QStringLiteral("   6 tape files read, %1 bytes").arg(bytes),
                           "   6 field files, numbers 1001 to 1006", "   missing field files: 1003",
                           "   duplicate field files: 1004", "   read errors in tape file 4"};

        // Two field files in one tape file behind a label block, a tape file of no SEG-D, and a
        // revision 3.1 field file in the last tape file, which no second mark ends.
        const FieldFile first = numbered(standard, 2001);
        const FieldFile second = numbered(standardRevision31(), 2002);
        const FieldFile third = numbered(sercelRevision21(), 2004);
        const QByteArray junk(5000, '\x11');
        blocks = TapeBlocks{QByteArray(128, 'L')} + tapeFile(build(first) + build(second), 5000) +
                 tapeFile(junk) + tapeFile(build(third));
        QTest::newRow("SEG-D, back to back, a label, no SEG-D")
            << int(TapeScanMode::Segd) << blocks
            << QStringList{segdRow(1, first, size(first)), segdRow(1, second, size(second)),
                           "2||||||||5000|the tape file does not begin with a SEG-D general header",
                           segdRow(3, third, size(third))}
            << QStringList{QStringLiteral("   3 tape files read, %1 bytes")
                               .arg(128 + size(first) + size(second) + 5000 + size(third)),
                           "   3 field files, numbers 2001 to 2004", "   missing field files: 2003",
                           "   no duplicate field files", "   read errors in tape file 2"};

        // SEG-Y: big-endian IEEE, a tape file too short for the headers, little-endian 16-bit
        // integers with an EBCDIC textual header and 7 bytes too many, a code of no format.
        segy2::File ieee;
        segy2::File integers;
        integers.littleEndian = true;
        integers.sampleFormat = 3;
        integers.samples = 20;
        integers.traces = 2;
        integers.intervalMicroseconds = 500;
        TapeBlocks ebcdic = segyTapeFile(integers, 7);
        // "C 1 EBCDIC" in EBCDIC, blanks after it.
        ebcdic[0] = QByteArray::fromHex("C340F140C5C2C3C4C9C3").leftJustified(3200, '\x40');
        segy2::File odd;
        odd.sampleFormat = 99;
        blocks = segyTapeFile(ieee) + tapeFile(QByteArray(1000, ' ')) + ebcdic + segyTapeFile(odd);
        const qint64 ieeeBytes = segy2::build(ieee).size();
        const qint64 integerBytes = segy2::build(integers).size() + 7;
        const qint64 oddBytes = segy2::build(odd).size();
        QTest::newRow("SEG-Y, too short, EBCDIC, no format")
            << int(TapeScanMode::Segy) << (blocks << QByteArray())
            << QStringList{QStringLiteral("1|5|IEEE single|2|10|3|%1|C 1 REVISION 2 TEST FILE|")
                               .arg(ieeeBytes),
                           "2||||||1000||the tape file holds 1000 bytes, fewer than the 3600 of the SEG-Y "
                           "file headers",
                           QStringLiteral(
                               "3|3|16-bit integer|0.5|20|2|%1|C 1 EBCDIC|7 bytes after trace 2 make "
                               "no whole trace of 280 bytes")
                               .arg(integerBytes),
                           QStringLiteral(
                               "4|99|||||%1|C 1 REVISION 2 TEST FILE|sample format code 99 is none "
                               "of the standard's")
                               .arg(oddBytes)}
            << QStringList{QStringLiteral("   4 tape files read, %1 bytes")
                               .arg(ieeeBytes + 1000 + integerBytes + oddBytes),
                           "   3 SEG-Y files, 5 traces",
                           "   sample formats: 3 16-bit integer (1 file), 5 IEEE single (1 file)",
                           "   read errors in tape files 2, 3, 4"};
    }
    void scansTapes()
    {
        const auto [mode, blocks, rows, summary] =
            obrtest::fetch<int, TapeBlocks, QStringList, QStringList>("mode", "blocks", "rows", "summary");
        const QString image = obrtest::writeTapeImage(dir->filePath("scan.tap"), blocks);
        const QByteArray before = checksum(image);
        RecordingConsole console;
        copytest::ScriptedOperator progress;
        TapeDriveList drives(&console, {image});
        QVERIFY(drives.drive(0)->open(0));
        TapeScanJob job(&console, &progress, drives.drive(0), TapeScanMode(mode));
        QVERIFY(job.run());
        drives.drive(0)->close();
        QStringList found;
        for (const TapeScanEntry& entry : job.result().entries)
            found << TapeScanReport::cells(entry, TapeScanMode(mode)).join('|');
        QCOMPARE(found, rows);
        QCOMPARE(TapeScanReport::summaryLines(job.result()), summary);
        // Read only: the image holds the same bytes, and every damaged file was warned of.
        QCOMPARE(checksum(image), before);
        QCOMPARE(console.warnings().size(), int(summary.last().count(',') + 1));
        QCOMPARE(progress.shown, qint64(rows.size()));
    }

    void abortKeepsWhatWasRead()
    {
        TapeBlocks blocks;
        for (const int number : {1, 2, 3})
            blocks += tapeFile(segdstd::build(numbered(segdstd::sercelRevision21(), number)));
        const QString image = obrtest::writeTapeImage(dir->filePath("abort.tap"), blocks);
        RecordingConsole console;
        copytest::ScriptedOperator progress;
        // The first tape file is one block and its mark; the stop comes in the second.
        progress.stopAfter = 3;
        TapeDriveList drives(&console, {image});
        QVERIFY(drives.drive(0)->open(0));
        TapeScanJob job(&console, &progress, drives.drive(0), TapeScanMode::Segd);
        QVERIFY(!job.run());
        QVERIFY(job.result().aborted);
        QCOMPARE(job.result().entries.size(), 1);
        QCOMPARE(TapeScanReport::summaryLines(job.result()).last(), QStringLiteral("   scan aborted"));
    }

    void obrioScansAndFails()
    {
        const QString image = obrtest::writeTapeImage(
            dir->filePath("line.tap"), tapeFile(segdstd::build(numbered(segdstd::sercelRevision21(), 7))));
        obrtest::ObrioRun run = obrtest::runObrio(dir->path(), {"tape", "scan", "tape:line.tap", "--json"});
        QCOMPARE(run.status, 0);
        const QJsonObject document = QJsonDocument::fromJson(run.out.join('\n').toUtf8()).object();
        const QStringList keys{
            "bytes",         "damagedTapeFiles", "duplicates", "files",     "firstFieldFile",
            "lastFieldFile", "missing",          "mode",       "tapeFiles", "traces"};
        QCOMPARE(document.keys(), keys);
        QCOMPARE(document.value("files").toArray().at(0).toObject().value("fieldFile").toInt(), 7);
        // A SIMH record whose length no image holds: the tape cannot be read past it.
        QByteArray damaged = obrtest::readFile(image);
        damaged.replace(0, 4, QByteArray::fromHex("f0ffff7f"));
        QVERIFY(obrtest::writeFile(image, damaged));
        run = obrtest::runObrio(dir->path(), {"tape", "scan", "tape:line.tap"});
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out.last(),
                 QStringLiteral("   scan stopped: the tape could not be read or spaced past tape file 1"));
        QCOMPARE(obrtest::runObrio(dir->path(), {"tape", "scan", "tape:line.tap", "--segd", "--segy"}).status,
                 2);
    }

    void windowListsTheFiles()
    {
        TapeBlocks blocks;
        for (const int number : {11, 12})
            blocks += tapeFile(segdstd::build(numbered(segdstd::sercelRevision21(), number)));
        const QString image = obrtest::writeTapeImage(dir->filePath("window.tif"), blocks);
        RecordingConsole console;
        TapeScan window(TapeScanMode::Segd, &console, nullptr, nullptr);
        window.show();
        QVERIFY(!window.Start->isEnabled());
        QVERIFY(window.addImage(image));
        window.Start->click();
        QCOMPARE(window.Files->rowCount(), 2);
        QCOMPARE(window.Files->item(1, 1)->text(), QStringLiteral("12"));
        QVERIFY(window.Summary->toPlainText().contains("2 field files, numbers 11 to 12"));
        // The report as a CSV table.
        QVERIFY(window.SaveReport->isEnabled());
        FileDialogs::answerWith([&](const QString&, const QString&) { return dir->filePath("scan.csv"); });
        window.SaveReport->click();
        FileDialogs::answerWith({});
        const QList<QByteArray> lines = obrtest::readFile(dir->filePath("scan.csv")).split('\n');
        QCOMPARE(lines.at(0),
                 "Tape file,Field file,Revision,Manufacturer,Format,Traces,Samples,Interval (ms),Bytes,"
                 "Read errors");
        QCOMPARE(lines.at(2), "2,12,2.1,13,8058,4,9,1,1376,");
    }

private:
    std::unique_ptr<QTemporaryDir> dir;
};

OBR_TEST_MAIN(TestTapeScan)
#include "tst_tape_scan.moc"
