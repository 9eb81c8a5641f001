#include "sps/SpsLayoutDetection.h"
#include "sps/SpsLines.h"
#include "sps/SpsScanner.h"
#include "sps/SpsValue.h"
#include "sps/ui/SpsReceiverAnalyzer.h"
#include "sps/ui/SpsTextView.h"
#include "tests/support/Controls.h"
#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QListWidget>
#include <QPushButton>

namespace {

struct Cell {
    int start;
    int end;
    QString text; // right-justified in its columns
};

// A record written column by column from the SPS layouts.
QString record(char letter, const QVector<Cell>& cells, int shift = 0)
{
    QString line = QString(shift, ' ') + QLatin1Char(letter) + QString(79, ' ');
    for (const Cell& cell : cells)
        line.replace(shift + cell.start - 1, cell.end - cell.start + 1,
                     cell.text.rightJustified(cell.end - cell.start + 1));
    return line;
}

// Points in SPS 1.0/2.0 columns (line 2-17, point 18-25) or SPS 2.1 columns (2-11, 12-21).
QString point(char letter, bool revision21, int line, int point, const QString& easting, int shift = 0)
{
    return record(
        letter,
        {{2, revision21 ? 11 : 17, QString::number(line) + (revision21 ? ".00" : "")},
         {revision21 ? 12 : 18, revision21 ? 21 : 25, QString::number(point) + (revision21 ? ".00" : "")},
         {47, 55, easting},
         {56, 65, "5000000.0"},
         {66, 71, "10.5"}},
        shift);
}

SpsLines linesOf(const QStringList& text)
{
    SpsLines lines;
    static_cast<void>(lines.setText((text.join('\n') + '\n').toLatin1()));
    return lines;
}

QStringList findings(SpsKind kind, const SpsDiagnostics& found)
{
    QStringList texts;
    for (const SpsCellProblem& problem : found.problems)
        texts << SpsDiagnostics::problemText(kind, problem);
    for (const SpsStrayLine& stray : found.strayLines)
        texts << SpsDiagnostics::strayText(stray);
    return texts;
}

const QString h00_10 = "H00 SPS format version number    SPS001";
const QString h00_21 = "H00 SPS format version number    SPS 2.1";

} // namespace

class TestSpsDiagnostics : public QObject {
    Q_OBJECT
private slots:
    void findingsWithTheirLines_data()
    {
        // records: records found; easting: its range
        obrtest::columns<QStringList, int, QString, QStringList>({"file", "records", "easting", "findings"});
        QTest::newRow("prose, a bare letter, a comment, text for a number")
            << QStringList{h00_10,
                           "Received from the crew on Monday",
                           "This file was typed by hand",
                           point('R', false, 1001, 101, "100.0"),
                           point('R', false, 1001, 102, "Really go"),
                           "R",
                           "C comment"}
            << 2 << "100.0..100.0"
            << QStringList{"line 5, Receiver easting (47-55): 'Really go' is not a number",
                           "line 2: 'Received from the crew on Monday' is not a record",
                           "line 3: 'This file was typed by hand' is not a record",
                           "line 6: 'R' is not a record", "line 7: 'C comment' is not a record"};
        QTest::newRow("blank cells are missing, not 0")
            << QStringList{point('R', false, 1001, 101, ""), point('R', false, 1001, 102, "250.5"),
                           point('R', false, 1001, 103, "  ")}
            << 3 << "250.5..250.5" << QStringList{};
        QTest::newRow("records after a leading blank")
            << QStringList{point('R', false, 1001, 101, "100.0", 1)} << 0 << ".."
            << QStringList{"line 1: ' R            1001     101                         100.0 500...' is not "
                           "a record"};
    }
    void findingsWithTheirLines()
    {
        const auto [file, records, easting, expected] =
            obrtest::fetch<QStringList, int, QString, QStringList>("file", "records", "easting", "findings");
        const SpsLayout layout = SpsLayout::defaults(SpsKind::Receiver);
        const SpsDiagnostics found = SpsScanner(linesOf(file)).diagnose(layout);
        QCOMPARE(findings(SpsKind::Receiver, found), expected);
        QCOMPARE(found.records, qint64(records));
        const SpsFieldRange& range = found.ranges[10];
        QCOMPARE(range.hasValues() ? SpsValue::text(SpsConversion::Fixed, range.minimum) + ".." +
                                         SpsValue::text(SpsConversion::Fixed, range.maximum)
                                   : QStringLiteral(".."),
                 easting);
    }

    // The real relation file opens with comment lines; the receiver file read with the built-in
    // layout has every record unreadable, at the line's first unreadable field.
    void realFiles()
    {
        OBR_REQUIRE_REALDATA();
        SpsLines crook;
        QVERIFY(crook.read(obrtest::realDataDir() + "/sps/l2xcrook.txt"));
        const SpsDiagnostics relations = SpsScanner(crook).diagnose(SpsLayout::revision21(SpsKind::Relation));
        QCOMPARE(relations.strayLineCount, qint64(8));
        QCOMPARE(relations.strayLines.first().line, 1);
        QCOMPARE(relations.strayLines.last().line, 8);
        QCOMPARE(relations.problemCount, qint64(0));
        SpsLines all;
        QVERIFY(all.read(obrtest::realDataDir() + "/sps/l2rall.txt"));
        const SpsDiagnostics receivers = SpsScanner(all).diagnose(SpsLayout::defaults(SpsKind::Receiver));
        QCOMPARE(receivers.unreadableRecords, receivers.records);
        QCOMPARE(SpsDiagnostics::problemText(SpsKind::Receiver, receivers.problems.first()),
                 "line 6, Receiver line (2-17): '100.00    10' is not a number");
        QCOMPARE(SpsScanner(all).diagnose(SpsDetection::detect(SpsKind::Receiver, all).layout).problemCount,
                 qint64(0));
    }

    void detection_data()
    {
        obrtest::columns<QStringList, QString, QString>({"file", "name", "reason"});
        const auto points = [](bool revision21, int shift) {
            QStringList lines;
            for (int i = 1; i <= 5; ++i)
                lines << point('S', revision21, 1001, 100 + 2 * i, QString::number(1000 + i * 25.0, 'f', 1),
                               shift);
            return lines;
        };
        QTest::newRow("SPS 1.0 with H00") << QStringList{h00_10} + points(false, 0) << "SPS 1.0/2.0"
                                          << "H00 line 1 says SPS 1.0/2.0";
        QTest::newRow("SPS 1.0 without H00") << points(false, 0) << "SPS 1.0/2.0"
                                             << "no H00 line; the first 5 records have 5 faults as "
                                                "SPS 2.1, 0 as SPS 1.0/2.0";
        QTest::newRow("SPS 2.1 with H00") << QStringList{h00_21} + points(true, 0) << "SPS 2.1"
                                          << "H00 line 1 says SPS 2.1";
        QTest::newRow("SPS 2.1 without H00") << points(true, 0) << "SPS 2.1"
                                             << "no H00 line; the first 5 records have 0 faults as "
                                                "SPS 2.1, 5 as SPS 1.0/2.0";
        QTest::newRow("H00 that the records belie")
            << QStringList{h00_10} + points(true, 0) << "SPS 2.1"
            << "H00 line 1 says SPS 1.0/2.0, but the first 5 records have 0 faults as SPS 2.1, 5 "
               "as SPS 1.0/2.0";
        QTest::newRow("SPS 2.1 after a leading blank")
            << QStringList{h00_21} + points(true, 1) << "SPS 2.1, shifted by 1 column"
            << "H00 line 1 says SPS 2.1; the records start after 1 blank";
        QTest::newRow("SPS 1.0 after two leading blanks")
            << points(false, 2) << "SPS 1.0/2.0, shifted by 2 columns"
            << "no H00 line; the first 5 records have 5 faults as SPS 2.1, 0 as SPS 1.0/2.0; the "
               "records start after 2 blanks";
    }
    void detection()
    {
        const auto [file, name, reason] =
            obrtest::fetch<QStringList, QString, QString>("file", "name", "reason");
        const SpsLines lines = linesOf(file);
        const SpsDetection detected = SpsDetection::detect(SpsKind::Source, lines);
        QCOMPARE(detected.name(), name);
        QCOMPARE(detected.reason, reason);
        // The layout found reads every record, each easting among them.
        const SpsDiagnostics found = SpsScanner(lines).diagnose(detected.layout);
        QCOMPARE(found.records, qint64(5));
        QCOMPARE(found.problemCount + found.missing[10], qint64(0));
        QCOMPARE(SpsValue::text(SpsConversion::Fixed, found.ranges[10].maximum), QStringLiteral("1125.0"));
    }

    void obrioRanges()
    {
        const QString path = home.path() + "/shifted.S";
        QVERIFY(obrtest::writeFile(
            path,
            (QStringList{point('S', false, 1, 2, "10.0", 1), point('S', false, 1, 3, "Fault", 1)}.join('\n') +
             '\n')
                .toLatin1()));
        const auto runs = obrtest::runObrioEach(
            home.path(), {{"sps", "ranges", "--kind", "S", path, "--strict"},
                          {"sps", "ranges", "--kind", "S", path, "--strict", "--layout", "auto"}});
        QCOMPARE(runs[0].status, 0);
        QCOMPARE(runs[0].out.value(0), path + ": 0 data lines (lines with \"S\" in columns 1-1)");
        QCOMPARE(runs[0].out.last(),
                 "Detected layout: SPS 1.0/2.0, shifted by 1 column (no H00 line; the first 2 "
                 "records have 1 faults as SPS 2.1, 1 as SPS 1.0/2.0; the records "
                 "start after 1 blank); --layout auto reads with it");
        QCOMPARE(runs[1].status, 1);
        QVERIFY(runs[1].out.contains("  line 2, Easting (48-56): 'Fault' is not a number"));
        QCOMPARE(runs[1].err, QStringList{" *** Error:   " + path + ": 1 unreadable record (--strict)"});
    }

    // The panel lists what cannot be read, a click shows the line; the layout detected reads all.
    void analyzerPanelAndDetectedLayout()
    {
        const QString path = home.path() + "/panel.R";
        QVERIFY(obrtest::writeFile(path, (QStringList{"C written by hand", point('R', true, 1, 2, "10.0", 1),
                                                      point('R', true, 1, 3, "12.5", 1)}
                                              .join('\n') +
                                          '\n')
                                             .toLatin1()));
        RecordingConsole console;
        SpsReceiverAnalyzer analyzer(nullptr, home.path(), path, &console);
        auto* problems = obrtest::control<QListWidget>(analyzer, "Problems");
        QCOMPARE(problems->item(0)->text(),
                 "0 records: 0 unreadable records (0 fields), 3 lines that are not records");
        QCOMPARE(problems->count(), 4);
        QTest::mouseClick(problems->viewport(), Qt::LeftButton, {},
                          problems->visualItemRect(problems->item(3)).center());
        QCOMPARE(obrtest::control<SpsTextView>(analyzer, "Text")->shownLine(), 2);
        obrtest::control<QPushButton>(analyzer, "DetectLayout")->click();
        const SpsLayout expected = SpsDetection::shifted(SpsLayout::revision21(SpsKind::Receiver), 1);
        QVERIFY(analyzer.scanLayout() == expected);
        QCOMPARE(problems->item(0)->text(),
                 "2 records: 0 unreadable records (0 fields), 1 line that is not a record");
    }

private:
    QTemporaryDir home;
};

OBR_TEST_MAIN(TestSpsDiagnostics)
#include "tst_sps_diagnostics.moc"
