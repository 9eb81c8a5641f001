#include "devices/TapeImage.h"
#include "tests/support/DataTable.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <csignal>
#include <sys/resource.h>

using Result = TapeImage::Result;
using Format = TapeImageSettings::Format;
Q_DECLARE_METATYPE(TapeImageSettings::Format)

namespace {

// A tape's elements in order: a record's bytes, or an empty entry for a tape mark.
using Elements = QList<QByteArray>;

void appendWord(QByteArray* bytes, quint32 value)
{
    char word[4];
    qToLittleEndian(value, word);
    bytes->append(word, 4);
}

// The file the formats prescribe for `elements`. SIMH: a record is its length word, its data padded to an
// even length and the length word again; a mark is a zero word. Tape-In-File: each element behind a header
// of its type (0 record, 1 mark), the offset of the previous header and the offset of the next.
QByteArray standardFile(Format format, const Elements& elements)
{
    QByteArray bytes;
    qint64 previous = 0;
    for (const QByteArray& element : elements) {
        if (format == Format::Simh) {
            appendWord(&bytes, quint32(element.size()));
            if (!element.isEmpty())
                bytes += element + QByteArray(element.size() % 2, '\0') + bytes.right(4);
            continue;
        }
        const qint64 start = bytes.size();
        appendWord(&bytes, element.isEmpty() ? 1 : 0);
        appendWord(&bytes, quint32(previous));
        appendWord(&bytes, quint32(start + 12 + element.size()));
        bytes += element;
        previous = start;
    }
    return bytes;
}

Elements randomBlocks(int count, QRandomGenerator* random)
{
    Elements blocks;
    for (int k = 0; k < count; ++k) {
        QByteArray block(int(random->bounded(1, 24000)), '\0');
        for (char& byte : block)
            byte = char(random->bounded(256));
        blocks << block;
    }
    return blocks;
}

} // namespace

// Tape images written and read in large pieces: the files are what the formats prescribe, and a write
// that breaks off leaves an image that ends after its last whole block.
class TestTapeImageBatches : public QObject {
    Q_OBJECT
private slots:
    void formats_data()
    {
        obrtest::columns<Format>({"format"});
        QTest::newRow("SIMH") << Format::Simh;
        QTest::newRow("Tape-In-File") << Format::TapeInFile;
    }

    void streamedFileIsTheStandardLayout_data() { formats_data(); }
    // More than a window of blocks (one of them larger than half a window), marks, an erase behind a
    // backward move and a write over older blocks.
    void streamedFileIsTheStandardLayout()
    {
        const auto [format] = obrtest::fetch<Format>("format");
        QRandomGenerator random(7);
        const Elements first = randomBlocks(200, &random) << QByteArray(1536 * 1024, 'x');
        const Elements second = randomBlocks(200, &random);
        const Elements third = randomBlocks(60, &random);
        const Elements fourth = randomBlocks(5, &random);
        auto image = create(format);
        qint64 spaced = 0;
        QVERIFY(writeAll(image.get(), first + Elements{{}} + second));
        QCOMPARE(image->spaceRecords(-50, &spaced), Result::Ok);
        QCOMPARE(image->erase(), Result::Ok);
        QVERIFY(writeAll(image.get(), third));
        QCOMPARE(image->spaceRecords(-10, &spaced), Result::Ok);
        QVERIFY(writeAll(image.get(), fourth + Elements{{}, {}}));
        image.reset();

        const Elements expected =
            first + Elements{{}} + second.mid(0, 150) + third.mid(0, 50) + fourth + Elements{{}, {}};
        QVERIFY(obrtest::readFile(path) == standardFile(format, expected));
        image = open();
        QVERIFY(readToEnd(image.get()) == expected);
        // Backward over the last file, window by window.
        QCOMPARE(image->spaceFileMarks(-2, &spaced), Result::Ok);
        QCOMPARE(image->spaceRecords(-1000, &spaced), Result::FileMark);
        QCOMPARE(spaced, 5 + 50 + 150);
    }

    void writeBreaksOffMidBatch_data()
    {
        obrtest::columns<Format, int, int>({"format", "limit", "count"});
        for (const auto& [name, format] :
             {std::pair("SIMH", Format::Simh), {"Tape-In-File", Format::TapeInFile}}) {
            QTest::addRow("%s, first window", name) << format << 400000 << 100;
            // Windows written behind the job, more of them queued after the one that fails.
            QTest::addRow("%s, windows behind", name) << format << (4 << 20) << 1200;
        }
    }
    // The file system refuses more bytes in the middle of a gathered write: an error, and the image ends
    // after the last block that reached it whole.
    void writeBreaksOffMidBatch()
    {
        const auto [format, limit, count] = obrtest::fetch<Format, int, int>("format", "limit", "count");
        QRandomGenerator random(11);
        const Elements blocks = randomBlocks(count, &random);
        auto image = create(format);
        const auto ignored = std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit lowered = old;
        lowered.rlim_cur = rlim_t(limit);
        setrlimit(RLIMIT_FSIZE, &lowered);
        int accepted = 0;
        while (accepted < blocks.size() &&
               image->writeRecord(blocks[accepted].constData(), blocks[accepted].size()) == Result::Ok)
            ++accepted;
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, ignored);
        QVERIFY(accepted < blocks.size());

        image.reset();
        image = open();
        const Elements kept = readToEnd(image.get());
        QVERIFY2(!kept.isEmpty() && kept.size() < accepted, qPrintable(QString::number(kept.size())));
        QVERIFY(kept == blocks.mid(0, kept.size()));
        QVERIFY(obrtest::readFile(path) == standardFile(format, kept));
        QVERIFY(standardFile(format, blocks.mid(0, kept.size() + 1)).size() > limit);
        // The tape goes on from there.
        int marks = 0;
        QCOMPARE(image->writeFileMarks(1, &marks), Result::Ok);
        QCOMPARE(image->rewind(), Result::Ok);
        QVERIFY(readToEnd(image.get()) == kept + Elements{{}});
    }

    void imageCutUnderQueuedWrites_data() { formats_data(); }
    // The image is cut short while windows wait to be written behind the job: the job is told, and none
    // of them lengthens the file again with zeros where the cut was.
    void imageCutUnderQueuedWrites()
    {
        const auto [format] = obrtest::fetch<Format>("format");
        QRandomGenerator random(5);
        const Elements blocks = randomBlocks(1000, &random);
        auto image = create(format);
        QVERIFY(writeAll(image.get(), blocks.mid(0, 600)));
        QVERIFY(QFile::resize(path, 1000));
        int marks = 0;
        QVERIFY(!writeAll(image.get(), blocks.mid(600)) || image->writeFileMarks(1, &marks) != Result::Ok);
        image.reset();
        QCOMPARE(QFileInfo(path).size(), 1000);
    }

private:
    std::unique_ptr<TapeImage> create(Format format)
    {
        QString errorText;
        QFile::remove(path);
        QFile::remove(TapeImageSettings::settingsPath(path));
        if (!TapeImage::create(path, format, TapeImageSettings::defaultCapacity, &errorText))
            qFatal("%s", qPrintable(errorText));
        return open();
    }
    std::unique_ptr<TapeImage> open()
    {
        QString errorText;
        auto image = TapeImage::open(path, &errorText);
        if (!image || image->rewind() != Result::Ok)
            qFatal("%s", qPrintable(errorText));
        return image;
    }
    static bool writeAll(TapeImage* image, const Elements& elements)
    {
        for (const QByteArray& element : elements) {
            int marks = 0;
            const Result result = element.isEmpty() ? image->writeFileMarks(1, &marks)
                                                    : image->writeRecord(element.constData(), element.size());
            if (result != Result::Ok)
                return false;
        }
        return true;
    }
    // Everything from the position to the end of the data; a damaged element ends it with "<damaged>".
    static Elements readToEnd(TapeImage* image)
    {
        Elements elements;
        QByteArray buffer(2 << 20, '\0');
        for (;;) {
            int length = 0;
            const Result result = image->readRecord(buffer.data(), buffer.size(), &length);
            if (result == Result::EndOfData)
                return elements;
            if (result != Result::Ok && result != Result::FileMark)
                return elements << "<damaged>";
            elements << buffer.left(length);
        }
    }

    QTemporaryDir dir;
    const QString path = dir.filePath("batches.tap");
};

OBR_TEST_MAIN(TestTapeImageBatches)
#include "tst_tape_image_batches.moc"
