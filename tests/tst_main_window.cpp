#include "analyzers/ui/SegdAnalyzer.h"
#include "analyzers/ui/SegyAnalysis.h"
#include "app/FileKind.h"
#include "app/ProjectDescription.h"
#include "app/ui/IoApp.h"
#include "app/ui/IoMainWindow.h"
#include "base/WorkingRoot.h"
#include "seismic/SegyData.h"
#include "sps/ui/SpsAnalyzer.h"
#include "tests/support/DataTable.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/SegdStandardFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QSettings>
#include <QTemporaryDir>
#include <memory>

namespace {

IoApp* application()
{
    return static_cast<IoApp*>(qApp);
}

QString root()
{
    return WorkingRoot::path();
}

void setStartupProject(const QString& path)
{
    QSettings settings(QStringLiteral("Corvane"), QStringLiteral("Trevalo"));
    settings.setValue(QStringLiteral("MainWindow/StartupProjectName"), path);
    settings.sync();
}

std::unique_ptr<IoMainWindow> startWindow()
{
    return std::make_unique<IoMainWindow>(application(), nullptr, Qt::Window);
}

const QByteArray spsHeader = "H00 SPS format version number    SPS 2.1\n"
                             "H26 Comment\n";

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(WorkingRoot::create());
        QCOMPARE(application()->init(), 1);
        // Files for the window to open, as a file manager's "Open with" gives them.
        QVERIFY(obrtest::writeFile(dir.filePath("line.sgy"), obrtest::segyFile(1, 50, false, 5)));
        QVERIFY(obrtest::writeFile(dir.filePath("shots.txt"),
                                   spsHeader + "S    100.00    102.00 01 0   016.0   018   0.0 338931.7\n"));
        // Comment lines of other programs may come before the first data line.
        QVERIFY(obrtest::writeFile(dir.filePath("links.txt"), "C_SU_MATCH,fldr,tracf\nSome notes\n" +
                                                                  spsHeader +
                                                                  "X    1   1 1    100.00    101.00\n"));
        QVERIFY(obrtest::writeFile(dir.filePath("LINE1.R"), spsHeader));
        QVERIFY(obrtest::writeFile(dir.filePath("notes.txt"), "Survey notes\nSecond line\n"));
    }
    void init()
    {
        setStartupProject(QString());
        QDir(root() + QStringLiteral("/Osterlind")).removeRecursively();
        QFile::remove(root() + QStringLiteral("/ProjectFiles/Osterlind.xml"));
        QVERIFY(WorkingRoot::create());
        QVERIFY(QDir::setCurrent(root()));
    }

    void tapeScanButtonsOpenTheirMode()
    {
        ModalDialogCloser closer;
        for (const QString mode : {"SEGD", "SEGY"})
            application()->mainWindow->findChild<QPushButton*>("TapeScan" + mode + "Button")->click();
        QCOMPARE(closer.titles(), QStringList({"Tape Scan - SEGD", "Tape Scan - SEGY"}));
    }

    // As the SEG-D tools know field files in a folder: by name, or by a general header.
    void segdKnownBySuffixOrHeader()
    {
        for (const char* name : {"field.segd", "FIELD.RAW", "shot.fcnt"}) {
            QVERIFY(obrtest::writeFile(dir.filePath(name), QByteArray(128, '\0')));
            QCOMPARE(int(FileKinds::of(dir.filePath(name))), int(FileKind::Segd));
        }
        QVERIFY(obrtest::writeFile(dir.filePath("shot1001"), segdstd::build(segdstd::sercelRevision21())));
        QCOMPARE(int(FileKinds::of(dir.filePath("shot1001"))), int(FileKind::Segd));
    }

    void analyzerOfTheKindOpens_data()
    {
        // opened: the class of the window that opens; message: what the message box says instead
        obrtest::columns<QString, QString, QString>({"file", "opened", "message"});
        const auto row = [](const char* name, const char* file, const char* opened, const char* message) {
            QTest::newRow(name) << file << opened << message;
        };
        row("SEG-Y", "line.sgy", "SegyAnalysis", "");
        row("SPS source by its first data line", "shots.txt", "SpsSourceAnalyzer", "");
        row("SPS receiver by its suffix", "LINE1.R", "SpsReceiverAnalyzer", "");
        row("SPS relation after comment lines", "links.txt", "SpsRelationAnalyzer", "");
        row("SEG-D, a real field file", "sercel.segd", "SegdAnalyzer", "");
        row("unknown", "notes.txt", "",
            "notes.txt: it is not a SEG-Y (.sgy, .segy), SEG-D (.sgd, .segd, .raw, .fcnt) or SPS source, "
            "receiver or relation file.");
        row("missing", "gone.sgy", "", "gone.sgy: there is no such file.");
    }
    void analyzerOfTheKindOpens()
    {
        const auto [file, opened, message] =
            obrtest::fetch<QString, QString, QString>("file", "opened", "message");
        const QString path = dir.filePath(file);
        if (file == QLatin1String("sercel.segd")) {
            OBR_REQUIRE_REALDATA();
            QVERIFY(QFile::exists(path) || QFile::copy(obrtest::realDataDir() + "/segd/sercel.segd", path));
        }
        ModalDialogCloser closer;
        QString openedClass;
        QString openedPath;
        int traces = 0;
        bool segdShown = false;
        // A message box is recorded by the closer; an analyzer is looked into before it is closed.
        if (!opened.isEmpty())
            closer.actOnNext([&](QWidget* modal) {
                openedClass = QString::fromLatin1(modal->metaObject()->className());
                if (auto* analyzer = qobject_cast<SegdAnalyzer*>(modal))
                    segdShown = analyzer->isLoaded() && analyzer->dataSet();
                if (auto* analyzer = qobject_cast<SpsAnalyzer*>(modal))
                    openedPath = analyzer->path();
                if (auto* analyzer = qobject_cast<SegyAnalysis*>(modal)) {
                    openedPath = analyzer->windowTitle();
                    traces = analyzer->dataSet() ? analyzer->dataSet()->traceCount() : -1;
                }
                static_cast<QDialog*>(modal)->reject();
            });
        application()->mainWindow->openFile(path);
        if (opened.isEmpty()) {
            QCOMPARE(closer.count(), 1);
            QCOMPARE(closer.seen().first().className, QStringLiteral("QMessageBox"));
            QVERIFY2(closer.seen().first().text.endsWith(message), qPrintable(closer.seen().first().text));
            QVERIFY(closer.seen().first().text.contains(path));
            return;
        }
        QCOMPARE(openedClass, opened);
        if (opened == QLatin1String("SegyAnalysis")) {
            QVERIFY2(openedPath.contains(file), qPrintable(openedPath));
            QCOMPARE(traces, 5);
        } else if (opened == QLatin1String("SegdAnalyzer")) {
            QVERIFY(segdShown);
        } else {
            QCOMPARE(openedPath, path);
        }
    }

    void firstStartWritesTheDefaultProject()
    {
        ModalDialogCloser closer;
        startWindow();
        IoApp* app = application();
        const QString descriptionFile = root() + QStringLiteral("/ProjectFiles/Osterlind.xml");
        QCOMPARE(app->projectFilePath, descriptionFile);
        QVERIFY(QFileInfo::exists(descriptionFile));
        QVERIFY(QFileInfo::exists(root() + QStringLiteral("/Osterlind/Survey.xml")));

        // Without the project-files directory the default project lives for the run only.
        QVERIFY(QDir(root() + QStringLiteral("/ProjectFiles")).removeRecursively());
        QVERIFY(QDir(root() + QStringLiteral("/Osterlind")).removeRecursively());
        startWindow();
        QVERIFY(!QFileInfo::exists(root() + QStringLiteral("/ProjectFiles")));
        QVERIFY(!QFileInfo::exists(root() + QStringLiteral("/Osterlind")));
        QCOMPARE(closer.count(), 0);
    }

    void missingLocationWarns()
    {
        ProjectDescription far(root() + QStringLiteral("/ProjectFiles/Far.xml"));
        far.setLocation(root() + QStringLiteral("/gone/Far"));
        QVERIFY(far.write());
        const QString path = far.descriptionFile();
        setStartupProject(path);
        ModalDialogCloser closer;
        startWindow();
        QCOMPARE(closer.titles(), QStringList{"IO Utility"});
        QVERIFY(closer.seen().first().text.contains(root() + "/gone/Far is not accessable"));
        QCOMPARE(application()->projectFilePath, path);
    }

private:
    QTemporaryDir dir;
};

OBR_TEST_MAIN_WITH_APP(TestMainWindow, IoApp)
#include "tst_main_window.moc"
