#include "analyzers/ui/SegyAnalysis.h"
#include "analyzers/ui/TraceDisplay.h"
#include "base/ui/FileDialogs.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyFormatFile.h"
#include "seismic/SeismicTrace.h"
#include "seismic/ui/SegyFormatViewer.h"
#include "tests/support/Controls.h"
#include "tests/support/DataTable.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegyFixture.h"
#include "tests/support/TestMain.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStyleOptionFrame>
#include <QTableView>
#include <QTemporaryDir>
#include <cmath>

using obrtest::control;
using obrtest::edit;

namespace {

const QAbstractItemModel& table(const QObject& window, const char* name)
{
    return *control<QTableView>(window, name)->model();
}

QString cell(const QObject& window, const char* name, int row, int column)
{
    return table(window, name).index(row, column).data().toString();
}

QStringList column(const QObject& window, const char* name, int column)
{
    QStringList texts;
    for (int row = 0; row < table(window, name).rowCount(); ++row)
        texts.append(cell(window, name, row, column));
    return texts;
}

// The "min/max" of a field row.
QString range(const QObject& window, const QString& row)
{
    return control<QLineEdit>(window, row + "_Min")->text() + '/' +
           control<QLineEdit>(window, row + "_Max")->text();
}

} // namespace

class TestSegyAnalysis : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // Field file 100 + i, channel i + 1, CMP 500 + i; a sine in the samples.
        const auto fill = [](SeismicTrace& trace, int i) {
            trace.setValue(TraceKey::FieldFile, 100 + i);
            trace.setValue(TraceKey::Channel, i + 1);
            trace.setValue(TraceKey::Cmp, 500 + i);
            for (int j = 0; j < trace.sampleCount(); ++j)
                trace.data()[j] = std::sin(j * 0.3 + i);
        };
        for (int traces : {10, 100}) {
            SegyFormat format;
            segytest::FileLayout layout;
            layout.traces = traces;
            layout.samples = 200;
            layout.intervalMs = 2.0f;
            QVERIFY(segytest::writeFile(dir.filePath(QStringLiteral("t%1.sgy").arg(traces)), format, layout,
                                        fill, &console));
        }
    }
    void cleanup() { FileDialogs::answerWith({}); }

    void scanRangeFollowsTheTraceCount_data()
    {
        obrtest::columns<int, int>({"traces", "last"});
        QTest::newRow("10 traces") << 10 << 10;
        QTest::newRow("100 traces") << 100 << 24;
    }
    void scanRangeFollowsTheTraceCount()
    {
        const auto [traces, last] = obrtest::fetch<int, int>("traces", "last");
        const auto analyzer = open(traces);
        QVERIFY(analyzer->dataSet());
        QCOMPARE(analyzer->windowTitle(), QStringLiteral("SEGY Analyzer  -  t%1.sgy[*]").arg(traces));
        QCOMPARE(analyzer->scanFirst(), 1);
        QCOMPARE(analyzer->scanLast(), last);
        QCOMPARE(control<QSpinBox>(*analyzer, "LastTraceInRange")->value(), last);
        QCOMPARE(control<QSpinBox>(*analyzer, "LastTraceInRange")->maximum(), traces);
        QCOMPARE(control<QSpinBox>(*analyzer, "LastDisplayTrace")->maximum(), 99999999);
        // One column per scanned trace after the three fixed ones.
        QCOMPARE(table(*analyzer, "TraceHeader_FourByteTable").columnCount(), last + 3);
        QCOMPARE(range(*analyzer, "FFID"), QStringLiteral("100/%1").arg(99 + last));
        QCOMPARE(control<QLineEdit>(*analyzer, "Histogram_EndTime")->text(), QStringLiteral("400"));
        QVERIFY(analyzer->seismicImage());
        QCOMPARE(analyzer->seismicImage()->plot().annotations.size(), last);
    }

    void fieldEditsReadTheRangesAgain()
    {
        const auto analyzer = open(10);
        edit(*analyzer, "FFID_StartByte", QStringLiteral("21"));
        QCOMPARE(range(*analyzer, "FFID"), QStringLiteral("500/509"));
        edit(*analyzer, "FFID_StartByte", QStringLiteral("9"));
        // The upper half of the 32-bit word at byte 9.
        control<QComboBox>(*analyzer, "FFID_Type")->setCurrentIndex(1);
        QCOMPARE(range(*analyzer, "FFID"), QStringLiteral("0/0"));
        QCOMPARE(analyzer->formatInForce()->keySlot(0).type, int(HeaderDataType::Int16));
        // The scan range narrows the ranges too.
        control<QComboBox>(*analyzer, "FFID_Type")->setCurrentIndex(2);
        control<QSpinBox>(*analyzer, "FirstTraceInRange")->setValue(4);
        QCOMPARE(range(*analyzer, "FFID"), QStringLiteral("103/109"));
        // A range past the end of the file stops at its last trace.
        console.clear();
        control<QSpinBox>(*analyzer, "LastTraceInRange")->setMaximum(1000);
        control<QSpinBox>(*analyzer, "LastTraceInRange")->setValue(500);
        QCOMPARE(console.errors(), QStringList());
        QCOMPARE(range(*analyzer, "FFID"), QStringLiteral("103/109"));
        QCOMPARE(table(*analyzer, "TraceHeader_FourByteTable").columnCount(), 7 + 3);
    }

    void wordTableDescriptionsFollowTheSlots()
    {
        const auto analyzer = open(10);
        // Row 3 covers bytes 13 to 16, row 45 bytes 181 to 184.
        QCOMPARE(cell(*analyzer, "TraceHeader_FourByteTable", 3, 1), QStringLiteral("Channel"));
        QCOMPARE(cell(*analyzer, "TraceHeader_FourByteTable", 45, 1), QStringLiteral("CMP easting"));
        edit(*analyzer, "Channel_StartByte", QStringLiteral("181"));
        QCOMPARE(cell(*analyzer, "TraceHeader_FourByteTable", 3, 1), QString());
        // Both start at 181 now: the first name of the list wins.
        QCOMPARE(cell(*analyzer, "TraceHeader_FourByteTable", 45, 1), QStringLiteral("Channel"));
        control<QComboBox>(*analyzer, "Channel_Type")->setCurrentIndex(4);
        QCOMPARE(cell(*analyzer, "TraceHeader_FourByteTable", 45, 1), QStringLiteral("CMP easting"));
        QCOMPARE(cell(*analyzer, "TraceHeader_IEEEFloatTable", 45, 1), QStringLiteral("Channel"));
    }

    void byteOrderChangesOnlyBinaryValues()
    {
        const auto analyzer = open(10);
        const QStringList binary = column(*analyzer, "BinaryHeader_TwoByteTable", 2);
        const QStringList traceValues = column(*analyzer, "TraceHeader_FourByteTable", 3);
        QCOMPARE(binary[8], QStringLiteral("2000"));
        control<QRadioButton>(*analyzer, "IsLittleEndian")->setChecked(true);
        QVERIFY(!analyzer->dataSet()->swapBytes());
        QCOMPARE(cell(*analyzer, "BinaryHeader_TwoByteTable", 8, 2), QString::number(qint16(0xD007)));
        QCOMPARE(column(*analyzer, "TraceHeader_FourByteTable", 3), traceValues);
        QCOMPARE(range(*analyzer, "FFID"), QStringLiteral("100/109"));
        control<QRadioButton>(*analyzer, "GetEndian")->setChecked(true);
        QCOMPARE(column(*analyzer, "BinaryHeader_TwoByteTable", 2), binary);
    }

    void typeCombosKeepFiveEntries()
    {
        const auto analyzer = open(10);
        FileDialogs::answerWith([this](const QString& caption, const QString&) {
            return caption == QLatin1String("Open SEGY File") ? dir.filePath(QStringLiteral("t100.sgy"))
                                                              : QString();
        });
        for (int i = 0; i < 3; ++i)
            control<QPushButton>(*analyzer, "FileBrowse")->click();
        QCOMPARE(analyzer->dataSet()->traceCount(), 100);
        const auto combos = analyzer->findChildren<QComboBox*>(QRegularExpression(QStringLiteral("_Type$")));
        QCOMPARE(combos.size(), 29);
        for (const QComboBox* combo : combos)
            QVERIFY2(combo->count() == 5, qPrintable(combo->objectName()));
    }

    void sampleFormatOverrideReadsTheFileAgain()
    {
        const auto analyzer = open(10);
        control<QCheckBox>(*analyzer, "SampleFormat_Override")->click();
        control<QComboBox>(*analyzer, "SampleFormat")->setCurrentIndex(2);
        QCOMPARE(analyzer->dataSet()->sampleFormat(), 3);
        QCOMPARE(analyzer->dataSet()->traceLength(), 240 + 2 * 200);
        control<QCheckBox>(*analyzer, "SampleFormat_Override")->click();
        QCOMPARE(analyzer->dataSet()->sampleFormat(), 5);
    }

    void createFormatFileSavesTheControls()
    {
        const auto analyzer = open(10);
        const QString path = dir.filePath(QStringLiteral("Field layout.xml"));
        FileDialogs::answerWith([&](const QString&, const QString&) { return path; });
        control<QRadioButton>(*analyzer, "IsLittleEndian")->setChecked(true);
        control<QRadioButton>(*analyzer, "IsASCII")->setChecked(true);
        edit(*analyzer, "Offset_StartByte", QStringLiteral("181"));
        control<QComboBox>(*analyzer, "Offset_Type")->setCurrentIndex(4);
        control<QLineEdit>(*analyzer, "CMP_Datum_StartByte")->setText(QStringLiteral("225"));
        QSignalSpy saved(analyzer.get(), &SegyAnalysis::formatInfo);
        // The viewer runs modally: save from inside it, then close it.
        QTimer::singleShot(0, [] {
            auto* viewer = qobject_cast<SegyFormatViewer*>(QApplication::activeModalWidget());
            QVERIFY(viewer);
            control<QPushButton>(*viewer, "Save")->click();
            viewer->accept();
        });
        control<QPushButton>(*analyzer, "CreateFormatFile")->click();
        QCOMPARE(saved.count(), 1);
        QCOMPARE(saved.first().first().toString(), path);

        SegyFormatFile file(path, 0);
        QVERIFY(file.read());
        const SegyFormat& read = file.format();
        QCOMPARE(read.endianFromData, false);
        QCOMPARE(read.endianOrder, int(SegyFormat::LittleEndian));
        QVERIFY(read.textHeaderAscii);
        QCOMPARE(read.keySlot(26).startByte, 181);
        QCOMPARE(read.keySlot(26).type, int(HeaderDataType::IeeeFloat));
        QCOMPARE(read.keySlot(8).startByte, 225);
        QCOMPARE(read.keySlot(0).startByte, 9);
        QCOMPARE(read.sampleInterval, analyzer->formatInForce()->sampleInterval);
        // The unsigned sample count of the standard stays unsigned through both windows.
        QCOMPARE(read.samplesPerTrace, analyzer->formatInForce()->samplesPerTrace);
    }

    void samplesPerTraceTypeShown()
    {
        const auto analyzer = open(10);
        auto* type = control<QComboBox>(*analyzer, "SamplesPerTrace_DataType");
        QCOMPARE(type->currentText(), QStringLiteral("2-byte unsigned"));
        type->setCurrentIndex(0);
        QCOMPARE(analyzer->formatInForce()->samplesPerTrace.type, int(HeaderDataType::Int16));
        type->setCurrentIndex(2);
        QCOMPARE(analyzer->formatInForce()->samplesPerTrace.type, int(HeaderDataType::UInt16));
        QCOMPARE(control<QLineEdit>(*analyzer, "SamplesPerTrace")->text(), QStringLiteral("200"));
    }

    void rangeFieldsHoldCoordinates_data()
    {
        obrtest::columns<QString>({"field"});
        for (const char* field :
             {"CMP_Easting_Min", "CMP_Northing_Max", "Source_Easting_Max", "Source_Northing_Min",
              "Receiver_Easting_Min", "Receiver_Northing_Max", "Receiver_Elevation_Max", "FFID_Min"})
            QTest::newRow(field) << field;
    }
    void rangeFieldsHoldCoordinates()
    {
        const auto [field] = obrtest::fetch<QString>("field");
        // A desktop font of the usual size, whatever the test platform's default is.
        const QFont platformFont = QApplication::font();
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 11));
        const auto restoreFont = qScopeGuard([&platformFont] { QApplication::setFont(platformFont); });
        const auto analyzer = open(10);
        analyzer->show();
        QVERIFY(QTest::qWaitForWindowExposed(analyzer.get()));
        auto* edit = control<QLineEdit>(*analyzer, field);
        // Ten digits, one decimal and a sign in the room the line edit leaves its text: inside its
        // frame, less its text margins and the two pixels it keeps free on either side.
        QStyleOptionFrame frame;
        frame.initFrom(edit);
        frame.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, edit);
        const QRect room = edit->style()
                               ->subElementRect(QStyle::SE_LineEditContents, &frame, edit)
                               .marginsRemoved(edit->textMargins());
        const int text = edit->fontMetrics().horizontalAdvance(QStringLiteral("-9999999999.9"));
        QVERIFY2(text <= room.width() - 4,
                 qPrintable(QStringLiteral("%1 > %2").arg(text).arg(room.width() - 4)));
        // The rows scroll up and down only: no field lies beyond the right edge of the view.
        const QWidget* view = control<QScrollArea>(*analyzer, "TraceHeaderScroll")->viewport();
        QVERIFY(edit->mapTo(view, QPoint(edit->width(), 0)).x() <= view->width());
    }

private:
    std::unique_ptr<SegyAnalysis> open(int traces)
    {
        // No standard format file: the built-in standard layout is used.
        return std::make_unique<SegyAnalysis>(&console, dir.path(), nullptr,
                                              dir.filePath(QStringLiteral("none.xml")),
                                              dir.filePath(QStringLiteral("t%1.sgy").arg(traces)));
    }

    QTemporaryDir dir;
    RecordingConsole console;
};

OBR_TEST_MAIN(TestSegyAnalysis)
#include "tst_segy_analysis.moc"
