#include "tests/support/ObrioProcess.h"
#include "tests/support/TapeImageFiles.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
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

// The lines of a text output from the one after `first` up to the one starting with `end`.
QStringList between(const QStringList& lines, const QString& first, const QString& end)
{
    const int from = lines.indexOf(first) + 1;
    int to = from;
    while (to < lines.size() && !lines.at(to).startsWith(end))
        ++to;
    return lines.mid(from, to - from);
}

QStringList texts(const QJsonValue& array)
{
    QStringList result;
    for (const QJsonValue& value : array.toArray())
        result.append(value.toString());
    return result;
}

// A whole number as the text shows it.
QString whole(const QJsonValue& value)
{
    return QString::number(qint64(value.toDouble()));
}

// A minimum or maximum as the text shows it, against the JSON value: null for a blank or "-".
bool sameNumber(const QString& text, const QJsonValue& value)
{
    if (text.isEmpty() || text == QLatin1String("-") || text == QLatin1String("nan"))
        return value.isNull();
    return value.isDouble() && value.toDouble() == text.toDouble();
}

} // namespace

// `obrio ... --json`: one document with the values of the text output, nothing on failure.
class TestObrioJson : public QObject {
    Q_OBJECT
private slots:
    void init() { home = std::make_unique<QTemporaryDir>(); }

    void segyFiles_data() { obrtest::realFileRows(QStringLiteral("segy"), QStringLiteral("*.sgy")); }
    void segyFiles()
    {
        QFETCH(QString, path);
        OBR_REQUIRE_REALDATA();
        const auto runs = obrtest::runObrioEach(home->path(), {{"segy", "info", path},
                                                               {"segy", "info", "--json", path},
                                                               {"segy", "headers", path},
                                                               {"segy", "headers", "--json", path},
                                                               {"segy", "scan", path},
                                                               {"segy", "scan", "--json", path}});
        for (const auto& run : runs)
            QCOMPARE(run.status, 0);

        const auto info = rows(runs[0].out);
        const QJsonObject infoJson = document(runs[1]);
        QCOMPARE(infoJson.value("file").toString(), info["File"]);
        QCOMPARE(QString::number(infoJson.value("samplesPerTrace").toInt()), info["Samples per trace"]);
        QCOMPARE(QStringLiteral("%1 ms").arg(infoJson.value("sampleIntervalMs").toDouble()),
                 info["Sample interval"]);
        QCOMPARE(QStringLiteral("%1 (%2)")
                     .arg(infoJson.value("sampleFormat").toInt())
                     .arg(infoJson.value("sampleFormatName").toString()),
                 info["Sample format"]);
        QCOMPARE(QStringLiteral("%1 bytes").arg(infoJson.value("traceLength").toInt()), info["Trace length"]);
        QCOMPARE(QString::number(infoJson.value("traceCount").toInt()), info["Trace count"]);
        QCOMPARE(QStringLiteral("%1 (%2)")
                     .arg(infoJson.value("revision").toInt())
                     .arg(infoJson.value("revisionText").toString()),
                 info["Revision"]);
        QCOMPARE(QString::number(infoJson.value("extendedTextHeaders").toInt()),
                 info["Extended text headers"]);
        QCOMPARE(infoJson.value("byteOrder").toString(), info["Byte order"]);
        const QString textTitle =
            QStringLiteral("Textual header (%1):").arg(infoJson.value("textualHeaderEncoding").toString());
        QCOMPARE(texts(infoJson.value("textualHeader")), between(runs[0].out, textTitle, "Revision:"));
        const QJsonArray extended = infoJson.value("extendedTextualHeaders").toArray();
        for (int header = 0; header < extended.size(); ++header)
            QCOMPARE(texts(extended.at(header)),
                     between(runs[0].out, QStringLiteral("Extended textual header %1:").arg(header + 1),
                             header + 1 < extended.size() ? "Extended textual header" : "Byte order:"));

        // Header ranges: label, then minimum and maximum right-aligned in 16 columns each.
        const QJsonObject headers = document(runs[3]);
        QCOMPARE(runs[2].out.first(), QStringLiteral("Traces %1 to %2")
                                          .arg(headers.value("first").toInt())
                                          .arg(headers.value("last").toInt()));
        const QJsonArray fields = headers.value("fields").toArray();
        QCOMPARE(fields.size(), runs[2].out.size() - 2);
        for (int row = 0; row < fields.size(); ++row) {
            const QString line = runs[2].out.at(row + 2);
            const QJsonObject field = fields.at(row).toObject();
            QCOMPARE(field.value("field").toString(), line.left(line.size() - 34).trimmed());
            QVERIFY2(sameNumber(line.mid(line.size() - 33, 16).trimmed(), field.value("minimum")),
                     qPrintable(line));
            QVERIFY2(sameNumber(line.right(16).trimmed(), field.value("maximum")), qPrintable(line));
        }

        const auto scan = rows(runs[4].out);
        const QJsonObject scanJson = document(runs[5]);
        QCOMPARE(QStringLiteral("%1 of %2")
                     .arg(scanJson.value("tracesRead").toInt())
                     .arg(scanJson.value("traceCount").toInt()),
                 scan["Traces read"]);
        for (const auto& [label, key] :
             {std::pair{"Minimum", "minimum"}, {"Maximum", "maximum"}, {"RMS", "rms"}})
            QVERIFY2(sameNumber(scan[label], scanJson.value(key)) ||
                         QString::number(scanJson.value(key).toDouble(), 'g', 9) == scan[label],
                     label);
        QVERIFY(scanJson.value("megabytesPerSecond").toDouble() > 0);
    }

    void spsFiles_data() { obrtest::realFileRows(QStringLiteral("sps"), QStringLiteral("l2*.txt")); }
    void spsFiles()
    {
        QFETCH(QString, path);
        OBR_REQUIRE_REALDATA();
        // l2sall.txt, l2rcrook.txt, ...: the third letter is the record kind.
        const QString kind = QFileInfo(path).fileName().mid(2, 1).toUpper();
        const auto runs =
            obrtest::runObrioEach(home->path(), {{"sps", "ranges", "--kind", kind, path},
                                                 {"sps", "ranges", "--kind", kind, "--json", path}});
        QCOMPARE(runs[0].status, 0);
        QCOMPARE(runs[1].status, 0);
        const QJsonObject json = document(runs[1]);
        const qint64 lines = qint64(json.value("dataLines").toDouble());
        QCOMPARE(runs[0].out.first(), QStringLiteral("%1: %2 data line%3 (%4)")
                                          .arg(json.value("file").toString())
                                          .arg(lines)
                                          .arg(lines == 1 ? "" : "s")
                                          .arg(json.value("dataLineRule").toString()));
        const QJsonArray fields = json.value("fields").toArray();
        QCOMPARE(fields.size(), runs[0].out.size() - 2);
        QVERIFY(lines > 0);
        for (int row = 0; row < fields.size(); ++row) {
            const QString line = runs[0].out.at(row + 2);
            const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            const QJsonObject field = fields.at(row).toObject();
            QCOMPARE(field.value("field").toString(), words.mid(0, words.size() - 3).join(' '));
            QCOMPARE(QStringLiteral("%1-%2")
                         .arg(field.value("firstColumn").toInt())
                         .arg(field.value("lastColumn").toInt()),
                     words.at(words.size() - 3));
            QVERIFY2(sameNumber(words.at(words.size() - 2), field.value("minimum")), qPrintable(line));
            QVERIFY2(sameNumber(words.last(), field.value("maximum")), qPrintable(line));
        }
    }

    void tapeStatusAndMap()
    {
        obrtest::writeTapeLayout(home->filePath("survey.tap"), {3200, 400, 1000, 1000, -1, 77}, 1000000);
        // One after the other: a map walks the image and leaves it at another position.
        const QList<obrtest::ObrioRun> runs{
            obrtest::runObrio(home->path(), {"tape", "status", "tape:survey.tap"}),
            obrtest::runObrio(home->path(), {"tape", "status", "--json", "tape:survey.tap"}),
            obrtest::runObrio(home->path(), {"tape", "map", "tape:survey.tap"})};
        const auto map = obrtest::runObrio(home->path(), {"tape", "map", "--json", "tape:survey.tap"});
        QCOMPARE(runs[0].status, 0);
        QCOMPARE(runs[1].status, 0);
        const auto status = rows(runs[0].out);
        const QJsonObject json = document(runs[1]);
        QCOMPARE(QStringLiteral("%1 %2").arg(json.value("scsiId").toString(), json.value("name").toString()),
                 status["Drive"]);
        QCOMPARE(json.value("ready").toBool() ? "yes" : "no", status["Ready"]);
        QCOMPARE(QStringLiteral("%1 bytes").arg(whole(json.value("largestBlock"))), status["Largest block"]);
        const QJsonObject image = json.value("tapeImage").toObject();
        QCOMPARE(image.value("image").toString(), status["Image"]);
        QCOMPARE(image.value("format").toString(), QStringLiteral("SIMH"));
        QCOMPARE(QStringLiteral("%1 bytes of %2 (early warning at %3)")
                     .arg(whole(image.value("recordedBytes")), whole(image.value("capacity")),
                          whole(image.value("earlyWarning"))),
                 status["Recorded"]);
        QCOMPARE(QStringLiteral("byte %1").arg(whole(image.value("position"))), status["Position"]);
        QCOMPARE(image.value("writeProtected").toBool() ? "yes" : "no", status["Write protected"]);

        // The map's text lines written again from the document.
        QCOMPARE(runs[2].status, 0);
        QCOMPARE(map.status, 0);
        const QJsonObject mapJson = document(map);
        QStringList lines;
        const QJsonArray files = mapJson.value("files").toArray();
        const auto blocks = [](const QJsonValue& n) {
            return QStringLiteral("%1 block%2").arg(whole(n)).arg(n.toDouble() == 1 ? "" : "s");
        };
        for (int i = 0; i < files.size(); ++i) {
            const QJsonObject file = files.at(i).toObject();
            for (const QJsonValue& run : file.value("runs").toArray())
                lines << QStringLiteral("file %1: block size %2: %3")
                             .arg(i + 1)
                             .arg(run.toObject().value("blockSize").toInt())
                             .arg(blocks(run.toObject().value("blocks")));
            lines << QStringLiteral("file %1: %2 after %3: %4 bytes")
                         .arg(i + 1)
                         .arg(file.value("endsWithFileMark").toBool() ? "file mark" : "end of data",
                              blocks(file.value("blocks")))
                         .arg(whole(file.value("bytes")));
        }
        lines << QStringLiteral("end of data: %1 file%2, %3 bytes")
                     .arg(files.size())
                     .arg(files.size() == 1 ? "" : "s")
                     .arg(whole(mapJson.value("bytes")));
        QCOMPARE(lines, runs[2].out);
    }

    void failuresPrintNoDocument_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("segy info of a file too short") << QStringList{"segy", "info", "--json", "short.sgy"};
        QTest::newRow("segy headers of a missing file")
            << QStringList{"segy", "headers", "--json", "gone.sgy"};
        QTest::newRow("segy scan of a file too short") << QStringList{"segy", "scan", "--json", "short.sgy"};
        QTest::newRow("sps ranges of a missing file")
            << QStringList{"sps", "ranges", "--kind", "S", "--json", "gone.s"};
        QTest::newRow("tape status of a missing image")
            << QStringList{"tape", "status", "--json", "tape:gone.tap"};
        QTest::newRow("tape map stopped by a block too long")
            << QStringList{"tape", "map", "--json", "tape:long.tap"};
    }
    void failuresPrintNoDocument()
    {
        QFETCH(QStringList, arguments);
        QVERIFY(obrtest::writeFile(home->filePath("short.sgy"), QByteArray(700, 'x')));
        obrtest::writeTapeLayout(home->filePath("long.tap"), {10, 200000, 20}, 1000000);
        const auto run = obrtest::runObrio(home->path(), arguments);
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out, QStringList());
        QVERIFY(!run.err.isEmpty());
    }

private:
    std::unique_ptr<QTemporaryDir> home;
};

OBR_TEST_MAIN(TestObrioJson)
#include "tst_obrio_json.moc"
