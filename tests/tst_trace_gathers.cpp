#include "analyzers/TraceGathers.h"
#include "analyzers/ui/SegyAnalysis.h"
#include "analyzers/ui/TraceDisplay.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyIndexFiles.h"
#include "seismic/TraceKey.h"
#include "tests/support/Controls.h"
#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtEndian>

using obrtest::control;

namespace {

// Three shots of four channels, big-endian IEEE samples, from the standard's layout: field
// record (bytes 9-12) 1020 + shot, channel (13-16) 1 to 4, offset (37-40) 300, 0, 100, 200.
QByteArray shotFile()
{
    constexpr int samples = 20;
    QByteArray file(3600, '\0');
    file.replace(0, 3200, QByteArray(3200, 'C'));
    qToBigEndian<qint16>(2000, file.data() + 3216);
    qToBigEndian<qint16>(samples, file.data() + 3220);
    qToBigEndian<qint16>(5, file.data() + 3224);
    for (int t = 0; t < 12; ++t) {
        QByteArray trace(240 + 4 * samples, '\0');
        qToBigEndian<qint32>(t + 1, trace.data());
        qToBigEndian<qint32>(1020 + t / 4, trace.data() + 8);
        qToBigEndian<qint32>(t % 4 + 1, trace.data() + 12);
        qToBigEndian<qint32>((t + 3) % 4 * 100, trace.data() + 36);
        qToBigEndian<qint16>(samples, trace.data() + 114);
        qToBigEndian<qint16>(2000, trace.data() + 116);
        for (int s = 0; s < samples; ++s)
            qToBigEndian(float((t + 1) * (s % 5 - 2)), trace.data() + 240 + 4 * s);
        file += trace;
    }
    return file;
}

} // namespace

Q_DECLARE_METATYPE(GatherSelection)

// Gathers chosen by a header word: the selection, where the values come from, the next and
// previous gather, and obrio's and the analyzer's use of them.
class TestTraceGathers : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(obrtest::writeFile(path(), shotFile())); }

    void selections_data()
    {
        // low > high: refused
        obrtest::columns<QString, QString, int, double, double>({"key", "value", "found", "low", "high"});
        QTest::newRow("field file") << "FieldFile"
                                    << "1021" << int(TraceKey::FieldFile) << 1021.0 << 1021.0;
        QTest::newRow("any case, range") << "offset"
                                         << " 0-500 " << int(TraceKey::Offset) << 0.0 << 500.0;
        QTest::newRow("negative range") << "Cmp"
                                        << "-500--100.5" << int(TraceKey::Cmp) << -500.0 << -100.5;
        QTest::newRow("unknown key") << "Shot"
                                     << "1" << -1 << 0.0 << 0.0;
        QTest::newRow("no number") << "Channel"
                                   << "x" << -1 << 0.0 << 0.0;
        QTest::newRow("empty") << "Channel"
                               << "" << -1 << 0.0 << 0.0;
        QTest::newRow("reversed range") << "Channel"
                                        << "3-1" << -1 << 0.0 << 0.0;
    }
    void selections()
    {
        const auto [key, value, found, low, high] =
            obrtest::fetch<QString, QString, int, double, double>("key", "value", "found", "low", "high");
        GatherSelection selection;
        QString problem;
        QCOMPARE(GatherSelection::parse(key, value, &selection, &problem), found >= 0);
        QCOMPARE(problem.isEmpty(), found >= 0);
        if (found >= 0)
            QCOMPARE(std::make_tuple(selection.key, selection.low, selection.high),
                     std::make_tuple(found, low, high));
    }

    // The same gathers from the trace headers, the data set's index and the index file beside it.
    void gathersFromEachSource_data()
    {
        obrtest::columns<QString, bool>({"source", "indexed"});
        QTest::newRow("trace headers") << "headers" << false;
        QTest::newRow("index of the data set") << "index" << true;
        QTest::newRow("index file") << "file" << true;
    }
    void gathersFromEachSource()
    {
        const auto [source, indexed] = obrtest::fetch<QString, bool>("source", "indexed");
        QFile::remove(path() + ".indx");
        SegyFormat format;
        SegyData data(&console, path(), 0u, &format);
        if (source != "headers") {
            SegyFormat indexFormat;
            SegyData index(&console, path(), 0u, &indexFormat);
            QVERIFY(index.buildIndex());
            QVERIFY(SegyIndexFiles::writeIndex(index, path() + ".indx"));
        }
        if (source == "index")
            QVERIFY(data.buildIndex());
        const TraceGathers gathers = TraceGathers::read(data, TraceKey::Offset);
        QCOMPARE(gathers.fromIndex, indexed);
        QCOMPARE(gathers.traces({TraceKey::Offset, 100, 200}), (QVector<int>{3, 4, 7, 8, 11, 12}));
        // Next and previous keep the width of the range, from the next value present.
        GatherSelection next;
        QVERIFY(gathers.step({TraceKey::Offset, 0, 100}, 1, &next));
        QCOMPARE(std::make_pair(next.low, next.high), std::make_pair(200.0, 300.0));
        QVERIFY(gathers.step({TraceKey::Offset, 200, 300}, -1, &next));
        QCOMPARE(std::make_pair(next.low, next.high), std::make_pair(0.0, 100.0));
        QVERIFY(!gathers.step({TraceKey::Offset, 200, 300}, 1, &next));
        QVERIFY(console.errors().isEmpty());
        QFile::remove(path() + ".indx");
    }

    void obrioPlotsAGather_data()
    {
        // width: of the picture (4 traces: (3 + 4) x 8 = 56, rounded to 64, and the margins)
        obrtest::columns<QStringList, int, int>({"options", "status", "width"});
        QTest::newRow("field file") << QStringList{"--key", "FieldFile", "--value", "1021"} << 0 << 64 + 96;
        QTest::newRow("no trace") << QStringList{"--key", "FieldFile", "--value", "999"} << 1 << 0;
        QTest::newRow("unknown key") << QStringList{"--key", "Shot", "--value", "1"} << 2 << 0;
    }
    void obrioPlotsAGather()
    {
        const auto [options, status, width] =
            obrtest::fetch<QStringList, int, int>("options", "status", "width");
        const QString picture = dir.filePath("gather.png");
        QFile::remove(picture);
        const auto run =
            obrtest::runObrio(dir.path(), QStringList{"segy", "plot", path(), "--out", picture} + options);
        QCOMPARE(run.status, status);
        QCOMPARE(QImage(picture).width(), width);
        if (status == 1)
            QCOMPARE(run.err.join('\n').contains("no trace has FieldFile 999"), true);
    }

    void pageDownShowsTheNextGather()
    {
        SegyAnalysis analyzer(&console, dir.path(), nullptr, dir.filePath("none.xml"), path());
        const auto idle = [&analyzer] { return !analyzer.drawing() && !analyzer.scanning(); };
        control<QComboBox>(analyzer, "GatherKey")->setCurrentText("FieldFile");
        obrtest::edit(analyzer, "GatherValue", "1021");
        QVERIFY(QTest::qWaitFor(idle, 30000));
        QCOMPARE(analyzer.seismicImage()->plot().traceNumbers, (QVector<int>{5, 6, 7, 8}));
        QCOMPARE(control<QLabel>(analyzer, "GatherStatus")->text(), "FieldFile 1021: 4 traces");
        // PageDown over the plot, as the user presses it there.
        control<QTabWidget>(analyzer, "HeaderTab")->setCurrentIndex(3);
        analyzer.show();
        QApplication::setActiveWindow(&analyzer);
        QVERIFY(QTest::qWaitForWindowActive(&analyzer));
        analyzer.seismicImage()->setFocus();
        QTest::keyClick(analyzer.seismicImage(), Qt::Key_PageDown);
        QVERIFY(QTest::qWaitFor(idle, 30000));
        QCOMPARE(control<QLineEdit>(analyzer, "GatherValue")->text(), "1022");
        QCOMPARE(analyzer.seismicImage()->plot().traceNumbers, (QVector<int>{9, 10, 11, 12}));
    }

private:
    QString path() const { return dir.filePath("shots.sgy"); }

    QTemporaryDir dir;
    RecordingConsole console;
};

OBR_TEST_MAIN(TestTraceGathers)
#include "tst_trace_gathers.moc"
