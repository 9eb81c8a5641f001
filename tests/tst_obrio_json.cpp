#include "tests/support/ObrioProcess.h"
#include "tests/support/SpsFixture.h"
#include "tests/support/TapeImageFiles.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <memory>

namespace {

// The document a --json run printed; fails the test when it is not one JSON object.
QJsonObject document(const obrtest::ObrioRun& run)
{
    QJsonParseError error;
    const QJsonDocument parsed = QJsonDocument::fromJson(run.out.join(QLatin1Char('\n')).toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !parsed.isObject())
        qWarning("not one JSON object (%s): %s", qPrintable(error.errorString()),
                 qPrintable(run.out.join('\n')));
    return parsed.object();
}

// "Label:   value" rows of a text output, by label.
QMap<QString, QString> rows(const QStringList& lines)
{
    QMap<QString, QString> result;
    for (const QString& line : lines) {
        const int colon = line.indexOf(QLatin1Char(':'));
        if (colon > 0)
            result.insert(line.left(colon), line.mid(colon + 1).trimmed());
    }
    return result;
}

} // namespace

// `obrio ... --json`: one document with the values of the text output, nothing on failure.
class TestObrioJson : public QObject {
    Q_OBJECT
private slots:
    void init() { home = std::make_unique<QTemporaryDir>(); }

    // Every real file gives one document per action, with the counts the text shows.
    void segyFiles_data() { obrtest::realFileRows(QStringLiteral("segy"), QStringLiteral("*.sgy")); }
    void segyFiles()
    {
        QFETCH(QString, path);
        OBR_REQUIRE_REALDATA();
        QList<QStringList> arguments{{"segy", "info", path}};
        for (const char* action : {"info", "headers", "scan"})
            arguments << QStringList{"segy", action, "--json", path};
        const auto runs = obrtest::runObrioEach(home->path(), arguments);
        for (const auto& run : runs)
            QCOMPARE(run.status, 0);
        const QJsonObject info = document(runs[1]);
        QCOMPARE(rows(runs[0].out)["Trace count"], QString::number(qint64(info["traceCount"].toDouble())));
        QVERIFY(!document(runs[2])["fields"].toArray().isEmpty());
        QVERIFY(document(runs[3])["megabytesPerSecond"].toDouble() > 0);
    }

    // The revision 2.1 ranges of every real SPS file are those a few lines of parsing here find;
    // without the 2.1 layout, a hint for a 2.1 file.
    void spsFiles_data() { obrtest::realFileRows(QStringLiteral("sps"), QStringLiteral("l2*.txt")); }
    void spsFiles()
    {
        QFETCH(QString, path);
        OBR_REQUIRE_REALDATA();
        // l2sall.txt, l2rcrook.txt, ...: the third letter is the record kind.
        const QString kind = QFileInfo(path).fileName().mid(2, 1).toUpper();
        const QStringList ranges{"sps", "ranges", "--kind", kind, path};
        const auto runs =
            obrtest::runObrioEach(home->path(), {ranges, ranges + QStringList{"--layout", "sps21"},
                                                 ranges + QStringList{"--layout", "sps21", "--json"}});
        const QStringList lines = QString::fromLatin1(obrtest::readFile(path)).split(QLatin1Char('\n'));
        const bool declared = lines.value(0).startsWith("H00") && lines.value(0).contains("SPS 2.1");
        QCOMPARE(runs[0].err.size(), declared ? 1 : 0);
        if (declared)
            QVERIFY2(runs[0].err[0].contains(path + " is an SPS 2.1 file") &&
                         runs[0].err[0].contains("--layout sps21"),
                     qPrintable(runs[0].err[0]));
        QCOMPARE(runs[1].err, QStringList());
        for (const auto& run : runs)
            QCOMPARE(run.status, 0);
        QVERIFY(document(runs[2])["dataLines"].toDouble() > 0);

        const auto& columns = spstest::revision21Columns(kind == "X");
        // Real values, not a field of blanks or text read as 0.
        const QString telling = spstest::expectedRange(lines, kind.at(0), columns.at(kind == "X" ? 11 : 9));
        QVERIFY2(telling.front() >= QLatin1Char('1') && telling.front() <= QLatin1Char('9'),
                 qPrintable(telling));
        // The table of fields ends where the findings begin.
        const int tableEnd =
            runs[1].out.indexOf(QRegularExpression(QStringLiteral("\\d+ unreadable records? .*")));
        QCOMPARE(tableEnd - 2, columns.size());
        for (int row = 0; row < columns.size(); ++row) {
            const spstest::Revision21Column& column = columns.at(row);
            const QString range = spstest::expectedRange(lines, kind.at(0), column);
            const QStringList words = runs[1].out.at(row + 2).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            QCOMPARE(words.join(' '),
                     QStringLiteral("%1 %2-%3 %4")
                         .arg(column.name)
                         .arg(column.start)
                         .arg(column.end)
                         .arg(column.type == ' ' ? "- -" : QString(range).replace("..", " ")));
        }
    }

    void failuresPrintNoDocument()
    {
        QVERIFY(obrtest::writeFile(home->filePath("short.sgy"), QByteArray(700, 'x')));
        obrtest::writeTapeLayout(home->filePath("long.tap"), {10, 200000, 20}, 1000000);
        const auto runs =
            obrtest::runObrioEach(home->path(), {{"segy", "info", "--json", "short.sgy"},
                                                 {"sps", "ranges", "--kind", "S", "--json", "gone.s"},
                                                 {"tape", "map", "--json", "tape:long.tap"}});
        for (const auto& run : runs) {
            QCOMPARE(run.status, 1);
            QCOMPARE(run.out, QStringList());
            QVERIFY(!run.err.isEmpty());
        }
    }

private:
    std::unique_ptr<QTemporaryDir> home;
};

OBR_TEST_MAIN(TestObrioJson)
#include "tst_obrio_json.moc"
