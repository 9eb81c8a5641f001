#include "base/ui/FileDialogs.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyFormatFile.h"
#include "seismic/ui/SegyFormatViewer.h"
#include "tests/support/Controls.h"
#include "tests/support/DataTable.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/SampleFormatBoxes.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

using obrtest::control;
using obrtest::edit;

class TestSegyFormatViewer : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { FileDialogs::answerWith({}); }

    void overlapWarning_data()
    {
        obrtest::columns<QString, QString>({"startByte", "warning"});
        const QString text =
            QStringLiteral("The byte positions of Offset and %1 overlap!\n  If the overlap is not resolved, "
                           "the output SEGY header may be incomplete.");
        QTest::newRow("Offset at 35 meets Channel at 33") << "35" << text.arg("Channel");
        QTest::newRow("last byte inside") << "11" << text.arg("FFID");
        QTest::newRow("free bytes") << "241" << QString();
    }
    void overlapWarning()
    {
        const auto [startByte, warning] = obrtest::fetch<QString, QString>("startByte", "warning");
        SegyFormat format;
        format.setKeySlot(1, 33, HeaderDataType::Int32);
        SegyFormatViewer viewer(1, 0, &format, nullptr);
        ModalDialogCloser closer;
        edit(viewer, "Offset_StartByte", startByte);
        // The edit is written into the format shown, overlap or not.
        QCOMPARE(format.keySlot(26).startByte, startByte.toInt());
        QCOMPARE(closer.count(), warning.isEmpty() ? 0 : 1);
        if (!warning.isEmpty())
            QCOMPARE(closer.titles().first() + '|' + closer.seen().first().text, "SEGY Format|" + warning);
    }

    // The type boxes list every type by code, and an 8-byte word overlaps the 4 bytes after its first 4.
    void eightByteWordInAnAdditionalHeader()
    {
        SegyFormat format;
        format.setKeySlot(11, 337, HeaderDataType::IeeeDouble);
        SegyFormatViewer viewer(1, 0, &format, nullptr);
        ModalDialogCloser closer;
        auto* easting = control<QComboBox>(viewer, "Source_Easting_Type");
        QCOMPARE(easting->count(), HeaderDataType::codeCount);
        QCOMPARE(easting->currentText(), QStringLiteral("IEEE Double"));
        edit(viewer, "Source_Northing_StartByte", QStringLiteral("341"));
        QCOMPARE(closer.count(), 1);
        QVERIFY(closer.seen().first().text.contains(QStringLiteral("Source Northing and Source Easting")));
        control<QComboBox>(viewer, "Source_Northing_Type")->setCurrentText(QStringLiteral("8-byte unsigned"));
        QCOMPARE(format.keySlot(12).startByte, 341);
        QCOMPARE(format.keySlot(12).type, int(HeaderDataType::UInt64));
    }

    void saveAndOpen_data()
    {
        obrtest::columns<QString, int>({"sampleFormat", "storedCode"});
        QTest::newRow("2-byte integer keeps its code") << "2-byte integer" << 3;
        QTest::newRow("1-byte integer") << "1-byte integer" << 8;
        QTest::newRow("IEEE double") << "8-byte IEEE double" << 6;
        QTest::newRow("24-bit unsigned") << "3-byte unsigned integer" << 15;
    }
    void saveAndOpen()
    {
        const auto [sampleFormat, storedCode] = obrtest::fetch<QString, int>("sampleFormat", "storedCode");
        QTemporaryDir dir;
        ModalDialogCloser closer;
        const QString path = dir.filePath(QStringLiteral("Crew 7.xml"));
        FileDialogs::answerWith([&](const QString&, const QString&) { return path; });
        SegyFormat format;
        SegyFormatViewer viewer(1, 0, &format, nullptr);
        // A format without a file has no name to show yet.
        QCOMPARE(control<QLineEdit>(viewer, "FormatName")->text(), QString());
        QCOMPARE(control<QLabel>(viewer, "SampleIntervalLabel")->text(), QStringLiteral("Sample interval"));
        control<QLineEdit>(viewer, "FormatDescription")->setText(QStringLiteral("crew 7 layout"));
        control<QRadioButton>(viewer, "IsLittleEndian")->setChecked(true);
        edit(viewer, "Time_Scalar_StartByte", QStringLiteral("205"));
        QCOMPARE(obrtest::comboTexts(control<QComboBox>(viewer, "SampleFormat")), obrtest::sampleFormatTexts);
        const int sampleFormatEntry = control<QComboBox>(viewer, "SampleFormat")->findText(sampleFormat);
        control<QComboBox>(viewer, "SampleFormat")->setCurrentIndex(sampleFormatEntry);
        control<QPushButton>(viewer, "Save")->click();
        QCOMPARE(closer.count(), 0);

        SegyFormatFile file(path, 0);
        QVERIFY(file.read());
        QCOMPARE(file.format().sampleFormat.overrideValue, double(storedCode));
        // The standard sample count stays an unsigned word.
        QCOMPARE(file.format().samplesPerTrace, format.samplesPerTrace);

        SegyFormat other;
        SegyFormatViewer reopened(1, 0, &other, nullptr);
        control<QPushButton>(reopened, "Open")->click();
        QCOMPARE(control<QLineEdit>(reopened, "FormatName")->text(), QStringLiteral("Crew 7"));
        QCOMPARE(control<QLineEdit>(reopened, "FormatDescription")->text(), QStringLiteral("crew 7 layout"));
        QCOMPARE(control<QLineEdit>(reopened, "Time_Scalar_StartByte")->text(), QStringLiteral("205"));
        QVERIFY(control<QRadioButton>(reopened, "IsLittleEndian")->isChecked());
        QCOMPARE(control<QComboBox>(reopened, "SampleFormat")->currentIndex(), sampleFormatEntry);
        // The opener's format is left as it was.
        QCOMPARE(other.keySlot(34).startByte, 215);
    }

    void savedNameEndsInXml_data()
    {
        obrtest::columns<QString, bool, bool, QString>({"answer", "existing", "replace", "written"});
        QTest::newRow("a dot in the name") << "crew.v2" << false << false << "crew.v2.xml";
        QTest::newRow("existing file kept") << "Test crew" << true << false << QString();
        QTest::newRow("existing file replaced") << "Test crew" << true << true << "Test crew.xml";
    }
    void savedNameEndsInXml()
    {
        const auto [answer, existing, replace, written] =
            obrtest::fetch<QString, bool, bool, QString>("answer", "existing", "replace", "written");
        QTemporaryDir dir;
        const QString existingPath = dir.filePath(QStringLiteral("Test crew.xml"));
        if (existing)
            QVERIFY(obrtest::writeFile(existingPath, "old"));
        FileDialogs::answerWith([&](const QString&, const QString&) { return dir.filePath(answer); });
        ModalDialogCloser closer;
        closer.actOnNext([replace = replace](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        SegyFormat format;
        SegyFormatViewer viewer(1, 0, &format, nullptr);
        control<QPushButton>(viewer, "Save")->click();
        QCOMPARE(closer.count(), existing ? 1 : 0);
        QCOMPARE(viewer.saved(), !written.isEmpty());
        if (written.isEmpty()) {
            QCOMPARE(obrtest::readFile(existingPath), QByteArray("old"));
            return;
        }
        QCOMPARE(viewer.savedPath(), dir.filePath(written));
        // The open dialog lists what was saved.
        QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("*.xml")}, QDir::Files), QStringList{written});
        QVERIFY(SegyFormatFile(dir.filePath(written), 0).read());
    }
};

OBR_TEST_MAIN(TestSegyFormatViewer)
#include "tst_segy_format_viewer.moc"
