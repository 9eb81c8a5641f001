#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SeismicTrace.h"
#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegyExtensionFixture.h"
#include "tests/support/SegyFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>

namespace {

using obrtest::ObrioRun;

// The words of the output line that starts with label.
QStringList lineWords(const QStringList& out, const QString& label)
{
    for (const QString& line : out) {
        if (line.startsWith(label))
            return line.mid(label.size())
                .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    }
    return {};
}

// Three shots of four channels, stored channel-major: shot of file trace i is i mod 3.
void fillLine(SeismicTrace& trace, int i)
{
    trace.setValue(TraceKey::FieldFile, 20 + i % 3);
    trace.setValue(TraceKey::Channel, 1 + i / 3);
    trace.setValue(TraceKey::SourceLine, 4);
    trace.setValue(TraceKey::SourceLocation, 300 + i % 3);
    for (int s = 0; s < trace.sampleCount(); ++s)
        trace.data()[s] = s - 2 * i;
}

} // namespace

class TestObrioSegy : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        file = home.filePath(QStringLiteral("line.sgy"));
        SegyFormat format;
        segytest::FileLayout layout;
        layout.traces = 12;
        layout.samples = 8;
        RecordingConsole console(1);
        QVERIFY(segytest::writeFile(file, format, layout, fillLine, &console));
    }

    void readingActions()
    {
        const QString partial = home.filePath(QStringLiteral("partial.sgy"));
        QVERIFY(obrtest::writeFile(partial, obrtest::readFile(file) + "xyz"));
        const QList<ObrioRun> runs =
            obrtest::runObrioEach(home.path(), {{"segy", "info", file},
                                                {"segy", "info", partial},
                                                {"segy", "headers", "--first", "2", "--last", "3", file},
                                                {"segy", "scan", file},
                                                {"segy", "dump", "--trace", "5", file}});
        for (const ObrioRun& run : runs)
            QCOMPARE(run.status, 0);

        const QStringList& info = runs[0].out;
        QVERIFY(info.contains(QStringLiteral("C 1 TEST FILE")));
        QCOMPARE(lineWords(info, QStringLiteral("Trace count:")), QStringList("12"));
        QCOMPARE(lineWords(info, QStringLiteral("Trace length:")), QStringList({"272", "bytes"}));
        QVERIFY(runs[0].err.isEmpty());
        QVERIFY(runs[1].err.join('\n').contains(
            QStringLiteral("is not a whole number of traces: 3 bytes follow")));

        const QStringList& headers = runs[2].out;
        QCOMPARE(lineWords(headers, QStringLiteral("Field file number")), QStringList({"21", "22"}));
        QCOMPARE(lineWords(headers, QStringLiteral("Coordinate scalar")), QStringList({"-100", "-100"}));
        QCOMPARE(headers.size(), 2 + 29);

        double squares = 0;
        for (int i = 0; i < 12; ++i)
            for (int s = 0; s < 8; ++s)
                squares += double(s - 2 * i) * (s - 2 * i);
        const QStringList& scan = runs[3].out;
        QCOMPARE(lineWords(scan, QStringLiteral("Traces read:")), QStringList({"12", "of", "12"}));
        QCOMPARE(lineWords(scan, QStringLiteral("Minimum:")), QStringList("-22"));
        QCOMPARE(lineWords(scan, QStringLiteral("Maximum:")), QStringList("7"));
        QCOMPARE(lineWords(scan, QStringLiteral("RMS:")),
                 QStringList(QString::number(std::sqrt(squares / 96), 'g', 9)));

        const QStringList& dump = runs[4].out;
        QCOMPARE(lineWords(dump, QStringLiteral("     9 int32  Field file")), QStringList("21"));
        QCOMPARE(lineWords(dump, QStringLiteral("   12 SequentialTrace")), QStringList("5"));
    }

    // A format of 480-byte trace headers reads extension 1; its words have ranges and are dumped.
    // (The plain file of readingActions shows no extension lines.)
    void extensionOneWords()
    {
        const QString path = home.filePath(QStringLiteral("extended.sgy"));
        const QString format = home.filePath(QStringLiteral("extended.xml"));
        QVERIFY(obrtest::writeFile(path, segytest::extensionOneFile()));
        QVERIFY(obrtest::writeFile(format, segytest::extensionOneFormat));
        const QList<ObrioRun> runs =
            obrtest::runObrioEach(home.path(), {{"segy", "headers", "--format", format, path},
                                                {"segy", "headers", "--json", "--format", format, path},
                                                {"segy", "dump", "--trace", "2", "--format", format, path}});
        for (const ObrioRun& run : runs)
            QCOMPARE(run.status, 0);

        const QStringList& headers = runs[0].out;
        QCOMPARE(headers.size(), 2 + 29 + 1 + 25);
        QVERIFY(headers.contains(QStringLiteral("Trace header extension 1")));
        QCOMPARE(lineWords(headers, QStringLiteral("Extended trace number in line")),
                 QStringList({"1", "2"}));
        QCOMPARE(lineWords(headers, QStringLiteral("Extended field file")), QStringList({"-1", "21"}));
        QCOMPARE(lineWords(headers, QStringLiteral("Extended source X")),
                 QStringList({"-12.25", "687104.5"}));
        QCOMPARE(lineWords(headers, QStringLiteral("Extended source Y")), QStringList({"2000", "2000"}));
        QCOMPARE(lineWords(headers, QStringLiteral("Extended number of samples")), QStringList({"2", "2"}));
        QCOMPARE(lineWords(headers, QStringLiteral("Receiver depth below surface")), QStringList({"0", "0"}));

        const QJsonObject document = QJsonDocument::fromJson(runs[1].out.join('\n').toUtf8()).object();
        const QJsonArray words = document.value(QStringLiteral("extension1")).toArray();
        QCOMPARE(words.size(), 25);
        QCOMPARE(words[12].toObject().value(QStringLiteral("field")).toString(),
                 QStringLiteral("Extended source X"));
        QCOMPARE(words[12].toObject().value(QStringLiteral("minimum")).toDouble(), -12.25);

        const QStringList& dump = runs[2].out;
        QCOMPARE(lineWords(dump, QStringLiteral("   241 uint64 Extended trace number in line")),
                 QStringList("2"));
        QCOMPARE(lineWords(dump, QStringLiteral("   257 int64  Extended field file")), QStringList("-1"));
        QCOMPARE(lineWords(dump, QStringLiteral("   337 double Extended source X")), QStringList("-12.25"));
        QCOMPARE(lineWords(dump, QStringLiteral("   473 text   Extension 1 header name")),
                 QStringList("SEG00001"));
    }

    // Trace counts no thread count divides, over one block of traces or several, and a file
    // that ends in part of a trace: the same figures on any number of threads.
    void scanSameOnAnyThreads_data()
    {
        obrtest::columns<int, int, int, int>({"format", "traces", "samples", "extraBytes"});
        QTest::newRow("IBM, 1003 traces in 5 blocks") << 1 << 1003 << 1000 << 0;
        QTest::newRow("IEEE, 1003 traces and a part") << 5 << 1003 << 1000 << 100;
        QTest::newRow("16-bit, 13 traces") << 3 << 13 << 50 << 0;
        QTest::newRow("one trace") << 2 << 1 << 7 << 0;
    }
    void scanSameOnAnyThreads()
    {
        const auto [format, traces, samples, extraBytes] =
            obrtest::fetch<int, int, int, int>("format", "traces", "samples", "extraBytes");
        const QString path = home.filePath(QStringLiteral("threads%1.sgy").arg(format));
        SegyFormat segyFormat;
        segytest::FileLayout layout;
        layout.sampleFormat = format;
        layout.traces = traces;
        layout.samples = samples;
        RecordingConsole console(1);
        const auto fill = [](SeismicTrace& trace, int i) {
            for (int s = 0; s < trace.sampleCount(); ++s)
                trace.data()[s] = std::round(3000 * std::sin(0.01 * s * (i % 17 + 1)) * std::exp(-0.001 * s));
        };
        QVERIFY(segytest::writeFile(path, segyFormat, layout, fill, &console));
        QFile grown(path);
        QVERIFY(grown.open(QIODevice::Append) && grown.write(QByteArray(extraBytes, '\x42')) == extraBytes);
        grown.close();
        const QString differences = obrtest::threadsDiffer(home.path(), {"segy", "scan"}, path);
        QVERIFY2(differences.isEmpty(), qPrintable(differences));
        const ObrioRun run = obrtest::runObrio(home.path(), {"segy", "scan", "--threads", "3", path});
        QCOMPARE(lineWords(run.out, QStringLiteral("Traces read:")),
                 QStringList({QString::number(traces), "of", QString::number(traces)}));
    }

    void scanSameOnAnyThreadsOnRealFiles()
    {
        OBR_REQUIRE_REALDATA();
        const QDir real(obrtest::realDataDir() + QStringLiteral("/segy"));
        const QStringList names = real.entryList({QStringLiteral("*.sgy")}, QDir::Files, QDir::Name);
        QVERIFY(!names.isEmpty());
        for (const QString& name : names) {
            const QString differences =
                obrtest::threadsDiffer(home.path(), {"segy", "scan"}, real.filePath(name));
            QVERIFY2(differences.isEmpty(), qPrintable(name + '\n' + differences));
        }
    }

    void sortWritesGathersInOrder()
    {
        const QString sorted = home.filePath(QStringLiteral("sorted.sgy"));
        const ObrioRun run =
            obrtest::runObrio(home.path(), {"segy", "sort", "--by", "1", "--out", sorted, file});
        QCOMPARE(run.status, 0);
        QCOMPARE(lineWords(run.out, QStringLiteral("Sort code 1:")),
                 QStringList({"3", "gathers", "of", "12", "traces"}));
        QVERIFY(run.out.contains(
            QStringLiteral("Gather 2: 4 traces, first trace 2, SourceLine 4, SourceLocation 301")));

        RecordingConsole console(1);
        SegyFormat format;
        SegyData data(&console, sorted, 0, &format);
        QCOMPARE(data.traceCount(), 12);
        const auto trace = SeismicTrace::create(data.samples(), data.sampleInterval());
        QVERIFY(data.seekSequentialTrace(1));
        for (int n = 0; n < 12; ++n) {
            QVERIFY(data.readTrace(*trace));
            QCOMPARE(trace->value(TraceKey::FieldFile), double(20 + n / 4));
            QCOMPARE(trace->data()[0],
                     double(-2 * (3 * (n % 4) + n / 4))); // samples travel with their header
        }
    }

    void usage_data()
    {
        obrtest::columns<QStringList, int, QString>({"arguments", "exitCode", "err"});
        QTest::newRow("unknown sort code")
            << QStringList{"segy", "sort", "--by", "7", "x"} << 2 << "unknown sort code 7";
        QTest::newRow("sort over its input")
            << QStringList{"segy", "sort", "--by", "1", "--out", file, file, "--overwrite"} << 1
            << "would overwrite its input";
        QTest::newRow("missing file")
            << QStringList{"segy", "scan", "missing.sgy"} << 1 << "failed to open disk file";
        QTest::newRow("unreadable format") << QStringList{"segy", "info", "--format", "none.xml", "x"} << 1
                                           << "cannot read SEG-Y format file none.xml";
    }
    void usage()
    {
        const auto [arguments, exitCode, err] =
            obrtest::fetch<QStringList, int, QString>("arguments", "exitCode", "err");
        const ObrioRun run = obrtest::runObrio(home.path(), arguments);
        QCOMPARE(run.status, exitCode);
        QVERIFY2(run.err.join('\n').contains(err), qPrintable(run.err.join('\n')));
        if (exitCode == 2)
            QVERIFY(run.out.isEmpty());
    }

private:
    QTemporaryDir home;
    QString file;
};

OBR_TEST_MAIN(TestObrioSegy)
#include "tst_obrio_segy.moc"
