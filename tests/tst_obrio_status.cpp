#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/CliRun.h"
#include "cli/TerminalConsole.h"
#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/SegdStandardFixture.h"
#include "tests/support/SegyRevision2Fixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QTemporaryDir>

// The exit status of obrio is true: an action that writes an error exits with 1 (a usage error
// with 2), and a failure always says which file failed. First the dispatcher's rule on actions
// made for the test, then the cases that once broke it, through the program itself.
namespace {

using obrtest::ObrioRun;

int sayErrorReturnSuccess(const cli::Arguments&, TerminalConsole& console)
{
    console.error(QStringLiteral("x.sgy: something went wrong"), false);
    return cli::Success;
}

int failSilently(const cli::Arguments&, TerminalConsole&)
{
    return cli::JobFailed;
}

int usageAndJobFailed(const cli::Arguments& arguments, TerminalConsole&)
{
    arguments.usageError(QStringLiteral("--thing needs a number"));
    return cli::JobFailed;
}

// The status the dispatcher gives for an action, and the error lines it added to the action's.
std::pair<int, int> dispatch(cli::Command::Run run, const QStringList& positionals = {})
{
    const cli::Command command = cli::Command::action("test", "status", QStringLiteral("a test action"), run);
    cli::Arguments arguments(command);
    for (const QString& word : positionals)
        arguments.addPositional(word);
    TerminalConsole console(1);
    const int status = cli::runAction(command, arguments, console);
    return {status, console.errorCount()};
}

QString errors(const ObrioRun& run)
{
    return run.err.join(QLatin1Char('\n'));
}

// Whether every error line of the run names the file (by its name).
bool errorsName(const ObrioRun& run, const QString& path)
{
    const QStringList lines = run.err.filter(QStringLiteral(" *** Error:"));
    return !lines.isEmpty() && std::all_of(lines.begin(), lines.end(), [&](const QString& line) {
        return line.contains(QFileInfo(path).fileName());
    });
}

} // namespace

class TestObrioStatus : public QObject {
    Q_OBJECT
private slots:
    void dispatcherRule_data()
    {
        QTest::addColumn<void*>("run");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("errorLines");
        QTest::newRow("an error with status 0 fails")
            << reinterpret_cast<void*>(&sayErrorReturnSuccess) << 1 << 1;
        // The silent failure gets a line of its own, naming the command and its file.
        QTest::newRow("a silent failure is said") << reinterpret_cast<void*>(&failSilently) << 1 << 1;
        QTest::newRow("a usage error is status 2") << reinterpret_cast<void*>(&usageAndJobFailed) << 2 << 0;
    }
    void dispatcherRule()
    {
        QFETCH(void*, run);
        QFETCH(int, status);
        QFETCH(int, errorLines);
        const auto [got, lines] = dispatch(reinterpret_cast<cli::Command::Run>(run), {"x.sgy"});
        QCOMPARE(got, status);
        QCOMPARE(lines, errorLines);
    }

    void initTestCase()
    {
        for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
            qunsetenv(variable);
        QVERIFY(dir.isValid());
        // 74 traces of 101 samples, written from the standard's layout.
        segdstd::FieldFile file;
        file.channelSets = {{74, 101}};
        const QByteArray whole = segdstd::build(file);
        QVERIFY(obrtest::writeFile(segd74, whole));
        // The same, cut 10 bytes before its end: inside the last trace's samples.
        QVERIFY(obrtest::writeFile(path("cut"), whole.left(whole.size() - 10)));
        // Refused after its headers (found by tools/mutate-obrio).
        file.channelSets = {{0, 101}};
        QVERIFY(obrtest::writeFile(path("no-channels"), segdstd::build(file)));
        // A SEG-Y file without the keys of a sort (found by tools/mutate-obrio).
        segy2::File layout;
        layout.traces = 5;
        QVERIFY(obrtest::writeFile(path("no-keys"), segy2::build(layout)));
    }

    // Files a reader refuses: status 1, the reader's reason on error lines that all name the file,
    // and no output left behind.
    void refusalsNameTheFile_data()
    {
        obrtest::columns<QString, QStringList, QString>({"file", "arguments", "error"});
        const auto rows = [](const char* file, const char* error, const QList<QStringList>& runs) {
            for (const QStringList& arguments : runs)
                QTest::addRow("%s: %s", file, qPrintable(arguments.join(' '))) << file << arguments << error;
        };
        // One run per kind of refusal; tools/mutate-obrio walks the rest of the class.
        rows("cut", "cut short", {{"segd", "plot", "FILE", "--out", "OUT", "--last", "10"}});
        rows("no-channels", "no traces to input for Field File 1.",
             {{"segd", "headers", "FILE", "--csv", "OUT"}});
        rows("no-keys", "Data must have 3-D geometry to be sorted by Inline.",
             {{"segy", "sort", "FILE", "--by", "9", "--out", "OUT"}});
    }
    void refusalsNameTheFile()
    {
        auto [file, arguments, error] =
            obrtest::fetch<QString, QStringList, QString>("file", "arguments", "error");
        const QString out = path("refused-output");
        arguments.replaceInStrings(QStringLiteral("FILE"), path(file));
        arguments.replaceInStrings(QStringLiteral("OUT"), out);
        const ObrioRun run = obrtest::runObrio(dir.path(), arguments);
        QCOMPARE(run.status, 1);
        QVERIFY2(errors(run).contains(error), qPrintable(errors(run)));
        QVERIFY2(errorsName(run, path(file)), qPrintable(errors(run)));
        QVERIFY(!QFile::exists(out));
    }

    // Sizes from a file are no usage errors: a plot too large to draw fails with its size, before any
    // cast (the sanitizers would report an overflow), and leaves no picture.
    void plotTooLargeFromTheFile()
    {
        const QString interval = QStringLiteral("2147483647");
        segy2::File layout;
        layout.traces = 4;
        layout.samples = 1000;
        const QString file = dir.filePath(QStringLiteral("long.sgy"));
        QVERIFY(obrtest::writeFile(file, segy2::build(layout)));
        // The standard format file with the sample interval overridden.
        const ObrioRun tpl = obrtest::runObrio(dir.path(), {"segy", "format-template"});
        QCOMPARE(tpl.status, 0);
        QString xml = tpl.out.join(QLatin1Char('\n'));
        const QString word =
            QStringLiteral("Name=\"Sample interval\" StartByte=\"17\" DataType=\"2-byte integer\" "
                           "Override=\"false\" OverrideValue=\"2\"");
        QVERIFY(xml.contains(word));
        xml.replace(word,
                    QString(word).replace("false\" OverrideValue=\"2", "true\" OverrideValue=\"" + interval));
        const QString format = dir.filePath(QStringLiteral("interval.xml"));
        QVERIFY(obrtest::writeFile(format, xml.toUtf8()));
        const QString picture = dir.filePath(QStringLiteral("large.png"));
        const ObrioRun run = obrtest::runObrio(
            dir.path(), QStringList{"segy", "plot", file, "--format", format, "--out", picture});
        QVERIFY2(!errors(run).contains(QStringLiteral("runtime error")), qPrintable(errors(run)));
        QCOMPARE(run.status, 1);
        QVERIFY2(errors(run).contains(QStringLiteral("more than a picture may have")),
                 qPrintable(errors(run)));
        QVERIFY(!QFile::exists(picture));
    }

    // Pictures and tables that cannot be written leave nothing, and the error gives the system's
    // reason: a file size limit (as a full disk) makes every write fail.
    void outputsWholeOrAbsent_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("outputs");
        QTest::newRow("segd plot") << QStringList{"segd", "plot", "SEGD", "--out", "OUT/a.png"}
                                   << QStringList{"a.png"};
        QTest::newRow("segy histogram")
            << QStringList{"segy", "histogram", "SEGY", "--out", "OUT/h.png", "--csv", "OUT/h.csv"}
            << QStringList{"h.png", "h.csv"};
        QTest::newRow("sps layout") << QStringList{"sps", "layout", "--kind", "S", "--write", "OUT/l.fmt"}
                                    << QStringList{"l.fmt"};
    }
    void outputsWholeOrAbsent()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, outputs);
        segy2::File layout;
        layout.traces = 30;
        layout.samples = 200;
        const QString segy = dir.filePath(QStringLiteral("out-source.sgy"));
        QVERIFY(obrtest::writeFile(segy, segy2::build(layout)));
        QTemporaryDir out;
        arguments.replaceInStrings(QStringLiteral("SEGD"), segd74);
        arguments.replaceInStrings(QStringLiteral("SEGY"), segy);
        arguments.replaceInStrings(QStringLiteral("OUT"), out.path());

        // 512 bytes at most: every output here is larger.
        const ObrioRun limited = obrtest::runObrioWithFileLimit(dir.path(), arguments, 512);
        QCOMPARE(limited.status, 1);
        const QString error = errors(limited);
        QVERIFY2(error.contains(QStringLiteral("File too large")), qPrintable(error));
        QCOMPARE(QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());

        // Without the limit, exactly the outputs.
        const ObrioRun written = obrtest::runObrio(dir.path(), arguments);
        QVERIFY2(written.status == 0, qPrintable(errors(written)));
        QStringList expected = outputs;
        expected.sort();
        QCOMPARE(
            QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
            expected);
    }

private:
    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    QString segd74 = path(QStringLiteral("seventy-four.segd"));
};

OBR_TEST_MAIN(TestObrioStatus)
#include "tst_obrio_status.moc"
