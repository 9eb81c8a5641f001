#include "base/WorkingRoot.h"
#include "sps/SpsFormatFile.h"
#include "sps/ui/LineEdit.h"
#include "sps/ui/SpinBox.h"
#include "sps/ui/SpsReceiverAnalyzer.h"
#include "sps/ui/SpsRelationAnalyzer.h"
#include "sps/ui/SpsSourceAnalyzer.h"
#include "tests/support/Controls.h"
#include "tests/support/DataTable.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SpsFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

using obrtest::control;

namespace {

// The source lines of the fixture; for other kinds every line starts with the kind's record letter.
QStringList linesOf(SpsKind kind)
{
    QStringList lines = spstest::sourceLines();
    if (kind != SpsKind::Source) {
        for (QString& line : lines)
            line.replace(0, 1, QString(SpsKinds::recordLetter(kind)));
    }
    return lines;
}

std::unique_ptr<SpsAnalyzer> openAnalyzer(SpsKind kind, const QString& survey, const QString& file,
                                          ObrConsole* console)
{
    if (kind == SpsKind::Source)
        return std::make_unique<SpsSourceAnalyzer>(nullptr, survey, file, console);
    if (kind == SpsKind::Receiver)
        return std::make_unique<SpsReceiverAnalyzer>(nullptr, survey, file, console);
    return std::make_unique<SpsRelationAnalyzer>(nullptr, survey, file, console);
}

// Field controls are named prefix + part + suffix ("SourceEasting_Min", "SourceLoadEasting"); relation
// ones have no prefix.
QString prefix(SpsKind kind)
{
    return kind == SpsKind::Source ? "Source" : kind == SpsKind::Receiver ? "Receiver" : "";
}
QString idPrefix(SpsKind kind)
{
    return kind == SpsKind::Relation ? "" : prefix(kind) + '_';
}
template <typename T>
T* fieldControl(const QWidget& window, SpsKind kind, const QString& part, const char* suffix)
{
    return control<T>(window, prefix(kind) + part + QLatin1String(suffix));
}

QString minMax(const QWidget& window, SpsKind kind, const QString& part)
{
    return fieldControl<LineEdit>(window, kind, part, "_Min")->text() + ".." +
           fieldControl<LineEdit>(window, kind, part, "_Max")->text();
}

} // namespace

class TestSpsAnalyzer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(QDir::setCurrent(work.path())); }
    void init()
    {
        QDir(WorkingRoot::path()).removeRecursively();
        QVERIFY(WorkingRoot::create());
        QDir(survey).removeRecursively();
        QVERIFY(QDir().mkpath(survey));
        console.clear();
    }

    void missingFile()
    {
        ModalDialogCloser closer;
        const auto analyzer = openAnalyzer(SpsKind::Receiver, survey, "LINE9", &console);
        QCOMPARE(closer.titles(), QStringList{"SPS Record"});
        QCOMPARE(closer.seen()[0].text, "Cannot read SPS file " + survey + "/LINE9.\nFile does not exist");
        QCOMPARE(minMax(*analyzer, SpsKind::Receiver, "Easting"), QStringLiteral(".."));
        // Its layout can be saved for the file to come.
        QVERIFY(control<QPushButton>(*analyzer, "Save")->isEnabled());
    }

    void saveWritesTheFilesLayoutAndReopeningRestoresIt_data()
    {
        obrtest::columns<int, QString>({"kind", "part"});
        QTest::newRow("source") << int(SpsKind::Source) << "Easting";
        QTest::newRow("relation") << int(SpsKind::Relation) << "FromChannel";
    }
    void saveWritesTheFilesLayoutAndReopeningRestoresIt()
    {
        const auto [kindNumber, part] = obrtest::fetch<int, QString>("kind", "part");
        const auto kind = SpsKind(kindNumber);
        // The user default moves the first line; the file's own layout then moves it again.
        SpsLayout userLayout = SpsLayout::defaults(kind);
        userLayout.setFirstLine(3);
        QVERIFY(SpsFormatFile(SpsFormatFile::userDefaultBase(kind), kind).write(userLayout, QString()));
        QVERIFY(obrtest::writeFile(survey + "/LINE1", spstest::text(linesOf(kind))));
        SpsLayout saved = SpsLayout::defaults(kind);
        {
            const auto analyzer = openAnalyzer(kind, survey, "LINE1", &console);
            control<QCheckBox>(*analyzer, idPrefix(kind) + "LoadId")->setChecked(false);
            QCOMPARE(control<QSpinBox>(*analyzer, idPrefix(kind) + "FirstLine")->value(), 3);
            control<QSpinBox>(*analyzer, idPrefix(kind) + "FirstLine")->setValue(2);
            fieldControl<SpinBox>(*analyzer, kind, part, "_EndCol")->setValue(90);
            fieldControl<SpinBox>(*analyzer, kind, part, "_StartCol")->setValue(88);
            control<QCheckBox>(*analyzer, prefix(kind) + "Load" + part)->setChecked(false);
            saved = analyzer->controlsLayout();
            control<QPushButton>(*analyzer, "Save")->click();
            QCOMPARE(analyzer->result(), int(QDialog::Accepted));
        }
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
        // A folder where the format file belongs cannot be written over.
        QVERIFY(QDir().mkpath(survey + "/LINE1.fmt"));
        const auto analyzer = sourceAnalyzer(true);
        ModalDialogCloser closer;
        control<QPushButton>(*analyzer, "Save")->click();
        QCOMPARE(closer.titles(), QStringList{"SPS Analyzer"});
        QCOMPARE(closer.seen()[0].icon, int(QMessageBox::Critical));
        QVERIFY(closer.seen()[0].text.startsWith("Cannot write SPS format file " + survey + "/LINE1.fmt"));
        QCOMPARE(console.errors().size(), 1);
        QVERIFY(analyzer->isVisible());
        QVERIFY(QFileInfo(survey + "/LINE1.fmt").isDir());
    }

    void columnsStayOrderedAndDecideTheDataLines()
    {
        const auto analyzer = sourceAnalyzer(false);
        auto* start = control<SpinBox>(*analyzer, "SourceEasting_StartCol");
        auto* end = control<SpinBox>(*analyzer, "SourceEasting_EndCol");
        QCOMPARE(minMax(*analyzer, SpsKind::Source, "Easting"), QStringLiteral("100.0..250.5"));
        start->setValue(60);
        QCOMPARE(QPair(start->value(), end->value()), QPair(60, 60));
        QCOMPARE(minMax(*analyzer, SpsKind::Source, "Easting"), QStringLiteral("0.0..0.0"));
        end->setValue(50);
        QCOMPARE(QPair(start->value(), end->value()), QPair(50, 50));
        QCOMPARE(analyzer->scanLayout().columns(10), (SpsColumns{50, 50}));
        // The record letter's columns decide the data lines: every range follows them.
        control<SpinBox>(*analyzer, "Source_ID_EndCol")->setValue(2);
        QCOMPARE(minMax(*analyzer, SpsKind::Source, "Easting"), QStringLiteral(".."));
    }

    void revision21HintAndButton()
    {
        const QStringList lines{
            "H00 SPS format version number    SPS 2.1",
            "S    100.00    102.00  1 0   016.0   018   0.0 338931.7 5540693.4  78.7121235959",
            "S    100.00    104.00  1 0   016.0   018   0.0 339014.5 5540746.8  77.7121235959"};
        QVERIFY(obrtest::writeFile(survey + "/LINE2", spstest::text(lines)));
        const auto analyzer = openAnalyzer(SpsKind::Source, survey, "LINE2", &console);
        QCOMPARE(console.warnings().size(), 1);
        QVERIFY(console.warnings()[0].contains("\"SPS 2.1 layout\""));
        // The hint stands in the window too, which covers the console.
        QCOMPARE(control<QLabel>(*analyzer, "StatusLine")->text(), console.warnings()[0]);
        QVERIFY(!control<QLabel>(*analyzer, "StatusLine")->isHidden());
        control<QPushButton>(*analyzer, "Sps21")->click();
        QVERIFY(analyzer->scanLayout() == SpsLayout::revision21(SpsKind::Source));
        QCOMPARE(minMax(*analyzer, SpsKind::Source, "Loc"), QStringLiteral("102..104"));
        // The hint followed, it is taken back.
        QVERIFY(control<QLabel>(*analyzer, "StatusLine")->isHidden());
    }

private:
    // A source analyzer on the fixture's lines in LINE1, shown on the screen when asked.
    std::unique_ptr<SpsAnalyzer> sourceAnalyzer(bool shown)
    {
        if (!obrtest::writeFile(survey + "/LINE1", spstest::text(spstest::sourceLines())))
            qFatal("cannot write %s/LINE1", qPrintable(survey));
        auto analyzer = openAnalyzer(SpsKind::Source, survey, "LINE1", &console);
        if (shown)
            analyzer->show();
        if (shown && !QTest::qWaitForWindowExposed(analyzer.get()))
            qFatal("the analyzer never showed");
        return analyzer;
    }

    QTemporaryDir work;
    QString survey = work.filePath(QStringLiteral("Survey"));
    RecordingConsole console;
};

OBR_TEST_MAIN(TestSpsAnalyzer)
#include "tst_sps_analyzer.moc"
