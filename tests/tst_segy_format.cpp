#include "base/ui/FileDialogs.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyFormatFile.h"
#include "seismic/ui/SegyFormatViewer.h"
#include "tests/support/Controls.h"
#include "tests/support/DataTable.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

using obrtest::control;
using obrtest::edit;

// SEG-Y format files, and the window that edits them.
class TestSegyFormat : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { FileDialogs::answerWith({}); }

    void changedFormatRoundTrips()
    {
        SegyFormat format;
        format.path = dir.filePath(QStringLiteral("Field Crew.xml"));
        format.exportFullHeader = false;
        format.endianFromData = false;
        format.endianOrder = SegyFormat::LittleEndian;
        format.textHeaderAscii = true;
        format.textHeaderSize = 3000;
        format.traceHeaderSize = 480;
        format.sampleInterval = {19, HeaderDataType::Int32, true, 0.25};
        format.sampleFormat = {27, HeaderDataType::Int16, true, 1};
        format.samplesPerTrace = {23, HeaderDataType::Int32, true, 1500};
        format.headerWords[2].inIndexFile = false;
        format.setKeySlot(SegyFormat::keySlotByName(QStringLiteral("Field File Number")), 17,
                          HeaderDataType::IbmFloat);
        // Types beyond the first five, in the additional trace header.
        format.setKeySlot(SegyFormat::keySlotByName(QStringLiteral("Source Easting")), 337,
                          HeaderDataType::UInt64);
        format.headerWords.append({QStringLiteral("Extended trace"), QStringLiteral("Ext trace"), 249,
                                   HeaderDataType::IeeeDouble, true});

        SegyFormatFile out(format.path, 1);
        QVERIFY(out.write(format, QStringLiteral("crew layout")));
        SegyFormatFile in(format.path, 0);
        QVERIFY(in.read());
        QCOMPARE(in.versionText(), QStringLiteral("2.0.1"));
        QCOMPARE(in.description(), QStringLiteral("crew layout"));
        QCOMPARE(in.format().path, QStringLiteral("SegyFormats/Field Crew.xml"));
        QVERIFY(in.format() == format);
        QCOMPARE(in.format().keySlot(0).startByte, 17);
    }

    void standardFileInstalledOnceAndReadsAsStandard()
    {
        const QString folder = dir.filePath(QStringLiteral("krd/SegyFormats"));
        QVERIFY(SegyFormatFile::installStandard(folder));
        const QString path = folder + QStringLiteral("/SEGY Standard.xml");
        SegyFormatFile file(path, 0);
        QVERIFY(file.read());
        // "Get from data" reads as an order still to be detected.
        SegyFormat expected;
        expected.endianOrder = SegyFormat::FromData;
        QVERIFY(file.format() == expected);
        QCOMPARE(file.name(), QStringLiteral("SEGY Standard"));

        // A standard file the user edited is kept.
        write("krd/SegyFormats/SEGY Standard.xml", "<SegyFormat Version=\"2.0.1\"/>");
        QVERIFY(SegyFormatFile::installStandard(folder));
        QCOMPARE(obrtest::readFile(path), QByteArray("<SegyFormat Version=\"2.0.1\"/>"));
    }

    void refusesOtherRoots_data()
    {
        obrtest::columns<QByteArray, QString>({"document", "error"});
        QTest::newRow("wrong root") << QByteArray("<Format Version=\"2.0.1\"/>")
                                    << QStringLiteral("This is not a SEGY format file");
        QTest::newRow("broken off") << QByteArray("<SegyFormat Version=\"2.0.1\"><TextHeader Size=\"3200\">")
                                    << QString();
    }
    void refusesOtherRoots()
    {
        const auto [document, error] = obrtest::fetch<QByteArray, QString>("document", "error");
        SegyFormatFile file(write("f.xml", document), 0);
        QVERIFY(!file.read());
        if (!error.isEmpty())
            QCOMPARE(file.errorString(), error);
        QVERIFY(!SegyFormatFile(dir.filePath(QStringLiteral("missing.xml")), 0).read());
    }

    void saveAndOpen()
    {
        const QString sampleFormat = QStringLiteral("3-byte unsigned integer");
        QTemporaryDir dir;
        ModalDialogCloser closer;
        const QString path = dir.filePath(QStringLiteral("Crew 7.xml"));
        FileDialogs::answerWith([&](const QString&, const QString&) { return path; });
        SegyFormat format;
        SegyFormatViewer viewer(1, 0, &format, nullptr);
        control<QLineEdit>(viewer, "FormatDescription")->setText(QStringLiteral("crew 7 layout"));
        control<QRadioButton>(viewer, "IsLittleEndian")->setChecked(true);
        edit(viewer, "Time_Scalar_StartByte", QStringLiteral("205"));
        const int sampleFormatEntry = control<QComboBox>(viewer, "SampleFormat")->findText(sampleFormat);
        control<QComboBox>(viewer, "SampleFormat")->setCurrentIndex(sampleFormatEntry);
        control<QPushButton>(viewer, "Save")->click();
        QCOMPARE(closer.count(), 0);

        SegyFormatFile file(path, 0);
        QVERIFY(file.read());
        QCOMPARE(file.format().sampleFormat.overrideValue, 15.0);
        // The standard sample count stays an unsigned word.
        QCOMPARE(file.format().samplesPerTrace, format.samplesPerTrace);

        SegyFormat other;
        SegyFormatViewer reopened(1, 0, &other, nullptr);
        control<QPushButton>(reopened, "Open")->click();
        QCOMPARE(control<QLineEdit>(reopened, "FormatDescription")->text(), QStringLiteral("crew 7 layout"));
        QCOMPARE(control<QLineEdit>(reopened, "Time_Scalar_StartByte")->text(), QStringLiteral("205"));
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

private:
    QString write(const QString& name, const QByteArray& text)
    {
        const QString path = dir.filePath(name);
        if (!obrtest::writeFile(path, text))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QTemporaryDir dir;
};

OBR_TEST_MAIN(TestSegyFormat)
#include "tst_segy_format.moc"
