#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SeismicTrace.h"
#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegyExtensionFixture.h"
#include "tests/support/SegyFixture.h"
#include "tests/support/SegyRevision2Fixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFile>
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
        QVERIFY(obrtest::writeFile(extended, segytest::extensionOneFile()));
        QVERIFY(obrtest::writeFile(extensionFormat, segytest::extensionOneFormat));
        segy2::File withAdditionalHeaders;
        withAdditionalHeaders.additionalTraceHeaders = 2;
        QVERIFY(obrtest::writeFile(revision2, segy2::build(withAdditionalHeaders)));
    }

    // What each reading action shows, line by line: the words after a label. EXT and FORMAT are
    // a file whose 480-byte trace headers hold extension 1 and the format that reads them.
    void readingActions_data()
    {
        obrtest::columns<QStringList, QString, QStringList>({"arguments", "label", "words"});
        const auto row = [](const QString& arguments, const char* label, const QString& words) {
            QTest::newRow(qPrintable(arguments + " | " + label))
                << arguments.split(' ') << label << words.split(' ', Qt::SkipEmptyParts);
        };
        row("info FILE", "Trace count:", "12");
        row("headers --first 2 --last 3 FILE", "Field file number", "21 22");
        row("scan FILE", "Traces read:", "12 of 12");
        // The samples are s - 2 i: the root of the mean of their 96 squares.
        row("scan FILE", "RMS:", "10.4482853");
        row("dump --trace 5 FILE", "     9 int32  Field file", "21");
        row("headers --format FORMAT EXT", "Extended field file", "-1 21");
        row("headers --format FORMAT EXT", "Extended source X", "-12.25 687104.5");
        row("dump --trace 2 --format FORMAT EXT", "   337 double Extended source X", "-12.25");
        // In revision 2 the first of the additional trace headers, named "SEG00001", is extension 1.
        row("headers REVISION2", "Extended trace number in line", "1 3");
    }
    void readingActions()
    {
        auto [arguments, label, words] =
            obrtest::fetch<QStringList, QString, QStringList>("arguments", "label", "words");
        arguments.replaceInStrings(QStringLiteral("FILE"), file);
        arguments.replaceInStrings(QStringLiteral("FORMAT"), extensionFormat);
        arguments.replaceInStrings(QStringLiteral("EXT"), extended);
        arguments.replaceInStrings(QStringLiteral("REVISION2"), revision2);
        const ObrioRun run = obrio(QStringList{"segy"} + arguments);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QStringList());
        QVERIFY2(std::any_of(run.out.begin(), run.out.end(),
                             [label = label](const QString& line) { return line.startsWith(label); }),
                 qPrintable(run.out.join('\n')));
        QCOMPARE(lineWords(run.out, label), words);
    }

    // Trace counts no thread count divides, over one block of traces or several, and a file
    // that ends in part of a trace: the same figures on any number of threads.
    void scanSameOnAnyThreads_data()
    {
        obrtest::columns<int, int, int, int>({"format", "traces", "samples", "extraBytes"});
        QTest::newRow("IBM, 1003 traces in 5 blocks") << 1 << 1003 << 1000 << 0;
        QTest::newRow("IEEE, 1003 traces and a part") << 5 << 1003 << 1000 << 100;
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

        // Samples travel with their header.
        RecordingConsole console(1);
        SegyFormat format;
        SegyData data(&console, sorted, 0, &format);
        const auto trace = SeismicTrace::create(data.samples(), data.sampleInterval());
        QVERIFY(data.traceCount() == 12 && data.seekSequentialTrace(5) && data.readTrace(*trace));
        QCOMPARE(trace->value(TraceKey::FieldFile), 21.0);
        QCOMPARE(trace->data()[0], -2.0);
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
    ObrioRun obrio(const QStringList& arguments) { return obrtest::runObrio(home.path(), arguments); }

    QTemporaryDir home;
    QString file;
    QString extended = home.filePath(QStringLiteral("extended.sgy"));
    QString extensionFormat = home.filePath(QStringLiteral("extended.xml"));
    QString revision2 = home.filePath(QStringLiteral("revision2.sgy"));
};

OBR_TEST_MAIN(TestObrioSegy)
#include "tst_obrio_segy.moc"
