#include "app/ui/FileDialogs.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyFormatFile.h"
#include "seismic/ui/SegyFormatViewer.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/TestMain.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

namespace {

template <typename T> T* control(const QObject& window, const QString& name)
{
    T* found = window.findChild<T*>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

void edit(const QObject& window, const QString& name, const QString& text)
{
    auto* line = control<QLineEdit>(window, name);
    line->setText(text);
    emit line->editingFinished();
}

} // namespace

class TestSegyFormatViewer : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void overlapWarning_data();
    void overlapWarning();
    void saveAndOpen_data();
    void saveAndOpen();
};

void TestSegyFormatViewer::cleanup()
{
    FileDialogs::answerWith({});
}

void TestSegyFormatViewer::overlapWarning_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("startByte");
    QTest::addColumn<QString>("warning");
    const QString text =
        QStringLiteral("The byte positions of %1 and %2 overlap!\n  If the overlap is not resolved, "
                       "the output SEGY header may be incomplete.");
    QTest::newRow("Offset at 35 meets Channel at 33") << "Offset"
                                                      << "35" << text.arg("Offset", "Channel");
    QTest::newRow("last byte inside") << "Offset"
                                      << "11" << text.arg("Offset", "FFID");
    QTest::newRow("free bytes") << "Offset"
                                << "241" << QString();
}

void TestSegyFormatViewer::overlapWarning()
{
    QFETCH(QString, row);
    QFETCH(QString, startByte);
    QFETCH(QString, warning);
    SegyFormat format;
    format.setKeySlot(1, 33, HeaderDataType::Int32);
    SegyFormatViewer viewer(1, 0, &format, nullptr);
    ModalDialogCloser closer;
    edit(viewer, row + QStringLiteral("_StartByte"), startByte);
    // The edit is written into the format shown, overlap or not.
    QCOMPARE(format.keySlot(26).startByte, startByte.toInt());
    QCOMPARE(closer.count(), warning.isEmpty() ? 0 : 1);
    if (!warning.isEmpty()) {
        QCOMPARE(closer.seen().first().title, QStringLiteral("SEGY Format"));
        QCOMPARE(closer.seen().first().text, warning);
    }
}

void TestSegyFormatViewer::saveAndOpen_data()
{
    QTest::addColumn<int>("sampleFormatEntry");
    QTest::addColumn<int>("storedCode");
    QTest::newRow("IEEE float") << 4 << 5;
    QTest::newRow("IBM float") << 0 << 1;
    QTest::newRow("2-byte int keeps its code") << 2 << 3;
    QTest::newRow("1-byte int") << 5 << 8;
}

void TestSegyFormatViewer::saveAndOpen()
{
    QFETCH(int, sampleFormatEntry);
    QFETCH(int, storedCode);
    QTemporaryDir dir;
    ModalDialogCloser closer;
    const QString path = dir.filePath(QStringLiteral("Crew 7.xml"));
    FileDialogs::answerWith([&](const QString&, const QString&) { return path; });
    SegyFormat format;
    SegyFormatViewer viewer(1, 0, &format, nullptr);
    QCOMPARE(control<QLineEdit>(viewer, "FormatName")->text(), QStringLiteral("Requested file not found!!!"));
    QCOMPARE(control<QPushButton>(viewer, "Save")->text(), QStringLiteral("Save Format"));
    control<QLineEdit>(viewer, "FormatDescription")->setText(QStringLiteral("crew 7 layout"));
    control<QRadioButton>(viewer, "IsASCII")->setChecked(true);
    control<QRadioButton>(viewer, "IsLittleEndian")->setChecked(true);
    edit(viewer, "Time_Scalar_StartByte", QStringLiteral("205"));
    control<QComboBox>(viewer, "SampleFormat")->setCurrentIndex(sampleFormatEntry);
    control<QPushButton>(viewer, "Save")->click();
    QCOMPARE(closer.count(), 0);
    QVERIFY(viewer.saved());
    QCOMPARE(viewer.savedPath(), path);

    SegyFormatFile file(path, 0);
    QVERIFY(file.read());
    QCOMPARE(file.format().sampleFormat.overrideValue, double(storedCode));
    QCOMPARE(file.format().keySlot(34).startByte, 205);

    SegyFormat other;
    SegyFormatViewer reopened(1, 0, &other, nullptr);
    control<QPushButton>(reopened, "Open")->click();
    QCOMPARE(control<QLineEdit>(reopened, "FormatName")->text(), QStringLiteral("Crew 7"));
    QCOMPARE(control<QLineEdit>(reopened, "FormatDescription")->text(), QStringLiteral("crew 7 layout"));
    QCOMPARE(control<QLineEdit>(reopened, "Time_Scalar_StartByte")->text(), QStringLiteral("205"));
    QVERIFY(control<QRadioButton>(reopened, "IsASCII")->isChecked());
    QVERIFY(control<QRadioButton>(reopened, "IsLittleEndian")->isChecked());
    QCOMPARE(control<QComboBox>(reopened, "SampleFormat")->currentIndex(), sampleFormatEntry);
    // The opener's format is left as it was.
    QCOMPARE(other.keySlot(34).startByte, 215);
}

OBR_TEST_MAIN(TestSegyFormatViewer)
#include "tst_segy_format_viewer.moc"
