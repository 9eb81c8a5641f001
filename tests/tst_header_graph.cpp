#include "analyzers/HeaderGraph.h"
#include "seismic/TraceKey.h"
#include "tests/support/MemoryData.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/SegyRevision2Fixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QTemporaryDir>
#include <cmath>

namespace {

// The mean row of the line's blue pixels in columns from..to; -1 when there are none.
double blueRow(const QImage& picture, int from, int to)
{
    double rows = 0;
    int count = 0;
    for (int x = from; x < to; ++x)
        for (int y = 0; y < picture.height(); ++y) {
            const QColor c = picture.pixelColor(x, y);
            if (c.blue() > 150 && c.red() < 100) {
                rows += y;
                ++count;
            }
        }
    return count > 0 ? rows / count : -1;
}

} // namespace

class TestHeaderGraph : public QObject {
    Q_OBJECT
private slots:
    void keysAndTicks()
    {
        QCOMPARE(HeaderGraph::keyNamed("fieldfile"), int(TraceKey::FieldFile));
        QCOMPARE(HeaderGraph::keyNamed("Offset"), int(TraceKey::Offset));
        QCOMPARE(HeaderGraph::keyNamed("no such word"), -1);
        QVERIFY(HeaderGraph::keyNames().contains("Cmp"));
        QCOMPARE(HeaderGraphPicture::ticks(1, 30), (std::vector<double>{10, 20, 30}));
        const std::vector<double> small = HeaderGraphPicture::ticks(-0.25, 0.25);
        const std::vector<double> expected{-0.2, -0.1, 0, 0.1, 0.2};
        QCOMPARE(small.size(), expected.size());
        for (size_t i = 0; i < small.size(); ++i)
            QVERIFY(std::abs(small[i] - expected[i]) < 1e-12);
        QCOMPARE(HeaderGraphPicture::ticks(5, 5), std::vector<double>{5});
        QVERIFY(HeaderGraphPicture::ticks(2, 1).empty());
    }

    // The field file of the test data is the trace number: a line rising from the bottom left
    // to the top right, a value for each trace asked within the data set.
    void risingLine()
    {
        MemoryData data(40, 10, 2.0f, [](int, int) { return 0.0; });
        const HeaderGraph graph = HeaderGraph::read(data, TraceKey::FieldFile, 11, 1000);
        QCOMPARE(int(graph.values.size()), 30);
        QCOMPARE(graph.values.front(), 11.0);
        QCOMPARE(graph.values.back(), 40.0);
        const QImage picture = HeaderGraphPicture::draw(graph, QSize(900, 500));
        const double left = blueRow(picture, 60, 200);
        const double right = blueRow(picture, 700, 850);
        QVERIFY2(left > 0 && right > 0 && left - right > 300,
                 qPrintable(QString("%1 %2").arg(left).arg(right)));
    }

    // A constant stands in the middle; a graph of nothing read says so and draws no line.
    void flatAndEmpty()
    {
        HeaderGraph flat;
        flat.key = TraceKey::Offset;
        flat.values = std::vector<double>(20, 250.0);
        const QImage picture = HeaderGraphPicture::draw(flat, QSize(900, 500));
        QVERIFY(std::abs(blueRow(picture, 100, 800) - 250) < 10);
        HeaderGraph empty;
        empty.key = TraceKey::Offset;
        empty.values = {std::nan(""), std::nan("")};
        const QImage nothing = HeaderGraphPicture::draw(empty, QSize(900, 500));
        QCOMPARE(blueRow(nothing, 0, 900), -1.0);
        QVERIFY(nothing != QImage(QSize(900, 500), QImage::Format_RGB32));
    }

    void obrioGraph()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("g.sgy");
        QVERIFY(obrtest::writeFile(file, segy2::build(segy2::File())));
        const QString out = dir.filePath("g.png");
        const obrtest::ObrioRun drawn =
            obrtest::runObrio(dir.path(), {"segy", "graph", file, "--word", "channel", "--out", out});
        QCOMPARE(drawn.status, 0);
        QCOMPARE(QImage(out).size(), QSize(900, 500));
        const obrtest::ObrioRun unknown = obrtest::runObrio(
            dir.path(), {"segy", "graph", file, "--word", "x", "--out", out, "--overwrite"});
        QCOMPARE(unknown.status, 2);
        QVERIFY(unknown.err.join('\n').contains("FieldFile, Channel"));
    }
};

OBR_TEST_MAIN(TestHeaderGraph)
#include "tst_header_graph.moc"
