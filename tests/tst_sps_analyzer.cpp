#include "app/HelpPages.h"
#include "base/WorkingRoot.h"
#include "base/ui/OnlineDocumentation.h"
#include "sps/SpsFormatFile.h"
#include "sps/ui/LineEdit.h"
#include "sps/ui/SpinBox.h"
#include "sps/ui/SpsReceiverAnalyzer.h"
#include "sps/ui/SpsRelationAnalyzer.h"
#include "sps/ui/SpsSourceAnalyzer.h"
#include "sps/ui/SpsTextView.h"
#include "tests/support/Controls.h"
#include "tests/support/DataTable.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SpsFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

using obrtest::control;

namespace {

// A header line and two source points in the built-in columns; the same lines as receiver points.
const QStringList sourceLines{
    QStringLiteral("H00 SPS format version number    SPS001"),
    QStringLiteral("S            1001    10111AB  11       0 2        100.0 5000000.0  10.5001120000"),
    QStringLiteral("S            1001    10211AB  11       0 2        250.5 5000010.0  20.0001120001"),
};

QStringList linesOf(SpsKind kind)
{
    QStringList lines = sourceLines;
    if (kind != SpsKind::Source) {
        for (QString& line : lines)
            line.replace(0, 1, QString(SpsKinds::recordLetter(kind)));
    }
    return lines;
}

std::unique_ptr<SpsAnalyzer> openAnalyzer(SpsKind kind, const QString& survey, const QString& file,
                                          ObrConsole* console, QWidget* parent = nullptr)
{
    switch (kind) {
    case SpsKind::Source:
        return std::make_unique<SpsSourceAnalyzer>(parent, survey, file, console);
    case SpsKind::Receiver:
        return std::make_unique<SpsReceiverAnalyzer>(parent, survey, file, console);
    case SpsKind::Relation:
        break;
    }
    return std::make_unique<SpsRelationAnalyzer>(parent, survey, file, console);
}

// The names of a form's controls for one field part.
struct Names {
    QString start, end, min, max, load;
};

Names namesFor(SpsKind kind, const QString& part)
{
    const QString prefix = kind == SpsKind::Source     ? QStringLiteral("Source")
                           : kind == SpsKind::Receiver ? QStringLiteral("Receiver")
                                                       : QString();
    const QString name = prefix + part;
    return {name + "_StartCol", name + "_EndCol", name + "_Min", name + "_Max",
            (prefix.isEmpty() ? QStringLiteral("Load") : prefix + QStringLiteral("Load")) + part};
}

QString idPrefix(SpsKind kind)
{
    return kind == SpsKind::Source ? "Source_" : kind == SpsKind::Receiver ? "Receiver_" : "";
}

QString minMax(const QWidget& window, SpsKind kind, const QString& part)
{
    const Names names = namesFor(kind, part);
    return control<LineEdit>(window, names.min)->text() + ".." + control<LineEdit>(window, names.max)->text();
}

} // namespace

class TestSpsAnalyzer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(HelpPages::install(work.filePath(QStringLiteral("Docs"))));
        QVERIFY(QDir::setCurrent(work.path()));
    }
    void init()
    {
        QDir(WorkingRoot::path()).removeRecursively();
        QVERIFY(WorkingRoot::create());
        QDir(survey).removeRecursively();
        QVERIFY(QDir().mkpath(survey));
        console.clear();
    }

    void formControls_data()
    {
        obrtest::columns<int, QString, QString, QStringList, QStringList>(
            {"kind", "group", "check", "parts", "labels"});
        const QStringList pointParts{"Line",     "Loc",   "Index",  "Code",       "Static",
                                     "Depth",    "Datum", "Uphole", "WaterDepth", "Easting",
                                     "Northing", "Elev",  "Date",   "Time"};
        QTest::newRow("source") << int(SpsKind::Source) << "Source record identification"
                                << "Read lines with source record ID \"S\"" << pointParts
                                << QStringList{"Line",           "Location",      "Index",
                                               "Code",           "Source static", "Source depth",
                                               "Source datum",   "Source uphole", "Water depth",
                                               "Easting",        "Northing",      "Elevation",
                                               "Recording date", "Recording time"};
        QTest::newRow("receiver") << int(SpsKind::Receiver) << "Receiver record identification"
                                  << "Read lines with receiver record ID \"R\"" << pointParts
                                  << QStringList{
                                         "Receiver line",    "Receiver location", "Receiver index",
                                         "Receiver code",    "Receiver static",   "Receiver depth",
                                         "Receiver datum",   "Receiver uphole",   "Water depth",
                                         "Receiver easting", "Receiver northing", "Receiver elevation",
                                         "Recording date",   "Recording time"};
        QTest::newRow("relation") << int(SpsKind::Relation) << "Relation record identification"
                                  << "Read lines with relation record ID \"X\""
                                  << QStringList{"Tape",      "Record",       "RecordIncr", "InstrumentCode",
                                                 "ShotLine",  "ShotLocation", "ShotIndex",  "FromChannel",
                                                 "ToChannel", "ChannelIncr",  "RecLine",    "FromRec",
                                                 "ToRec",     "RecIndex"}
                                  << QStringList{"Tape number",     "Record number", "Record increment",
                                                 "Instrument code", "Source line",   "Source location",
                                                 "Source index",    "From channel",  "To channel",
                                                 "Channel incr.",   "Receiver line", "From receiver",
                                                 "To receiver",     "Receiver index"};
    }
    void formControls()
    {
        const auto [kindNumber, group, check, parts, labels] =
            obrtest::fetch<int, QString, QString, QStringList, QStringList>("kind", "group", "check", "parts",
                                                                            "labels");
        const auto kind = SpsKind(kindNumber);
        QVERIFY(obrtest::writeFile(survey + "/LINE1", spstest::text(linesOf(kind))));
        const auto analyzer = openAnalyzer(kind, survey, "LINE1", &console);
        const QWidget& window = *analyzer;
        QCOMPARE(window.windowTitle(), QStringLiteral("SPS Analyzer  -  LINE1"));
        QCOMPARE(window.findChild<QGroupBox*>()->title(), group);
        QCOMPARE(control<QCheckBox>(window, idPrefix(kind) + "LoadId")->text(), check);
        for (const char* name : {"ID_StartCol", "ID_EndCol"})
            control<SpinBox>(window, idPrefix(kind) + name);
        control<QSpinBox>(window, idPrefix(kind) + "FirstLine");
        QStringList rowLabels;
        for (int row = 0; row < parts.size(); ++row) {
            const Names names = namesFor(kind, parts[row]);
            control<QCheckBox>(window, names.load);
            control<SpinBox>(window, names.start);
            control<SpinBox>(window, names.end);
            QVERIFY(control<LineEdit>(window, names.min)->isReadOnly());
            QVERIFY(control<LineEdit>(window, names.max)->isReadOnly());
            rowLabels << control<QLabel>(window, names.start.chopped(9) + "Label")->text();
        }
        QCOMPARE(rowLabels, labels);
        for (const char* heading : {"Load", "Start", "End", "Min", "Max"})
            QVERIFY(control<QLabel>(window, QStringLiteral("%1Heading1").arg(heading))->text() ==
                    QLatin1String(heading));
        QStringList buttons;
        for (const char* name : {"Default", "Help", "Save", "Close", "Sps21"})
            buttons << control<QPushButton>(window, name)->text();
        QCOMPARE(buttons,
                 QStringList({"Set as the default", "Help", "Save format", "Close", "SPS 2.1 layout"}));
        for (const char* name : {"Columns", "Text"}) {
            const QFont font = control<SpsTextView>(window, name)->font();
            QCOMPARE(font.family(), QStringLiteral("Courier"));
            QCOMPARE(font.pointSize(), 9);
        }
        const SpsLines* ruler = control<SpsTextView>(window, "Columns")->lines();
        QCOMPARE(QByteArray(ruler->line(0).data(), int(ruler->line(0).size())),
                 QByteArray("123456789|123456789|123456789|123456789|123456789|123456789|123456789|123456789|"
                            "123456789|1234567890"));
        QCOMPARE(control<SpsTextView>(window, "Text")->lines()->count(), 3);
    }

    void formSizesAndRanges()
    {
        QDialog bare;
        Ui::SpsSourceAnalyzerUi form;
        form.setupUi(&bare);
        QCOMPARE(bare.windowTitle(), QStringLiteral("SPS Analyzer"));
        QCOMPARE(bare.size(), QSize(1000, 700));
        QCOMPARE(bare.minimumWidth(), 1000);
        QCOMPARE(bare.maximumSize(), QSize(1000, 901));
        QCOMPARE(form.Source_FirstLine->minimum(), 1);
        QCOMPARE(form.Source_FirstLine->maximum(), 99999);
        for (const SpinBox* box :
             {form.Source_ID_StartCol, form.SourceLine_EndCol, form.SourceLoc_StartCol,
              form.SourceIndex_EndCol, form.SourceCode_StartCol, form.SourceEasting_EndCol,
              form.SourceNorthing_StartCol, form.SourceElev_EndCol})
            QCOMPARE(QPair(box->minimum(), box->maximum()), QPair(1, 128));
    }

    void fitsTheAvailableScreen()
    {
        QVERIFY(obrtest::writeFile(survey + "/LINE1", spstest::text(sourceLines)));
        const auto analyzer = openAnalyzer(SpsKind::Source, survey, "LINE1", &console);
        const QSize available = analyzer->screen()->availableGeometry().size();
        QVERIFY(analyzer->width() <= available.width());
        QVERIFY(analyzer->width() >= std::min(1000, available.width()) - 50);
        QVERIFY(analyzer->height() <= available.height());
    }

    void noFileOrMissingFile_data()
    {
        obrtest::columns<QString, QString>({"file", "text"});
        QTest::newRow("no file") << ""
                                 << "No file selected.\n Select a file to analyze.";
        QTest::newRow("missing") << "LINE9"
                                 << "Cannot read SPS file %1/LINE9.\nFile does not exist";
    }
    void noFileOrMissingFile()
    {
        const auto [file, text] = obrtest::fetch<QString, QString>("file", "text");
        ModalDialogCloser closer;
        const auto analyzer = openAnalyzer(SpsKind::Receiver, survey, file, &console);
        QCOMPARE(closer.count(), 1);
        QCOMPARE(closer.seen()[0].title, QStringLiteral("SPS Record"));
        QCOMPARE(closer.seen()[0].text, QString(text).replace("%1", survey));
        QCOMPARE(closer.seen()[0].icon, int(QMessageBox::Warning));
        QVERIFY(!control<SpsTextView>(*analyzer, "Text")->lines());
        QCOMPARE(minMax(*analyzer, SpsKind::Receiver, "Easting"), QStringLiteral(".."));
        // A missing file's layout can be saved for the file to come; without a file there is no such place.
        QCOMPARE(control<QPushButton>(*analyzer, "Save")->isEnabled(), !file.isEmpty());
    }

    void saveWritesTheFilesLayoutAndReopeningRestoresIt_data()
    {
        obrtest::columns<int, QString>({"kind", "part"});
        QTest::newRow("source") << int(SpsKind::Source) << "Easting";
        QTest::newRow("receiver") << int(SpsKind::Receiver) << "Northing";
        QTest::newRow("relation") << int(SpsKind::Relation) << "FromChannel";
    }
    void saveWritesTheFilesLayoutAndReopeningRestoresIt()
    {
        const auto [kindNumber, part] = obrtest::fetch<int, QString>("kind", "part");
        const auto kind = SpsKind(kindNumber);
        // The user default moves the field; the file's own layout then moves it again.
        SpsLayout userLayout = SpsLayout::defaults(kind);
        userLayout.setFirstLine(3);
        QVERIFY(SpsFormatFile(SpsFormatFile::userDefaultBase(kind), kind).write(userLayout, QString()));
        QVERIFY(obrtest::writeFile(survey + "/LINE1", spstest::text(linesOf(kind))));
        const Names names = namesFor(kind, part);
        SpsLayout saved = SpsLayout::defaults(kind);
        {
            const auto analyzer = openAnalyzer(kind, survey, "LINE1", &console);
            control<QCheckBox>(*analyzer, idPrefix(kind) + "LoadId")->setChecked(false);
            QCOMPARE(control<QSpinBox>(*analyzer, idPrefix(kind) + "FirstLine")->value(), 3);
            control<QSpinBox>(*analyzer, idPrefix(kind) + "FirstLine")->setValue(2);
            control<SpinBox>(*analyzer, names.end)->setValue(90);
            control<SpinBox>(*analyzer, names.start)->setValue(88);
            control<QCheckBox>(*analyzer, names.load)->setChecked(false);
            saved = analyzer->controlsLayout();
            control<QPushButton>(*analyzer, "Save")->click();
            QCOMPARE(analyzer->result(), int(QDialog::Accepted));
        }
        QVERIFY(QFileInfo::exists(survey + "/LINE1.fmt"));
        QVERIFY(console.contains(survey + "/LINE1.fmt"));
        const auto reopened = openAnalyzer(kind, survey, "LINE1", &console);
        QCOMPARE(spstest::describe(reopened->controlsLayout()), spstest::describe(saved));
        QCOMPARE(spstest::describe(reopened->scanLayout()), spstest::describe(saved));
        QVERIFY(!saved.readPointId());
        QCOMPARE(saved.firstLine(), 2);
    }

    void setAsTheDefaultWritesTheKindsDefault()
    {
        QVERIFY(obrtest::writeFile(survey + "/LINE1.X", spstest::text(linesOf(SpsKind::Relation))));
        QVERIFY(QDir(WorkingRoot::path() + "/AuxiliaryFormat").removeRecursively());
        const auto analyzer = openAnalyzer(SpsKind::Relation, survey, "LINE1.X", &console);
        control<SpinBox>(*analyzer, "Tape_StartCol")->setValue(3);
        control<QPushButton>(*analyzer, "Default")->click();
        QCOMPARE(analyzer->result(), int(QDialog::Accepted));
        SpsLayout stored = SpsLayout::defaults(SpsKind::Relation);
        SpsFormatFile file(SpsFormatFile::userDefaultBase(SpsKind::Relation), SpsKind::Relation);
        QCOMPARE(file.read(WorkingRoot::path() + "/AuxiliaryFormat/XPS Default Format.fmt", stored),
                 SpsFormatFile::Layer::Read);
        QCOMPARE(spstest::describe(stored), spstest::describe(analyzer->controlsLayout()));
        QVERIFY(!QFileInfo::exists(survey + "/LINE1.X.fmt"));
    }

    void failedSaveKeepsTheWindowOpen()
    {
        QVERIFY(obrtest::writeFile(survey + "/LINE1", spstest::text(sourceLines)));
        // A folder where the format file belongs cannot be written over.
        QVERIFY(QDir().mkpath(survey + "/LINE1.fmt"));
        const auto analyzer = openAnalyzer(SpsKind::Source, survey, "LINE1", &console);
        analyzer->show();
        ModalDialogCloser closer;
        control<QPushButton>(*analyzer, "Save")->click();
        QCOMPARE(closer.titles(), QStringList{"SPS Analyzer"});
        QCOMPARE(closer.seen()[0].icon, int(QMessageBox::Critical));
        QVERIFY(closer.seen()[0].text.startsWith("Cannot write SPS format file " + survey + "/LINE1.fmt"));
        QCOMPARE(console.errors().size(), 1);
        QVERIFY(analyzer->isVisible());
        QVERIFY(QFileInfo(survey + "/LINE1.fmt").isDir());
    }

    void markersBracketTheFieldsColumns_data()
    {
        obrtest::columns<QString, QString, int, int>({"control", "part", "start", "end"});
        QTest::newRow("click into Min") << "_Min"
                                        << "Elev" << 66 << 71;
        QTest::newRow("click into Max") << "_Max"
                                        << "Line" << 2 << 17;
        QTest::newRow("click into the start column") << "_StartCol"
                                                     << "Date" << 72 << 74;
        QTest::newRow("click into the end column") << "_EndCol"
                                                   << "Index" << 26 << 26;
    }
    void markersBracketTheFieldsColumns()
    {
        const auto [suffix, part, start, end] =
            obrtest::fetch<QString, QString, int, int>("control", "part", "start", "end");
        QVERIFY(obrtest::writeFile(survey + "/LINE1", spstest::text(sourceLines)));
        const auto analyzer = openAnalyzer(SpsKind::Source, survey, "LINE1", &console);
        analyzer->show();
        QVERIFY(QTest::qWaitForWindowExposed(analyzer.get()));
        auto* text = control<SpsTextView>(*analyzer, "Text");
        QWidget* clicked = control<QWidget>(*analyzer, "Source" + part + suffix);
        if (auto* box = qobject_cast<SpinBox*>(clicked))
            clicked = box->editor();
        QTest::mouseClick(clicked, Qt::LeftButton);
        const int w = text->characterWidth();
        QVERIFY(w > 0);
        const QFrame* startMarker = control<QFrame>(*text, "StartColumn");
        const QFrame* stopMarker = control<QFrame>(*text, "StopColumn");
        QCOMPARE(startMarker->x(), start * w - w / 2 + 1);
        QCOMPARE(stopMarker->x(), end * w + 1 + w / 2);
        QCOMPARE(startMarker->width(), 2);
        QCOMPARE(startMarker->y(), 0);
        QCOMPARE(startMarker->frameShape(), QFrame::VLine);
    }

    void spinBoxPressesAreSelections()
    {
        SpinBox box;
        box.resize(60, 24);
        box.show();
        QSignalSpy onBox(&box, &SpinBox::selected);
        QSignalSpy onEditor(box.editor(), &LineEdit::selected);
        QTest::mouseClick(box.editor(), Qt::LeftButton);
        QCOMPARE(QPair(onBox.count(), onEditor.count()), QPair(0, 1));
        // The arrows belong to the spin box itself.
        QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(box.width() - 4, 4));
        QCOMPARE(QPair(onBox.count(), onEditor.count()), QPair(1, 1));
    }

    void textCellsLieBetweenTheMarkers()
    {
        QVERIFY(obrtest::writeFile(survey + "/LINE1", spstest::text(sourceLines)));
        const auto analyzer = openAnalyzer(SpsKind::Source, survey, "LINE1", &console);
        analyzer->show();
        QVERIFY(QTest::qWaitForWindowExposed(analyzer.get()));
        auto* text = control<SpsTextView>(*analyzer, "Text");
        const int w = text->characterWidth();
        const QImage image = text->viewport()->grab().toImage();
        // The ink of the second line, 80 characters from "S" to "120000".
        const int lineHeight = QFontMetrics(text->font()).height();
        const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
        int left = image.width();
        int right = -1;
        for (int y = lineHeight; y < 2 * lineHeight; ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != background) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        // Markers of columns 1 to 80 bracket it: nothing left of the first, nothing right of the last,
        // and the last character reaches beyond column 79's marker.
        QVERIFY2(left >= SpsTextView::startMarkerX(1, w) - 1, qPrintable(QString::number(left)));
        QVERIFY2(right <= SpsTextView::stopMarkerX(80, w), qPrintable(QString::number(right)));
        QVERIFY2(right > SpsTextView::stopMarkerX(79, w), qPrintable(QString::number(right)));
    }

    void columnsStayOrdered()
    {
        QVERIFY(obrtest::writeFile(survey + "/LINE1", spstest::text(sourceLines)));
        const auto analyzer = openAnalyzer(SpsKind::Source, survey, "LINE1", &console);
        auto* start = control<SpinBox>(*analyzer, "SourceEasting_StartCol");
        auto* end = control<SpinBox>(*analyzer, "SourceEasting_EndCol");
        QCOMPARE(minMax(*analyzer, SpsKind::Source, "Easting"), QStringLiteral("100.0..250.5"));
        start->setValue(60);
        QCOMPARE(QPair(start->value(), end->value()), QPair(60, 60));
        QCOMPARE(minMax(*analyzer, SpsKind::Source, "Easting"), QStringLiteral("0.0..0.0"));
        end->setValue(50);
        QCOMPARE(QPair(start->value(), end->value()), QPair(50, 50));
        start->setValue(47);
        end->setValue(55);
        QCOMPARE(minMax(*analyzer, SpsKind::Source, "Easting"), QStringLiteral("100.0..250.5"));
        QCOMPARE(analyzer->scanLayout().columns(10), (SpsColumns{47, 55}));
        // The record letter's columns decide the data lines: every range follows them.
        control<SpinBox>(*analyzer, "Source_ID_EndCol")->setValue(2);
        QCOMPARE(minMax(*analyzer, SpsKind::Source, "Easting"), QStringLiteral(".."));
    }

    void readPointIdAndFirstLine()
    {
        QVERIFY(obrtest::writeFile(survey + "/LINE1", spstest::text(sourceLines)));
        const auto analyzer = openAnalyzer(SpsKind::Source, survey, "LINE1", &console);
        auto* readId = control<QCheckBox>(*analyzer, "Source_LoadId");
        auto* firstLine = control<QSpinBox>(*analyzer, "Source_FirstLine");
        QVERIFY(readId->isChecked() && !firstLine->isEnabled());
        QVERIFY(!control<QLabel>(*analyzer, "FirstLineLabel")->isEnabled());
        QCOMPARE(minMax(*analyzer, SpsKind::Source, "Elev"), QStringLiteral("10.5..20.0"));
        readId->setChecked(false);
        QVERIFY(firstLine->isEnabled() && !control<SpinBox>(*analyzer, "Source_ID_StartCol")->isEnabled());
        // The header line now counts: blank there, so 0.
        QCOMPARE(minMax(*analyzer, SpsKind::Source, "Elev"), QStringLiteral("0.0..20.0"));
        firstLine->setValue(2);
        QCOMPARE(minMax(*analyzer, SpsKind::Source, "Elev"), QStringLiteral("10.5..20.0"));
        QCOMPARE(minMax(*analyzer, SpsKind::Source, "Code"), QStringLiteral(".."));
    }

    void unsavedEditsAreDiscardedOnlyWhenTheUserSaysSo()
    {
        QVERIFY(obrtest::writeFile(survey + "/LINE1", spstest::text(sourceLines)));
        ModalDialogCloser closer;
        {
            const auto untouched = openAnalyzer(SpsKind::Source, survey, "LINE1", &console);
            untouched->show();
            QTest::keyClick(untouched.get(), Qt::Key_Escape);
            QVERIFY(!untouched->isVisible());
            QCOMPARE(closer.count(), 0);
        }
        const auto analyzer = openAnalyzer(SpsKind::Source, survey, "LINE1", &console);
        analyzer->show();
        control<QCheckBox>(*analyzer, "SourceLoadTime")->setChecked(false);
        QTest::keyClick(analyzer.get(), Qt::Key_Escape);
        QCOMPARE(closer.titles(), QStringList{"SPS Analyzer"});
        QVERIFY(closer.seen()[0].text.contains("not saved"));
        QVERIFY(analyzer->isVisible());
        closer.actOnNext(
            [](QWidget* box) { static_cast<QMessageBox*>(box)->button(QMessageBox::Discard)->click(); });
        control<QPushButton>(*analyzer, "Close")->click();
        QVERIFY(!analyzer->isVisible());
        QCOMPARE(analyzer->result(), int(QDialog::Rejected));
        QVERIFY(!QFileInfo::exists(survey + "/LINE1.fmt"));
    }

    void helpStaysUsableWhileTheAnalyzerRuns()
    {
        QVERIFY(obrtest::writeFile(survey + "/LINE1", spstest::text(sourceLines)));
        QWidget mainWindow;
        mainWindow.show();
        const auto analyzer = openAnalyzer(SpsKind::Source, survey, "LINE1", &console, &mainWindow);
        QPointer<OnlineDocumentation> viewer;
        bool closedByClick = false;
        QTimer::singleShot(0, analyzer.get(), [&] {
            control<QPushButton>(*analyzer, "Help")->click();
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* found = qobject_cast<OnlineDocumentation*>(widget))
                    viewer = found;
            }
            if (viewer && QTest::qWaitForWindowExposed(viewer)) {
                // A click through the window system, which drops input to blocked windows.
                QPushButton* close = nullptr;
                for (QPushButton* button : viewer->findChildren<QPushButton*>()) {
                    if (button->text() == QLatin1String("Close"))
                        close = button;
                }
                QTest::mouseClick(viewer->windowHandle(), Qt::LeftButton, {},
                                  close->mapTo(viewer, close->rect().center()));
                closedByClick = viewer.isNull() || !viewer->isVisible();
            }
            analyzer->reject();
        });
        analyzer->exec();
        QVERIFY(closedByClick);
        // The help page lives apart from the analyzer.
        delete viewer;
    }

    void revision21HintAndButton()
    {
        const QStringList lines{
            QStringLiteral("H00 SPS format version number    SPS 2.1"),
            QStringLiteral(
                "S    100.00    102.00  1 0   016.0   018   0.0 338931.7 5540693.4  78.7121235959"),
            QStringLiteral(
                "S    100.00    104.00  1 0   016.0   018   0.0 339014.5 5540746.8  77.7121235959")};
        QVERIFY(obrtest::writeFile(survey + "/LINE2", spstest::text(lines)));
        const auto analyzer = openAnalyzer(SpsKind::Source, survey, "LINE2", &console);
        QCOMPARE(console.warnings().size(), 1);
        QVERIFY(console.warnings()[0].contains("SPS 2.1"));
        QVERIFY(console.warnings()[0].contains("\"SPS 2.1 layout\""));
        control<QPushButton>(*analyzer, "Sps21")->click();
        QVERIFY(analyzer->scanLayout() == SpsLayout::revision21(SpsKind::Source));
        QCOMPARE(control<SpinBox>(*analyzer, "SourceLine_EndCol")->value(), 11);
        QCOMPARE(minMax(*analyzer, SpsKind::Source, "Loc"), QStringLiteral("102..104"));
        control<QPushButton>(*analyzer, "Save")->click();
        console.clear();
        const auto reopened = openAnalyzer(SpsKind::Source, survey, "LINE2", &console);
        QCOMPARE(console.warnings(), QStringList());
    }

private:
    QTemporaryDir work;
    QString survey = work.filePath(QStringLiteral("Survey"));
    RecordingConsole console;
};

OBR_TEST_MAIN(TestSpsAnalyzer)
#include "tst_sps_analyzer.moc"
