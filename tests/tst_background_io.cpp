#include "base/FileMapping.h"
#include "base/WholeFile.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <csignal>
#include <cstring>
#include <sys/resource.h>

// Outputs written behind the job's back and inputs mapped: what reaches the file, in what order,
// and what a failure on the other thread or a file cut under the job becomes.
class TestBackgroundIo : public QObject {
    Q_OBJECT
private slots:
    void init() { dir = std::make_unique<QTemporaryDir>(); }

    // Pieces of every size around the buffers', written and made in place, then a header written
    // over the start: the file holds them in order, as one write each would have left it.
    void gatheredWritesKeepTheirOrder()
    {
        QRandomGenerator random(7);
        QByteArray source(3 * int(WholeFile::gathered), Qt::Uninitialized);
        for (char& byte : source)
            byte = char(random.generate());
        QVERIFY(obrtest::writeFile(path("in"), source));
        QFile in(path("in"));
        QVERIFY(in.open(QIODevice::ReadOnly));
        QByteArray expected;
        WholeFile file(path("out"));
        QVERIFY(file.open());
        const qint64 sizes[] = {
            1, WholeFile::gathered - 1, 2, WholeFile::gathered, 3 * WholeFile::gathered + 5, 4096, 65536, 7};
        for (int round = 0; round < 3; ++round) {
            for (const qint64 size : sizes) {
                QByteArray piece(int(size), Qt::Uninitialized);
                for (char& byte : piece)
                    byte = char(random.generate());
                expected += piece;
                if (size % 3 == 0) {
                    const qint64 from = qint64(random.bounded(int(source.size() - size % source.size())));
                    const qint64 length = std::min<qint64>(size, source.size() - from);
                    expected.chop(int(size));
                    expected += source.mid(int(from), int(length));
                    QVERIFY(file.copyFrom(in.handle(), from, length));
                } else if (size % 2 == 0) {
                    char* room = file.space(size);
                    QVERIFY(room);
                    std::memcpy(room, piece.constData(), size_t(size));
                } else {
                    QVERIFY(file.write(piece));
                }
            }
        }
        QVERIFY(file.seek(10) && file.write("HEADER", 6));
        expected.replace(10, 6, "HEADER");
        QVERIFY2(file.commit(false), qPrintable(file.errorString()));
        QCOMPARE(obrtest::readFile(path("out")), expected);
    }

    // The system refuses bytes on the writing thread: a later write or the commit says why, the
    // name is not taken, and the file is gone once discarded.
    void refusedWriteBehindTheJob()
    {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit lowered = old;
        lowered.rlim_cur = rlim_t(3 * WholeFile::gathered + 1000);
        setrlimit(RLIMIT_FSIZE, &lowered);
        WholeFile file(path("out"));
        bool written = file.open();
        const QByteArray piece(65536, 'x');
        for (int k = 0; written && k < 200; ++k)
            written = file.write(piece);
        const bool committed = written && file.commit(false);
        setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY(!committed);
        QVERIFY2(file.errorString().contains("File too large"), qPrintable(file.errorString()));
        QVERIFY(!QFileInfo::exists(path("out")));
        QVERIFY(file.discard());
        QCOMPARE(obrtest::temporaryFiles(dir->path()), QStringList());
    }

    // A file cut while mapped: what is left reads as it was, the rest as zeros, and the mapping says
    // so, where a plain mapping would end the program.
    void mappedFileCut()
    {
        QVERIFY(obrtest::writeFile(path("in"), QByteArray(1 << 20, 7)));
        QFile in(path("in"));
        QVERIFY(in.open(QIODevice::ReadWrite));
        FileMapping mapping;
        QVERIFY(mapping.map(in.handle(), in.size()));
        QVERIFY(!mapping.cut());
        QVERIFY(in.resize(100000));
        qint64 sevens = 0;
        for (qint64 k = 0; k < mapping.size(); ++k)
            sevens += mapping.data()[k] == 7;
        QVERIFY(mapping.cut());
        // The page the new end falls in is kept whole by the system.
        QCOMPARE(sevens, qint64(100000));
        mapping.unmap();
        QVERIFY(!mapping.cut() && !mapping.map(in.handle(), 0));
    }

private:
    QString path(const QString& name) const { return dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> dir;
};

OBR_TEST_MAIN(TestBackgroundIo)
#include "tst_background_io.moc"
