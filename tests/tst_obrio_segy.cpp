#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyFormatFile.h"
#include "seismic/SeismicTrace.h"
#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegyFixture.h"
#include "tests/support/TestMain.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>

namespace {

struct Run {
    int exitCode;
    QString out;
    QString err;
};

// The whole output of obrio run with its own home, so the settings and the working root are the test's.
Run obrio(const QString& home, const QStringList& arguments)
{
    const obrtest::ObrioRun run = obrtest::runObrio(home, arguments);
    return {run.status, run.out.isEmpty() ? QString() : run.out.join('\n') + '\n', run.err.join('\n')};
}

// The words of the output line that starts with label.
QStringList lineWords(const QString& out, const QString& label)
{
    for (const QString& line : out.split(QLatin1Char('\n'))) {
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

    void info()
    {
        const Run run = obrio(home.path(), {"segy", "info", file});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains(QStringLiteral("\nC 1 TEST FILE\n")));
        QCOMPARE(lineWords(run.out, QStringLiteral("Trace count:")), QStringList("12"));
        QCOMPARE(lineWords(run.out, QStringLiteral("Sample format:")), QStringList({"5", "(IEEE", "float)"}));
        QCOMPARE(lineWords(run.out, QStringLiteral("Byte order:")), QStringList({"big", "endian"}));
        QCOMPARE(lineWords(run.out, QStringLiteral("Trace length:")), QStringList({"272", "bytes"}));
        QVERIFY(run.err.isEmpty());

        const QString partial = home.filePath(QStringLiteral("partial.sgy"));
        QVERIFY(QFile::copy(file, partial));
        QFile grown(partial);
        QVERIFY(grown.open(QIODevice::Append) && grown.write("xyz") == 3);
        grown.close();
        const Run cut = obrio(home.path(), {"segy", "info", partial});
        QCOMPARE(cut.exitCode, 0);
        QVERIFY(cut.err.contains(QStringLiteral("is not a whole number of traces: 3 bytes follow")));
    }

    void headers()
    {
        const Run run = obrio(home.path(), {"segy", "headers", "--first", "2", "--last", "3", file});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(lineWords(run.out, QStringLiteral("Field file number")), QStringList({"21", "22"}));
        QCOMPARE(lineWords(run.out, QStringLiteral("Source location")), QStringList({"301", "302"}));
        QCOMPARE(lineWords(run.out, QStringLiteral("Coordinate scalar")), QStringList({"-100", "-100"}));
        QCOMPARE(run.out.count(QLatin1Char('\n')), 2 + 29);
    }

    void scan()
    {
        const Run run = obrio(home.path(), {"segy", "scan", file});
        QCOMPARE(run.exitCode, 0);
        double squares = 0;
        for (int i = 0; i < 12; ++i)
            for (int s = 0; s < 8; ++s)
                squares += double(s - 2 * i) * (s - 2 * i);
        QCOMPARE(lineWords(run.out, QStringLiteral("Traces read:")), QStringList({"12", "of", "12"}));
        QCOMPARE(lineWords(run.out, QStringLiteral("Minimum:")), QStringList("-22"));
        QCOMPARE(lineWords(run.out, QStringLiteral("Maximum:")), QStringList("7"));
        QCOMPARE(lineWords(run.out, QStringLiteral("RMS:")),
                 QStringList(QString::number(std::sqrt(squares / 96), 'g', 9)));
        QVERIFY(lineWords(run.out, QStringLiteral("Speed:")).value(1) == QLatin1String("MB/s"));
    }

    void sortWritesGathersInOrder()
    {
        const QString sorted = home.filePath(QStringLiteral("sorted.sgy"));
        const Run run = obrio(home.path(), {"segy", "sort", "--by", "1", "--out", sorted, file});
        QCOMPARE(run.exitCode, 0);
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

        const Run over = obrio(home.path(), {"segy", "sort", "--by", "1", "--out", file, file});
        QCOMPARE(over.exitCode, 1);
        QVERIFY(over.err.contains(QStringLiteral("would overwrite its input")));
    }

    void dump()
    {
        const Run run = obrio(home.path(), {"segy", "dump", "--trace", "5", file});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(lineWords(run.out, QStringLiteral("     9 int32  Field file")), QStringList("21"));
        QCOMPARE(lineWords(run.out, QStringLiteral("    2 Channel")), QStringList("2"));
        QCOMPARE(lineWords(run.out, QStringLiteral("   12 SequentialTrace")), QStringList("5"));
    }

    void formatTemplateIsTheStandard()
    {
        const Run run = obrio(home.path(), {"segy", "format-template"});
        QCOMPARE(run.exitCode, 0);
        const QString path = home.filePath(QStringLiteral("template.xml"));
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(run.out.toUtf8()) > 0);
        out.close();
        SegyFormatFile read(path, 0);
        QVERIFY(read.read());
        QCOMPARE(read.name(), QStringLiteral("SEGY Standard"));
        SegyFormat expected;
        expected.endianOrder = SegyFormat::FromData;
        QVERIFY(read.format() == expected);
    }

    void setupInstallsTheStandardFormat()
    {
        QTemporaryDir fresh;
        QCOMPARE(obrio(fresh.path(), {"setup"}).exitCode, 0);
        SegyFormatFile standard(fresh.path() + QStringLiteral("/Documents/krd/SegyFormats/SEGY Standard.xml"),
                                0);
        QVERIFY(standard.read());
    }

    void usage_data()
    {
        obrtest::columns<QStringList, int, QString>({"arguments", "exitCode", "err"});
        QTest::newRow("no action") << QStringList{"segy"} << 2 << "segy needs an action";
        QTest::newRow("unknown action")
            << QStringList{"segy", "paint", "x"} << 2 << "unknown segy action 'paint'";
        QTest::newRow("no file") << QStringList{"segy", "info"} << 2 << "segy info takes 1 file argument";
        QTest::newRow("sort without code")
            << QStringList{"segy", "sort", "x"} << 2 << "segy sort needs --by CODE";
        QTest::newRow("unknown sort code")
            << QStringList{"segy", "sort", "--by", "7", "x"} << 2 << "unknown sort code 7";
        QTest::newRow("missing file")
            << QStringList{"segy", "scan", "missing.sgy"} << 1 << "failed to open disk file";
        QTest::newRow("unreadable format") << QStringList{"segy", "info", "--format", "none.xml", "x"} << 1
                                           << "cannot read SEG-Y format file none.xml";
        QTest::newRow("action help") << QStringList{"segy", "sort", "--help"} << 0 << "";
    }
    void usage()
    {
        const auto [arguments, exitCode, err] =
            obrtest::fetch<QStringList, int, QString>("arguments", "exitCode", "err");
        const Run run = obrio(home.path(), arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.contains(err), qPrintable(run.err));
        QCOMPARE(run.out.isEmpty(), exitCode != 0);
    }

private:
    QTemporaryDir home;
    QString file;
};

OBR_TEST_MAIN(TestObrioSegy)
#include "tst_obrio_segy.moc"
