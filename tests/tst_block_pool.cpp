#include "base/BlockPool.h"
#include "seismic/SegdData.h"
#include "seismic/SegdFileScan.h"
#include "seismic/SegdReader.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegdStandardFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QTemporaryDir>
#include <algorithm>
#include <new>
#include <stdexcept>

class TestBlockPool : public QObject {
    Q_OBJECT
private slots:
    // An exception ends its own block: the others are done, the failures come back in order.
    void exceptionsEndTheirBlockOnly()
    {
        for (const int threads : {1, 3}) {
            std::vector<int> done(8, 0);
            const auto failures = BlockPool::run(8, threads, [&](int, int block) {
                if (block == 5)
                    throw std::runtime_error("disk gone");
                if (block == 2)
                    throw std::bad_alloc();
                done[size_t(block)] = 1;
            });
            QCOMPARE(failures.size(), size_t(2));
            QCOMPARE(failures[0].block, 2);
            QCOMPARE(failures[0].reason, QStringLiteral("out of memory"));
            QCOMPARE(failures[1].block, 5);
            QCOMPARE(failures[1].reason, QStringLiteral("disk gone"));
            QCOMPARE(std::count(done.begin(), done.end(), 1), 6);
        }
    }

    // A scan whose block throws fails that file (or range of traces) with its reason and name.
    void scansFailTheBlockThatThrew()
    {
        QStringList paths;
        for (const char* name : {"a.segd", "b.segd", "c.segd"}) {
            paths.append(dir.filePath(QLatin1String(name)));
            QVERIFY(obrtest::writeFile(paths.last(), segdstd::build(segdstd::standardRevision21())));
        }
        const auto open = [](const QString& path, ObrConsole& console) -> std::unique_ptr<SegdData> {
            if (path.endsWith("b.segd"))
                throw std::bad_alloc();
            return SegdReader::open(path, &console, false);
        };
        auto results = SegdFileScan::scanFiles(paths, 2, open, 0);
        QVERIFY(results[0].ok && !results[1].ok && results[2].ok);
        RecordingConsole console;
        results[1].lines.passOn(console);
        QCOMPARE(console.errors(), QStringList{paths[1] + " could not be scanned: out of memory"});

        // The lone file's ranges read through readers of their own, made on the scan's threads.
        int opened = 0;
        const auto failingReaders = [&](const QString& path, ObrConsole& out) -> std::unique_ptr<SegdData> {
            if (++opened > 1)
                throw std::runtime_error("disk gone");
            return SegdReader::open(path, &out, false);
        };
        console.clear();
        const auto lone = SegdFileScan::scanFile(paths[0], 2, failingReaders, console);
        QVERIFY(!lone.ok);
        QCOMPARE(console.errors(),
                 QStringList{"traces 1 to 8 of " + paths[0] + " could not be scanned: disk gone"});
    }

private:
    QTemporaryDir dir;
};

OBR_TEST_MAIN(TestBlockPool)
#include "tst_block_pool.moc"
