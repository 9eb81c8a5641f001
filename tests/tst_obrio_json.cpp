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
        QList<QStringList> arguments;
        for (const char* action : {"info", "headers", "scan"})
            arguments << QStringList{"segy", action, path} << QStringList{"segy", action, "--json", path};
        const auto runs = obrtest::runObrioEach(home->path(), arguments);
        for (const auto& run : runs)
            QCOMPARE(run.status, 0);

        const QJsonObject info = document(runs[1]);
        const auto infoText = rows(runs[0].out);
        QCOMPARE(infoText["Trace count"], whole(info["traceCount"]));
        QCOMPARE(infoText["Samples per trace"], whole(info["samplesPerTrace"]));
        QCOMPARE(infoText["Byte order"], info["byteOrder"].toString());
        const QString textTitle =
            QStringLiteral("Textual header (%1):").arg(info["textualHeaderEncoding"].toString());
        QCOMPARE(texts(info["textualHeader"]), between(runs[0].out, textTitle, "Revision:"));

        // Header ranges: label, then minimum and maximum right-aligned in 16 columns each.
        const QJsonObject headers = document(runs[3]);
        QCOMPARE(runs[2].out.first(),
                 QStringLiteral("Traces %1 to %2").arg(whole(headers["first"]), whole(headers["last"])));
        const QJsonArray fields = headers["fields"].toArray();
        QCOMPARE(fields.size(), runs[2].out.size() - 2);
        for (int row = 0; row < fields.size(); ++row) {
            const QString line = runs[2].out.at(row + 2);
            const QJsonObject field = fields.at(row).toObject();
            QCOMPARE(field["field"].toString(), line.left(line.size() - 34).trimmed());
            QVERIFY2(sameNumber(line.mid(line.size() - 33, 16).trimmed(), field["minimum"]),
                     qPrintable(line));
            QVERIFY2(sameNumber(line.right(16).trimmed(), field["maximum"]), qPrintable(line));
        }

        const auto scan = rows(runs[4].out);
        const QJsonObject scanJson = document(runs[5]);
        QCOMPARE(QStringLiteral("%1 of %2").arg(whole(scanJson["tracesRead"]), whole(scanJson["traceCount"])),
                 scan["Traces read"]);
        for (const auto& [label, key] :
             {std::pair{"Minimum", "minimum"}, {"Maximum", "maximum"}, {"RMS", "rms"}})
            QVERIFY2(sameNumber(scan[label], scanJson[key]) ||
                         QString::number(scanJson[key].toDouble(), 'g', 9) == scan[label],
                     label);
        QVERIFY(scanJson["megabytesPerSecond"].toDouble() > 0);
    }

    // The revision 2.1 ranges of every real SPS file: the text as a few lines of parsing here find
    // them, the document as the text shows them; without the 2.1 layout, a hint for a 2.1 file
    // (the analyzers' "SPS 2.1 layout" button sets the same layout).
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

        const QJsonObject json = document(runs[2]);
        const qint64 dataLines = qint64(json["dataLines"].toDouble());
        QVERIFY(dataLines > 0);
        QCOMPARE(runs[1].out.first(), QStringLiteral("%1: %2 data line%3 (%4)")
                                          .arg(json["file"].toString())
                                          .arg(dataLines)
                                          .arg(dataLines == 1 ? "" : "s")
                                          .arg(json["dataLineRule"].toString()));
        const QJsonArray fields = json["fields"].toArray();
        const auto& columns = spstest::revision21Columns(kind == "X");
        // Real values, not a field of blanks or text read as 0.
        const QString telling = spstest::expectedRange(lines, kind.at(0), columns.at(kind == "X" ? 11 : 9));
        QVERIFY2(telling.front() >= QLatin1Char('1') && telling.front() <= QLatin1Char('9'),
                 qPrintable(telling));
        // The table of fields ends where the findings begin.
        const int tableEnd =
            runs[1].out.indexOf(QRegularExpression(QStringLiteral("\\d+ unreadable records? .*")));
        QCOMPARE(QPair(fields.size(), tableEnd - 2), QPair(columns.size(), columns.size()));
        for (int row = 0; row < fields.size(); ++row) {
            const spstest::Revision21Column& column = columns.at(row);
            const QString range = spstest::expectedRange(lines, kind.at(0), column);
            const QStringList words = runs[1].out.at(row + 2).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            QCOMPARE(words.join(' '),
                     QStringLiteral("%1 %2-%3 %4")
                         .arg(column.name)
                         .arg(column.start)
                         .arg(column.end)
                         .arg(column.type == ' ' ? "- -" : QString(range).replace("..", " ")));
            const QJsonObject field = fields.at(row).toObject();
            QCOMPARE(QStringLiteral("%1 %2-%3")
                         .arg(field["field"].toString())
                         .arg(field["firstColumn"].toInt())
                         .arg(field["lastColumn"].toInt()),
                     words.mid(0, words.size() - 2).join(' '));
            QVERIFY2(sameNumber(words.at(words.size() - 2), field["minimum"]) &&
                         sameNumber(words.last(), field["maximum"]),
                     qPrintable(words.join(' ')));
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
