#include "analyzers/ui/SegdAnalyzer.h"
#include "analyzers/ui/TracePlotView.h"
#include "seismic/SegdData.h"
#include "seismic/TraceGather.h"
#include "tests/support/Controls.h"
#include "tests/support/DataTable.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegdStandardFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextEdit>

using obrtest::ObrioRun;

Q_DECLARE_METATYPE(segdstd::FieldFile)

namespace {

QJsonObject document(const ObrioRun& run)
{
    return QJsonDocument::fromJson(run.out.join(QLatin1Char('\n')).toUtf8()).object();
}

int samplesWritten(const segdstd::ChannelSet& set)
{
    return set.writtenSamples.value_or(set.samples);
}

// What the fixture wrote, worked out from its description: the channel sets' traces and the
// range of their sample values (1000 x trace + sample), seismic and auxiliary apart.
struct Written {
    explicit Written(const segdstd::FieldFile& file)
    {
        int trace = 0;
        for (const segdstd::ChannelSet& set : file.channelSets) {
            const bool seismic = set.type == 1;
            double& low = seismic ? seismicLow : auxLow;
            double& high = seismic ? seismicHigh : auxHigh;
            for (int c = 0; c < set.channels; ++c, ++trace) {
                low = std::min(low, segdstd::sampleValue(trace, 0));
                high = std::max(high, segdstd::sampleValue(trace, samplesWritten(set) - 1));
            }
            traces += set.channels;
            bytes +=
                qint64(set.channels) * segdstd::traceRecordBytes(file, int(&set - file.channelSets.data()));
        }
        bytes += segdstd::headerLength(file);
    }

    int traces = 0;
    qint64 bytes = 0; // headers and trace records
    double seismicLow = 1e300;
    double seismicHigh = -1e300;
    double auxLow = 1e300;
    double auxHigh = -1e300;
};

QString text(const SegdAnalyzer& analyzer, const char* name)
{
    if (auto* edit = analyzer.findChild<QLineEdit*>(name))
        return edit->text();
    if (auto* shown = analyzer.findChild<QLabel*>(name))
        return shown->text();
    return QStringLiteral("<no field %1>").arg(QLatin1String(name));
}

} // namespace

// Field files of several recorders' conventions, written from the standard's byte layout, read
// through obrio, the analyzer and the copy.
class TestSegdConventions : public QObject {
    Q_OBJECT
private slots:
    void readable_data()
    {
        obrtest::columns<segdstd::FieldFile>({"file"});
        QTest::newRow("nodal revision 1.6, count in extension 1, end after the last sample")
            << segdstd::nodalRevision16();
        QTest::newRow("Sercel revision 1.0") << segdstd::sercelRevision1();
        QTest::newRow("revision 2.1 of another maker, three set lengths") << segdstd::standardRevision21();
        QTest::newRow("revision 3.1 of another maker, 8080, three set lengths")
            << segdstd::standardRevision31();
        QTest::newRow("revision 1 without a stated count") << segdstd::revision1WithoutStatedSamples();
        QTest::newRow("bytes after the last trace") << segdstd::withTrailingBytes();
    }
    void readable()
    {
        const auto [file] = obrtest::fetch<segdstd::FieldFile>("file");
        const Written written(file);
        QTemporaryDir in;
        const QString path = in.filePath(QStringLiteral("shot.segd"));
        const QByteArray bytes = segdstd::build(file);
        QVERIFY(obrtest::writeFile(path, bytes));
        QVERIFY(QDir(home.path()).mkpath("out"));

        const QList<ObrioRun> runs = obrtest::runObrioEach(home.path(), {{"segd", "info", "--json", path},
                                                                         {"segd", "scan", "--json", path},
                                                                         {"segd", "headers", path},
                                                                         {"copy", "segd", in.path(), "out"}});
        for (const ObrioRun& run : runs)
            QVERIFY2(run.status == 0, qPrintable(run.err.join('\n')));

        const QJsonObject info = document(runs.at(0));
        QCOMPARE(info["revision"].toString(),
                 QStringLiteral("%1.%2").arg(file.majorRevision).arg(file.minorRevision));
        QCOMPARE(info["traceCount"].toInt(), written.traces);
        QCOMPARE(info["bytesAfterLastTrace"].toInt(), file.appended.size());
        const QJsonArray sets = info["channelSets"].toArray();
        QCOMPARE(sets.size(), file.channelSets.size());
        for (int s = 0; s < sets.size(); ++s) {
            const QJsonObject set = sets[s].toObject();
            QCOMPARE(set["samples"].toInt(), samplesWritten(file.channelSets[s]));
            QCOMPARE(set["extensions"].toInt(), file.extensions);
            QCOMPARE(set["seismic"].toBool(), file.channelSets[s].type == 1);
        }
        if (file.majorRevision >= 3)
            QCOMPARE(info["timeZeroUtc"].toString(),
                     file.timeZero.toString("yyyy-MM-dd hh:mm:ss.zzz") + " UTC");

        const QJsonObject scanned = document(runs.at(1))["files"].toArray().first().toObject();
        QCOMPARE(scanned["traces"].toInt(), written.traces);
        const QJsonObject seismic = scanned["seismic"].toObject();
        QCOMPARE(seismic["minimum"].toDouble(), written.seismicLow);
        QCOMPARE(seismic["maximum"].toDouble(), written.seismicHigh);
        const QJsonValue aux = scanned["auxiliary"];
        QCOMPARE(aux.isNull(), written.auxLow > written.auxHigh);
        if (!aux.isNull())
            QCOMPARE(aux.toObject()["maximum"].toDouble(), written.auxHigh);

        QCOMPARE(runs.at(2).out.size(), 1 + written.traces);
        QCOMPARE(runs.at(2).out.at(1).section(QStringLiteral(", "), 0, 0), QString::number(file.fieldFile));

        // The copy is the field file as it was, less what follows its last trace.
        QCOMPARE(obrtest::readFile(home.filePath("out/00001.sgd")), bytes.left(int(written.bytes)));
        QCOMPARE(runs.at(3).err.join('\n').contains(QStringLiteral("after the last trace")),
                 !file.appended.isEmpty());
        QVERIFY(QDir(home.filePath("out")).removeRecursively());

        RecordingConsole console;
        ModalDialogCloser closer;
        SegdAnalyzer analyzer(&console, nullptr, path);
        QCOMPARE(closer.count(), file.manufacturer == 13 ? 0 : 1);
        QCOMPARE(text(analyzer, "Ffid"), QString::number(file.fieldFile));
        if (file.majorRevision >= 3)
            QVERIFY(analyzer.findChild<QLineEdit*>("Time")->toolTip().endsWith(
                file.timeZero.toString("yyyy-MM-dd hh:mm:ss.zzz") + " UTC"));
        QCOMPARE(text(analyzer, "NumChanSets"), QString::number(file.channelSets.size()));
        QCOMPARE(text(analyzer, "TraceCountTx"), QStringLiteral("%1 traces in record").arg(written.traces));
        QCOMPARE(analyzer.recordGather()->count(), written.traces);
        QCOMPARE(analyzer.seismicImage()->plot().annotations.size(), written.traces);
        QVERIFY(console.errors().isEmpty());
    }

    // Which count was taken, and why, is said at -v.
    void samplesRuleSaid()
    {
        const QString path = home.filePath(QStringLiteral("nodal.segd"));
        QVERIFY(obrtest::writeFile(path, segdstd::build(segdstd::nodalRevision16())));
        const ObrioRun run = obrtest::runObrio(home.path(), {"segd", "info", "-v", path});
        QCOMPARE(run.status, 0);
        QVERIFY2(
            run.err.contains(QStringLiteral("  * Debug:   %1: channel set 3: 30,000 samples per trace from "
                                            "trace header extension 1 and the channel set times, which tile "
                                            "the file; 30,001 from the channel set times do not tile it")
                                 .arg(path)),
            qPrintable(run.err.join('\n')));
    }

    void unreadable_data()
    {
        obrtest::columns<segdstd::FieldFile, QString>({"file", "error"});
        const segdstd::FieldFile standard = segdstd::standardRevision21();
        const Written whole(standard);
        const int header = segdstd::headerLength(standard);
        const QString announced =
            QStringLiteral(
                "the headers announce 8 traces of 501 to 1,001 samples (%1 bytes); the file holds %2 bytes")
                .arg(QLocale(QLocale::English).toString(whole.bytes));
        QTest::newRow("a header alone") << segdstd::headerOnly() << announced.arg(header);
        QTest::newRow("a header and one bare trace header")
            << segdstd::headerAndBareTraceHeader() << announced.arg(header + 20);
        QTest::newRow("counts that match neither rule")
            << segdstd::countsMatchNeitherRule() << QStringLiteral("cannot be told: neither ");
    }
    // Refused with the file's name and what is missing; the analyzer still shows the general
    // header and the bytes.
    void unreadable()
    {
        const auto [file, error] = obrtest::fetch<segdstd::FieldFile, QString>("file", "error");
        QTemporaryDir in;
        const QString path = in.filePath(QStringLiteral("broken.segd"));
        const QByteArray bytes = segdstd::build(file);
        QVERIFY(obrtest::writeFile(path, bytes));
        QTemporaryDir out;
        const QList<ObrioRun> runs =
            obrtest::runObrioEach(home.path(), {{"segd", "info", path},
                                                {"segd", "scan", path},
                                                {"segd", "headers", path},
                                                {"copy", "segd", in.path(), out.path()}});
        for (const ObrioRun& run : runs) {
            QCOMPARE(run.status, 1);
            QVERIFY2(run.err.join('\n').contains(error) && run.err.join('\n').contains(path),
                     qPrintable(error + " not in:\n" + run.err.join('\n')));
        }
        QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList());

        RecordingConsole console;
        ModalDialogCloser closer;
        SegdAnalyzer analyzer(&console, nullptr, path);
        QVERIFY(console.errors().join('\n').contains(error));
        QCOMPARE(text(analyzer, "Ffid"), QString::number(file.fieldFile));
        QCOMPARE(text(analyzer, "FileSizeTx"), QStringLiteral("%1 bytes in file").arg(bytes.size()));
        QVERIFY(analyzer.findChild<QTextEdit*>("HexDump")->toPlainText().startsWith("Bytes 1 - "));
    }

    // A folder of many field files is listed once, not once for every file it holds.
    void folderListedOnce()
    {
        QTemporaryDir folder;
        segdstd::FieldFile small = segdstd::standardRevision21();
        small.channelSets = {{2, 5}};
        for (int n = 1; n <= 2000; ++n) {
            small.fieldFile = n;
            QVERIFY(
                obrtest::writeFile(folder.filePath(QStringLiteral("%1.sgd").arg(n, 5, 10, QLatin1Char('0'))),
                                   segdstd::build(small)));
        }
        const ObrioRun run = obrtest::runObrio(home.path(), {"segd", "scan", "-v", folder.path()});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err.filter(QStringLiteral("Debug:   listed ")),
                 QStringList{QStringLiteral("  * Debug:   listed %1: 2000 field files, 0 other files")
                                 .arg(folder.path())});
        QVERIFY(run.out.contains(QStringLiteral("Files read: 2000 of 2000")));
    }

private:
    QTemporaryDir home;
};

OBR_TEST_MAIN(TestSegdConventions)
#include "tst_segd_conventions.moc"
