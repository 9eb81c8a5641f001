#include "sps/SpsLayoutDetection.h"
#include "sps/SpsLines.h"
#include "sps/SpsSurveyCheck.h"
#include "sps/SpsSurveyMap.h"
#include "sps/ui/SpsMapView.h"
#include "sps/ui/SpsRelationAnalyzer.h"
#include "sps/ui/SpsSurveyTabs.h"
#include "tests/support/Controls.h"
#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPlainTextEdit>
#include <functional>

namespace {

// A record in SPS 2.1 columns, each value right-justified in its columns.
QString columns(char letter, const QVector<std::tuple<int, int, QString>>& cells)
{
    QString line = QLatin1Char(letter) + QString(79, ' ');
    for (const auto& [start, end, text] : cells)
        line.replace(start - 1, end - start + 1, text.rightJustified(end - start + 1));
    return line;
}

// Point: line 2-11, point 12-21, easting 47-55, northing 56-65.
QString point(char letter, int line, int station, double x, double y)
{
    return columns(letter, {{2, 11, QString::number(line) + ".00"},
                            {12, 21, QString::number(station) + ".00"},
                            {47, 55, QString::number(x, 'f', 1)},
                            {56, 65, QString::number(y, 'f', 1)}});
}

// Relation: record 8-15, source line 18-27, point 28-37, channels 39-43, 44-48, increment 49,
// receiver line 50-59, from 60-69, to 70-79.
QString relation(int record, int source, int fromChannel, int toChannel, int receiverLine, int from, int to)
{
    return columns('X', {{8, 15, QString::number(record)},
                         {18, 27, "10.00"},
                         {28, 37, QString::number(source) + ".00"},
                         {39, 43, QString::number(fromChannel)},
                         {44, 48, QString::number(toChannel)},
                         {49, 49, "1"},
                         {50, 59, QString::number(receiverLine) + ".00"},
                         {60, 69, QString::number(from) + ".00"},
                         {70, 79, QString::number(to) + ".00"}});
}

const QString header = "H00 SPS format version number    SPS 2.1";

// Sources 10 100..110 step 2 on y = 0; receivers on lines 1 and 2 (y = 100, 200), points 100 to
// 110, 25 m apart; each source recorded by receivers 1 100-110 on channels 1-11.
struct Survey {
    QStringList s{header}, r{header}, x{header};
    Survey()
    {
        for (int p = 100; p <= 110; p += 2)
            s << point('S', 10, p, 1000 + 25.0 * (p - 100), 0);
        for (int line : {1, 2})
            for (int p = 100; p <= 110; ++p)
                r << point('R', line, p, 1000 + 25.0 * (p - 100), 100.0 * line);
        for (int p = 100; p <= 110; p += 2)
            x << relation(p, p, 1, 11, 1, 100, 110);
    }
};

SpsLines linesOf(const QStringList& text)
{
    SpsLines lines;
    static_cast<void>(lines.setText((text.join('\n') + '\n').toLatin1()));
    return lines;
}

SpsSurvey read(const Survey& files)
{
    SpsSurvey survey;
    for (const auto& [kind, text] :
         {std::pair{SpsKind::Source, files.s}, {SpsKind::Receiver, files.r}, {SpsKind::Relation, files.x}}) {
        const SpsLines lines = linesOf(text);
        survey.read(lines, SpsDetection::detect(kind, lines).layout);
    }
    return survey;
}

// The centres of the blobs of a colour, found by flood fill.
QVector<QPointF> blobs(QImage image, QRgb colour)
{
    QVector<QPointF> centres;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != colour)
                continue;
            QVector<QPoint> todo{{x, y}};
            QPointF sum;
            int count = 0;
            image.setPixel(x, y, 0);
            while (!todo.isEmpty()) {
                const QPoint at = todo.takeLast();
                sum += at;
                ++count;
                for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint next = at + step;
                    if (image.valid(next) && image.pixel(next) == colour) {
                        image.setPixel(next, 0);
                        todo << next;
                    }
                }
            }
            centres << sum / count;
        }
    }
    return centres;
}

using Fault = std::function<void(Survey&)>;

} // namespace

Q_DECLARE_METATYPE(Fault)

class TestSpsSurveyCheck : public QObject {
    Q_OBJECT
private slots:
    void findings_data()
    {
        obrtest::columns<Fault, QStringList>({"fault", "findings"});
        QTest::newRow("clean") << Fault([](Survey&) {}) << QStringList{};
        QTest::newRow("duplicate receiver") << Fault([](Survey& f) { f.r << f.r[5]; })
                                            << QStringList{"R line 24: point 1 104 again (first on line 6)"};
        QTest::newRow("relation naming a missing receiver")
            << Fault([](Survey& f) { f.r.removeAt(8); })
            << QStringList{"X line 2: 1 of receivers 1 100-110 step 1 not in R (first 107)",
                           "X line 3: 1 of receivers 1 100-110 step 1 not in R (first 107)",
                           "X line 4: 1 of receivers 1 100-110 step 1 not in R (first 107)",
                           "X line 5: 1 of receivers 1 100-110 step 1 not in R (first 107)",
                           "X line 6: 1 of receivers 1 100-110 step 1 not in R (first 107)",
                           "X line 7: 1 of receivers 1 100-110 step 1 not in R (first 107)"};
        QTest::newRow("receiver line not in R, source not in S")
            << Fault([](Survey& f) { f.x << relation(1, 999, 1, 11, 7, 100, 110); })
            << QStringList{"X line 8: source 10 999 is not in S (record 1)",
                           "X line 8: receiver line 7 is not in R (receivers 7 100-110)"};
        QTest::newRow("channel span that does not match")
            << Fault([](Survey& f) { f.x[3] = relation(104, 104, 1, 12, 1, 100, 110); })
            << QStringList{"X line 4: channels 1-12/1 make 12, receivers 1 100-110 step 1 make 11"};
        QTest::newRow("duplicate relation")
            << Fault([](Survey& f) { f.x << f.x[2]; })
            << QStringList{"X line 8: record 102, source 10 102, channel 1 again "
                           "(first on line 3)"};
        QTest::newRow("point far from its neighbours")
            << Fault([](Survey& f) { f.r[16] = point('R', 2, 104, 1100, 900); })
            << QStringList{
                   "R line 17: point 2 104 lies 700.4 m from its nearest neighbour (median spacing 25.0 m)"};
    }
    void findings()
    {
        const auto [fault, expected] = obrtest::fetch<Fault, QStringList>("fault", "findings");
        Survey files;
        fault(files);
        const SpsSurveyCheck check(read(files));
        QStringList got;
        for (const SpsFinding& finding : check.findings())
            got << finding.text;
        QCOMPARE(got, expected);
    }

    void obrioReportsAndWritesEveryFinding()
    {
        Survey files;
        files.r << files.r[5];
        files.x << relation(1, 999, 1, 11, 7, 100, 110);
        const QStringList paths{dir.filePath("a.s"), dir.filePath("a.r"), dir.filePath("a.x")};
        for (int i = 0; i < 3; ++i)
            QVERIFY(obrtest::writeFile(
                paths[i], (QList<QStringList>{files.s, files.r, files.x}[i].join('\n') + '\n').toLatin1()));
        const QString csv = dir.filePath("findings.csv");
        const auto runs = obrtest::runObrioEach(
            dir.path(), {QStringList{"sps", "check"} + paths + QStringList{"--csv", csv, "--strict"},
                         QStringList{"sps", "check", "--json"} + paths});
        QCOMPARE(runs[0].status, 1);
        QVERIFY(runs[0].out.contains("Duplicate points: 1"));
        QVERIFY(runs[0].out.contains("  R line 24: point 1 104 again (first on line 6)"));
        QCOMPARE(QString::fromUtf8(obrtest::readFile(csv)).split('\n', Qt::SkipEmptyParts),
                 QStringList(
                     {"kind,file,line,finding",
                      "missing-source,X,8,\"X line 8: source 10 999 is not in S (record 1)\"",
                      "missing-receiver,X,8,\"X line 8: receiver line 7 is not in R (receivers 7 100-110)\"",
                      "duplicate-point,R,24,\"R line 24: point 1 104 again (first on line 6)\""}));
        const QJsonObject json = QJsonDocument::fromJson(runs[1].out.join('\n').toUtf8()).object();
        QCOMPARE(runs[1].status, 0);
        QCOMPARE(json["findings"].toInt(), 3);
        QCOMPARE(json["kinds"]["duplicate-point"]["first"][0]["line"].toInt(), 24);
    }

    // Each point a square of its colour where the view puts it; a faulty point ringed in red.
    void mapByPixels()
    {
        Survey files;
        files.r[16] = point('R', 2, 104, 1100, 900);
        const SpsSurvey survey = read(files);
        const SpsSurveyCheck check(survey);
        const SpsSurveyMap map(survey, check.findings());
        const QSize size(600, 500);
        const SpsSurveyMap::View view = map.fit(size);
        const QImage image = map.draw(size, view);
        for (const auto& [points, colour] : {std::pair{&survey.sources, SpsSurveyMap::sourceColour},
                                             {&survey.receivers, SpsSurveyMap::receiverColour}}) {
            const QVector<QPointF> found = blobs(image, colour.rgb());
            QCOMPARE(found.size(), points->size());
            for (const SpsSurvey::Point& p : *points) {
                const QPointF at = view.toPixel(p.x, p.y, size);
                QVERIFY2(std::any_of(found.begin(), found.end(),
                                     [&](QPointF c) { return (c - at).manhattanLength() < 2; }),
                         qPrintable(QStringLiteral("%1 %2").arg(p.line).arg(p.point)));
            }
        }
        const QVector<QPointF> rings = blobs(image, SpsSurveyMap::problemColour.rgb());
        QCOMPARE(rings.size(), 1);
        QVERIFY((rings[0] - view.toPixel(1100, 900, size)).manhattanLength() < 2);
        QCOMPARE(map.nameAt(view.toPixel(1100, 900, size) + QPointF(2, 1), size, view, 5),
                 "R 2 104 at 1100.0 900.0 (line 17)");
    }

    // The relation analyzer checks its survey, reports, and names a point clicked on the map.
    void relationAnalyzerChecksAndMaps()
    {
        Survey files;
        files.r << files.r[5];
        const QStringList paths{dir.filePath("b.s"), dir.filePath("b.r"), dir.filePath("b.x")};
        for (int i = 0; i < 3; ++i)
            QVERIFY(obrtest::writeFile(
                paths[i], (QList<QStringList>{files.s, files.r, files.x}[i].join('\n') + '\n').toLatin1()));
        RecordingConsole console;
        SpsRelationAnalyzer analyzer(nullptr, dir.path(), paths[2], &console);
        obrtest::control<QPushButton>(analyzer, "Sps21")->click();
        analyzer.resize(1000, 800);
        analyzer.show();
        SpsSurveyTabs* views = analyzer.surveyViews();
        QString error;
        QVERIFY(views->checkSurvey(paths[0], paths[1], &error));
        const QString report = obrtest::control<QPlainTextEdit>(analyzer, "CheckReport")->toPlainText();
        QVERIFY2(report.contains("X: 6 relations") &&
                     report.contains("Duplicate points: 1\n  R line 24: point 1 104 "
                                     "again (first on line 6)"),
                 qPrintable(report));
        views->setCurrentIndex(1);
        SpsMapView* map = views->mapView();
        QVERIFY(QTest::qWaitForWindowExposed(&analyzer));
        map->repaint();
        const QPoint at = map->view().toPixel(1050, 100, map->size()).toPoint();
        QTest::mouseClick(map, Qt::LeftButton, {}, at);
        QCOMPARE(obrtest::control<QLabel>(analyzer, "MapLine")->text(), "R 1 102 at 1050.0 100.0 (line 4)");
    }

private:
    QTemporaryDir dir;
};

OBR_TEST_MAIN(TestSpsSurveyCheck)
#include "tst_sps_survey_check.moc"
