#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyScalar.h"
#include "seismic/SeismicTrace.h"
#include "tests/support/DataTable.h"
#include "tests/support/ExactCompare.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegyFixture.h"
#include "tests/support/TestMain.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

// The peer's view of a file ("dump PATH"), after creating one itself ("create PATH FORMAT ENDIAN").
// Headers: field record (9), trace number (13), source X (73) as stored, coordinate scalar (71).
const QString peerProgram = QStringLiteral(R"(
import json, sys, segyio
def dump(path, endian):
    with segyio.open(path, ignore_geometry=True, endian=endian) as f:
        F = segyio.TraceField
        data = f.trace.raw[:] if f.tracecount else []
        print(json.dumps({
            "endian": endian, "count": f.tracecount, "samples": len(f.samples),
            "format": int(f.bin[segyio.BinField.Format]),
            "headers": [[h[F.FieldRecord], h[F.TraceNumber], h[F.SourceX], h[F.SourceGroupScalar]] for h in f.header],
            "data": [[float(v) for v in t] for t in data]}))
if sys.argv[1] == "create":
    path, code, endian = sys.argv[2], int(sys.argv[3]), sys.argv[4]
    layout = segyio.spec()
    layout.format, layout.samples, layout.tracecount, layout.endian = code, list(range(12)), 5, endian
    with segyio.create(path, layout) as f:
        f.bin.update(hns=12, hdt=2000, format=code)
        for i in range(5):
            f.header[i] = {segyio.TraceField.FieldRecord: 300 + i, segyio.TraceField.TraceNumber: i + 1,
                           segyio.TraceField.SourceX: 7654321 + i, segyio.TraceField.SourceGroupScalar: -100,
                           segyio.TraceField.TRACE_SAMPLE_COUNT: 12, segyio.TraceField.TRACE_SAMPLE_INTERVAL: 2000}
            f.trace[i] = [((j * 7 + i) % 200) - 100 for j in range(12)]
    dump(path, endian)
else:
    dump(sys.argv[2], sys.argv[3])
)");

QJsonObject peerDump(const QStringList& arguments)
{
    return QJsonDocument::fromJson(segytest::runPeer(peerProgram, arguments)).object();
}

// Checks that our reader sees what the peer sees: description, the four header words and every
// sample (or the first and last sample only: the peer misreads unnormalised IBM words in real files).
void compareWithPeer(const QString& path, const QJsonObject& peer, bool allSamples = true)
{
    RecordingConsole console(1);
    SegyFormat format;
    SegyData data(&console, path, 0, &format);
    QVERIFY(data.ok());
    QCOMPARE(data.traceCount(), peer[QLatin1String("count")].toInt());
    QCOMPARE(data.samples(), peer[QLatin1String("samples")].toInt());
    QCOMPARE(data.sampleFormat(), peer[QLatin1String("format")].toInt());
    QCOMPARE(data.swapBytes(), peer[QLatin1String("endian")].toString() == QLatin1String("big"));
    const QJsonArray headers = peer[QLatin1String("headers")].toArray();
    const QJsonArray samples = peer[QLatin1String("data")].toArray();
    const auto trace = SeismicTrace::create(data.samples(), data.sampleInterval());
    QVERIFY(data.traceCount() == 0 || data.seekSequentialTrace(1));
    for (int t = 0; t < data.traceCount(); ++t) {
        QVERIFY(data.readTrace(*trace));
        const QJsonArray words = headers[t].toArray();
        OBR_COMPARE_EXACT(trace->value(TraceKey::FieldFile), words[0].toDouble());
        OBR_COMPARE_EXACT(trace->value(TraceKey::Channel), words[1].toDouble());
        QCOMPARE(trace->coordinateScalar, words[3].toInt());
        OBR_COMPARE_EXACT(trace->value(TraceKey::SourceX),
                          applyScalar(words[2].toDouble(), words[3].toInt()));
        const QJsonArray values = samples[t].toArray();
        for (int s = 0; s < values.size(); ++s) {
            if (allSamples || (t == 0 && s == 0) || (t == data.traceCount() - 1 && s == values.size() - 1))
                OBR_COMPARE_EXACT(trace->data()[s], values[s].toDouble());
        }
    }
}

} // namespace

class TestSegyPeer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (segytest::runPeer(QStringLiteral("import segyio; print(1)"), {}).isEmpty())
            skipReason =
                QStringLiteral("/usr/bin/python3 with segyio (python3-segyio) is missing: peer checks "
                               "skipped");
    }

    // Files we write read the same with the peer, and files the peer writes read the same with ours.
    void bothWays_data()
    {
        obrtest::columns<int, QString, bool>({"sampleFormat", "endian", "ours"});
        for (int code : {1, 2, 3, 5, 8}) {
            for (const char* endian : {"big", "little"}) {
                QTest::addRow("ours, format %d %s endian", code, endian) << code << endian << true;
                QTest::addRow("peer's, format %d %s endian", code, endian) << code << endian << false;
            }
        }
    }
    void bothWays()
    {
        const auto [sampleFormat, endian, ours] =
            obrtest::fetch<int, QString, bool>("sampleFormat", "endian", "ours");
        if (!skipReason.isEmpty())
            QSKIP(qPrintable(skipReason));
        const QString path =
            dir.filePath(QStringLiteral("%1-%2-%3.sgy").arg(ours).arg(sampleFormat).arg(endian));
        if (!ours) {
            compareWithPeer(
                path, peerDump({QStringLiteral("create"), path, QString::number(sampleFormat), endian}));
            return;
        }
        RecordingConsole console(1);
        SegyFormat format;
        format.endianOrder =
            endian == QLatin1String("big") ? SegyFormat::BigEndian : SegyFormat::LittleEndian;
        segytest::FileLayout layout;
        layout.sampleFormat = sampleFormat;
        const auto fill = [](SeismicTrace& trace, int i) {
            trace.setValue(TraceKey::FieldFile, 1000 + i);
            trace.setValue(TraceKey::Channel, i + 1);
            trace.setValue(TraceKey::SourceX, 654321.09 + i);
            for (int s = 0; s < trace.sampleCount(); ++s)
                trace.data()[s] = (s * 11 + i) % 250 - 125;
        };
        QVERIFY(segytest::writeFile(path, format, layout, fill, &console));
        const QJsonObject peer = peerDump({QStringLiteral("dump"), path, endian});
        QCOMPARE(peer[QLatin1String("headers")].toArray()[2].toArray()[2].toInt(), 65432309);
        compareWithPeer(path, peer);
    }

    void realFiles_data() { obrtest::realFileRows(QStringLiteral("segy"), QStringLiteral("*.sgy")); }
    void realFiles()
    {
        QFETCH(QString, path);
        OBR_REQUIRE_REALDATA();
        if (!skipReason.isEmpty())
            QSKIP(qPrintable(skipReason));
        // The peer refuses a file read in the wrong byte order; a file it reads in neither is not compared.
        QJsonObject peer = peerDump({QStringLiteral("dump"), path, QStringLiteral("big")});
        if (peer.isEmpty())
            peer = peerDump({QStringLiteral("dump"), path, QStringLiteral("little")});
        if (peer.isEmpty())
            QSKIP("the peer library cannot read this file");
        compareWithPeer(path, peer, false);
    }

private:
    QString skipReason;
    QTemporaryDir dir;
};

OBR_TEST_MAIN(TestSegyPeer)
#include "tst_segy_peer.moc"
