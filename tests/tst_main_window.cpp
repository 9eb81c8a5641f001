#include "app/ProjectDescription.h"
#include "app/WorkingRoot.h"
#include "app/ui/AppConsole.h"
#include "app/ui/IoApp.h"
#include "app/ui/IoMainWindow.h"
#include "app/ui/OnlineDocumentation.h"
#include "devices/TapeDevice.h"
#include "devices/TapeDriveList.h"
#include "devices/TapeImage.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/TestMain.h"

#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTextEdit>
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
    if (path.isEmpty())
        settings.remove(QStringLiteral("MainWindow/StartupProjectName"));
    else
        settings.setValue(QStringLiteral("MainWindow/StartupProjectName"), path);
    settings.sync();
}

// Writes a description file whose project lives at location.
QString writeProject(const QString& path, const QString& location)
{
    ProjectDescription project(path);
    project.setLocation(location);
    project.setProjectIdentifier(777);
    return project.write() ? path : QString();
}

std::unique_ptr<IoMainWindow> startWindow()
{
    return std::make_unique<IoMainWindow>(application(), nullptr, Qt::Window);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void startUp();
    void formControls_data();
    void formControls();
    void windowLimitsAndFlags();
    void helpViewersBesideTheWindowAreUsable();
    void quitClosesTheWindow();
    void tapeScanSegdDoesNothing();
    void copyToolsOpen_data();
    void copyToolsOpen();
    void consoleIsBoundToTheWindow();
    void firstStartWritesTheDefaultProject();
    void firstStartWithoutProjectFilesWritesNothing();
    void missingLocationWarnsOnce();
    void storedPathThatIsGoneFallsBack();
    void unreadableProjectStaysCurrent();
    void tapeImagesOfTheWorkingRootAreDrives();
};

void TestMainWindow::initTestCase()
{
    QVERIFY(WorkingRoot::create());
    QCOMPARE(application()->init(), 1);
}

void TestMainWindow::init()
{
    setStartupProject(QString());
    QDir(root() + QStringLiteral("/Osterlind")).removeRecursively();
    QFile::remove(root() + QStringLiteral("/ProjectFiles/Osterlind.xml"));
    QVERIFY(WorkingRoot::create());
    QVERIFY(QDir::setCurrent(root()));
}

void TestMainWindow::startUp()
{
    IoApp* app = application();
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("OBR IO Utility"));
    QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Corvane"));
    QCOMPARE(app->applicationTitle, QStringLiteral("OBR IO Utility"));
    QCOMPARE(app->rootDirectory, root());
    QVERIFY(app->guiMode);
    QVERIFY(app->mainWindow);
    QVERIFY(app->mainWindow->isVisible());
    QCOMPARE(app->mainWindow->windowTitle(), QStringLiteral("OBR IO Utility & Data Analyzer  (v4.3.812)"));
    QVERIFY(!app->tapeDrives);
    QCOMPARE(app->intervalFilter, false);
    QCOMPARE(app->messageInterval, 0);
    QCOMPARE(app->detailLevel, 1);
    // The help pages built into the program are where the viewer looks.
    for (const char* page : {"index.html", "segycopy.html", "segydircopy.html", "segymerge.html",
                             "segdcopy.html", "unfmtcopy.html", "spsanalyzer.html"})
        QVERIFY2(QFileInfo::exists(root() + QStringLiteral("/Docs/") + QLatin1String(page)), page);
    app->console->message(QStringLiteral("started"), Qt::black);
    QCOMPARE(app->mainWindow->findChild<QTextEdit*>(QStringLiteral("Console"))->toPlainText(),
             QStringLiteral("started"));
}

void TestMainWindow::formControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("enabled");
    const auto row = [](const char* name, const char* parent, const char* text, QRect geometry,
                        bool enabled = true) {
        QTest::newRow(name) << name << parent << text << geometry << enabled;
    };
    row("Quit", "FcFrame", "Close", {30, 410, 91, 31});
    row("AnalysisGroup", "FcFrame", "Analysis", {20, 10, 261, 231});
    row("SegdAnalyzerButton", "AnalysisGroup", "SEG D Analyzer", {30, 30, 191, 31});
    row("SegyAnalyzerButton", "AnalysisGroup", "SEG Y Analyzer", {30, 70, 191, 31});
    row("Analyze_Source_Record", "AnalysisGroup", "SPS Analyzer", {30, 110, 191, 31});
    row("Analyze_Receiver_Record", "AnalysisGroup", "RPS Analyzer", {30, 150, 191, 31});
    row("Analyze_Relation_Record", "AnalysisGroup", "XPS Analyzer", {30, 190, 191, 31});
    row("Datacopy", "FcFrame", "Data copy and merge", {310, 10, 261, 311});
    row("CopySegdFiles", "Datacopy", "Copy SEG D files", {10, 30, 231, 31});
    row("CopySingleSegy", "Datacopy", "Copy Single SEG Y file", {10, 70, 231, 31});
    row("CopyMultipleSegy", "Datacopy", "Copy Multiple SEG Y files", {10, 110, 231, 31});
    row("CopyUnfmtFiles", "Datacopy", "Copy unformatted files", {10, 150, 231, 31});
    row("Merge_SEGY_Files", "Datacopy", "Merge SEG Y files", {10, 190, 231, 31});
    row("CopySEGYtoSEG2", "Datacopy", "Copy SEG Y to SEG 2 files", {10, 230, 231, 31}, false);
    row("CopySEGYtoSEGD", "Datacopy", "Copy SEG Y to SEG D files", {10, 270, 231, 31});
    row("groupBox_2", "FcFrame", "Tape scan", {310, 330, 261, 131});
    row("TapeScanSEGDButton", "groupBox_2", "Tape Scan - SEGD", {10, 30, 231, 31});
    row("TapeScanSEGYButton", "groupBox_2", "Tape Scan - SEGY", {10, 80, 231, 31}, false);
    row("Console", "FcFrame", "", {10, 500, 581, 201});
}

void TestMainWindow::formControls()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);
    QFETCH(bool, enabled);
    QWidget* window = application()->mainWindow;
    auto* widget = window->findChild<QWidget*>(name);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget()->objectName(), parent);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->isEnabled(), enabled);
    if (auto* button = qobject_cast<QPushButton*>(widget))
        QCOMPARE(button->text(), text);
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        QCOMPARE(group->title(), text);
    else
        QVERIFY(qobject_cast<QTextEdit*>(widget)->isReadOnly());
}

void TestMainWindow::windowLimitsAndFlags()
{
    auto* window = application()->mainWindow;
    QCOMPARE(window->centralWidget()->objectName(), QStringLiteral("FcFrame"));
    QCOMPARE(window->size(), QSize(600, 800));
    QCOMPARE(window->minimumSize(), QSize(600, 600));
    QCOMPARE(window->maximumSize(), QSize(600, 800));
    window->resize(900, 1000);
    QCOMPARE(window->size(), QSize(600, 800));
    window->resize(300, 300);
    QCOMPARE(window->size(), QSize(600, 600));
    window->resize(600, 800);
    QVERIFY(window->windowFlags() & Qt::Window);
    QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(window->font().family(), QStringLiteral("DejaVu LGC Sans"));
    QCOMPARE(window->font().pointSize(), 9);
    QVERIFY(!window->windowIcon().isNull());
}

void TestMainWindow::helpViewersBesideTheWindowAreUsable()
{
    QVERIFY(application()->mainWindow->isVisible());
    QVERIFY(!QApplication::activeModalWidget());
    QPointer<OnlineDocumentation> viewer = OnlineDocumentation::showHelp(QStringLiteral("segycopy.html"));
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Online Documentation: Single SEG-Y copy"));
    QVERIFY(!QApplication::activeModalWidget());
    viewer->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(viewer.isNull());
}

void TestMainWindow::quitClosesTheWindow()
{
    auto window = startWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->findChild<QPushButton*>(QStringLiteral("Quit"))->click();
    QVERIFY(!window->isVisible());
}

void TestMainWindow::tapeScanSegdDoesNothing()
{
    const int windows = QApplication::topLevelWidgets().size();
    ModalDialogCloser closer;
    application()->mainWindow->findChild<QPushButton*>(QStringLiteral("TapeScanSEGDButton"))->click();
    QTest::qWait(30);
    QCOMPARE(closer.count(), 0);
    QCOMPARE(QApplication::topLevelWidgets().size(), windows);
}

void TestMainWindow::copyToolsOpen_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("title");
    QTest::newRow("single SEG-Y copy") << "CopySingleSegy"
                                       << "SEGY File Copy";
    QTest::newRow("unformatted copy") << "CopyUnfmtFiles"
                                      << "Unformatted File Copy";
    QTest::newRow("SEG-Y merge") << "Merge_SEGY_Files"
                                 << "SEGY File Merge";
}

void TestMainWindow::copyToolsOpen()
{
    QFETCH(QString, button);
    QFETCH(QString, title);
    ModalDialogCloser closer;
    application()->mainWindow->findChild<QPushButton*>(button)->click();
    QCOMPARE(closer.titles(), QStringList{title});
}

void TestMainWindow::consoleIsBoundToTheWindow()
{
    auto window = startWindow();
    application()->console->message(QStringLiteral("bound here"), Qt::darkGreen);
    QVERIFY(window->findChild<QTextEdit*>(QStringLiteral("Console"))->toPlainText().endsWith("bound here"));
}

void TestMainWindow::firstStartWritesTheDefaultProject()
{
    ModalDialogCloser closer;
    startWindow();
    IoApp* app = application();
    const QString descriptionFile = root() + QStringLiteral("/ProjectFiles/Osterlind.xml");
    QCOMPARE(app->projectFilePath, descriptionFile);
    QCOMPARE(app->project->name(), QStringLiteral("Osterlind"));
    QCOMPARE(app->project->location(), root() + QStringLiteral("/Osterlind"));
    QCOMPARE(app->project->surveyDimension(), 3);
    QCOMPARE(app->project->segyFormatsDirectory(), root() + QStringLiteral("/SegyFormats"));
    QCOMPARE(app->project->colorScaleFormatsDirectory(), root() + QStringLiteral("/ColorScaleFormats"));
    QVERIFY(QFileInfo(root() + QStringLiteral("/Osterlind")).isDir());
    QVERIFY(QFileInfo::exists(root() + QStringLiteral("/Osterlind/Survey.xml")));
    QCOMPARE(closer.count(), 0);

    // The next start reads the same project back instead of making a new one.
    const qint64 identifier = app->project->projectIdentifier();
    QTest::qWait(5);
    startWindow();
    QCOMPARE(app->project->descriptionFile(), descriptionFile);
    QCOMPARE(app->project->projectIdentifier(), identifier);
    QCOMPARE(closer.count(), 0);
}

void TestMainWindow::firstStartWithoutProjectFilesWritesNothing()
{
    QVERIFY(QDir(root() + QStringLiteral("/ProjectFiles")).removeRecursively());
    ModalDialogCloser closer;
    startWindow();
    QCOMPARE(application()->project->name(), QStringLiteral("Osterlind"));
    QCOMPARE(application()->project->location(), root() + QStringLiteral("/Osterlind"));
    QVERIFY(!QFileInfo::exists(root() + QStringLiteral("/ProjectFiles")));
    QVERIFY(!QFileInfo::exists(root() + QStringLiteral("/Osterlind")));
    QCOMPARE(closer.count(), 0);
}

void TestMainWindow::missingLocationWarnsOnce()
{
    const QString path =
        writeProject(root() + QStringLiteral("/ProjectFiles/Far.xml"), root() + QStringLiteral("/gone/Far"));
    setStartupProject(path);
    ModalDialogCloser closer;
    auto window = startWindow();
    QCOMPARE(closer.count(), 1);
    QCOMPARE(closer.seen().first().title, QStringLiteral("IO Utility"));
    QCOMPARE(
        closer.seen().first().text,
        QStringLiteral("   Project root directory %1/gone/Far is not accessable for the Far project.\n\n ")
            .arg(root()));
    QCOMPARE(closer.seen().first().icon, int(QMessageBox::Warning));
    QCOMPARE(application()->project->name(), QStringLiteral("Far"));
    QCOMPARE(application()->projectFilePath, path);

    QVERIFY(QDir(root()).mkpath(QStringLiteral("gone/Far")));
    QVERIFY(window->openProject(path));
    QCOMPARE(closer.count(), 1);
    QVERIFY(QDir(root() + QStringLiteral("/gone")).removeRecursively());
}

void TestMainWindow::storedPathThatIsGoneFallsBack()
{
    QVERIFY(QDir(root()).mkpath(QStringLiteral("Site")));
    const QString fallback = writeProject(root() + QStringLiteral("/ProjectFiles/Osterlind.xml"),
                                          root() + QStringLiteral("/Site"));
    setStartupProject(root() + QStringLiteral("/ProjectFiles/Removed.xml"));
    ModalDialogCloser closer;
    startWindow();
    QCOMPARE(application()->projectFilePath, fallback);
    QCOMPARE(application()->project->location(), root() + QStringLiteral("/Site"));
    QCOMPARE(application()->project->projectIdentifier(), 777);
    QCOMPARE(closer.count(), 0);
}

void TestMainWindow::unreadableProjectStaysCurrent()
{
    const QString path = root() + QStringLiteral("/ProjectFiles/Junk.xml");
    QFile junk(path);
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("<SegyFormat/>");
    junk.close();
    setStartupProject(path);
    ModalDialogCloser closer;
    auto window = startWindow();
    QCOMPARE(application()->projectFilePath, path);
    QCOMPARE(application()->project->descriptionFile(), path);
    QCOMPARE(application()->project->name(), QString());
    QCOMPARE(closer.count(), 0);
    QVERIFY(!window->openProject(path));
}

void TestMainWindow::tapeImagesOfTheWorkingRootAreDrives()
{
    const QString image = root() + QStringLiteral("/Tapes/line12.tap");
    QVERIFY(TapeImage::create(image, TapeImageSettings::Format::Simh, 1 << 20, nullptr));
    auto window = startWindow();
    TapeDriveList* drives = application()->tapeDrives;
    QVERIFY(drives);
    QCOMPARE(drives->drives().size(), 1);
    QVERIFY(drives->drives().first()->name().contains(QStringLiteral("line12.tap")));
    window.reset();
    QVERIFY(QFile::remove(image));
    QFile::remove(image + QStringLiteral(".ini"));
    window = startWindow();
    QVERIFY(!application()->tapeDrives);
}

OBR_TEST_MAIN_WITH_APP(TestMainWindow, IoApp)
#include "tst_main_window.moc"
