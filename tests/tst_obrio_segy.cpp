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
#include <QTemporaryDir>
#include <cmath>

namespace {

using obrtest::ObrioRun;

// Whether a line of the output is the text, runs of spaces aside.
bool hasLine(const QStringList& out, const QString& text)
{
    return std::any_of(out.begin(), out.end(),
                       [&](const QString& line) { return line.simplified() == text; });
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

    // Each action with its options: the exit status, and a line of the output, or a text of the
    // errors. EXT and FORMAT are a file whose 480-byte trace headers hold extension 1 and the
    // format that reads them.
    void actions_data()
    {
        obrtest::columns<QString, int, QString>({"arguments", "status", "text"});
        const auto row = [](const QString& arguments, int status, const char* text) {
            QTest::newRow(qPrintable(arguments + " | " + text)) << arguments << status << text;
        };
        row("info FILE", 0, "Trace count: 12");
        row("headers --first 2 --last 3 FILE", 0, "Field file number 21 22");
        row("scan FILE", 0, "Traces read: 12 of 12");
        row("dump --trace 5 FILE", 0, "9 int32 Field file 21");
        row("headers --format FORMAT EXT", 0, "Extended source X -12.25 687104.5");
        // In revision 2 the first of the additional trace headers, named "SEG00001", is extension 1.
        row("headers REVISION2", 0, "Extended trace number in line 1 3");
        row("sort --by 7 x", 2, "unknown sort code 7");
        row("sort --by 1 --out FILE FILE --overwrite", 1, "would overwrite its input");
        row("info --format none.xml x", 1, "cannot read SEG-Y format file none.xml");
    }
    void actions()
    {
        const auto [arguments, status, text] =
            obrtest::fetch<QString, int, QString>("arguments", "status", "text");
        const QStringList words = QString(arguments)
                                      .replace(QStringLiteral("FORMAT"), extensionFormat)
                                      .replace(QStringLiteral("EXT"), extended)
                                      .replace(QStringLiteral("REVISION2"), revision2)
                                      .replace(QStringLiteral("FILE"), file)
                                      .split(' ');
        const ObrioRun run = obrio(QStringList{"segy"} + words);
        QCOMPARE(run.status, status);
        if (status == 0)
            QVERIFY2(run.err.isEmpty() && hasLine(run.out, text), qPrintable((run.out + run.err).join('\n')));
        else
            QVERIFY2(run.err.join('\n').contains(text) && (status == 1 || run.out.isEmpty()),
                     qPrintable(run.err.join('\n')));
    }

    // 1003 traces in several blocks, which no thread count divides, and part of a trace: the
    // same figures on any number of threads.
    void scanSameOnAnyThreads()
    {
        const int traces = 1003;
        const int extraBytes = 100;
        const QString path = home.filePath(QStringLiteral("threads.sgy"));
        SegyFormat segyFormat;
        segytest::FileLayout layout;
        layout.sampleFormat = 1;
        layout.traces = traces;
        layout.samples = 1000;
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
        QVERIFY(hasLine(run.out, QStringLiteral("Traces read: %1 of %1").arg(traces)));
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
        QVERIFY(hasLine(run.out, QStringLiteral("Sort code 1: 3 gathers of 12 traces")));
        QVERIFY(hasLine(
            run.out, QStringLiteral("Gather 2: 4 traces, first trace 2, SourceLine 4, SourceLocation 301")));

        // Samples travel with their header.
        RecordingConsole console(1);
        SegyFormat format;
        SegyData data(&console, sorted, 0, &format);
        const auto trace = SeismicTrace::create(data.samples(), data.sampleInterval());
        QVERIFY(data.traceCount() == 12 && data.seekSequentialTrace(5) && data.readTrace(*trace));
        QCOMPARE(trace->value(TraceKey::FieldFile), 21.0);
        QCOMPARE(trace->data()[0], -2.0);
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
