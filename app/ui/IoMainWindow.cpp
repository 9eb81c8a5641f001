#include "app/ui/IoMainWindow.h"

#include "analyzers/ui/SegdAnalyzer.h"
#include "analyzers/ui/SegyAnalysis.h"
#include "app/FileKind.h"
#include "app/ProjectDescription.h"
#include "app/StartupProject.h"
#include "app/ui/AppConsole.h"
#include "app/ui/IoApp.h"
#include "base/ui/FileDialogs.h"
#include "base/ui/FileDrops.h"
#include "base/ui/OnlineDocumentation.h"
#include "base/ui/RecentFilesMenu.h"
#include "base/ui/ScreenFit.h"
#include "copy/ui/SegdCopy.h"
#include "copy/ui/SegyCopy.h"
#include "copy/ui/SegyDirCopy.h"
#include "copy/ui/SegyMerge.h"
#include "copy/ui/TapeScan.h"
#include "copy/ui/UnfmtCopy.h"
#include "devices/TapeDriveList.h"
#include "sps/ui/SpsReceiverAnalyzer.h"
#include "sps/ui/SpsRelationAnalyzer.h"
#include "sps/ui/SpsSourceAnalyzer.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>

IoMainWindow::IoMainWindow(IoApp* application, QWidget* parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags), application(application)
{
    setupUi(this);
    setWindowTitle(windowTitle() + QStringLiteral("  (v%1.%2.%3)")
                                       .arg(application->versionMajor)
                                       .arg(application->versionMinor)
                                       .arg(application->versionBuild));
    // A minimise button and no maximise button. X11 window managers show a close box only when
    // asked for one; on Windows the system menu that Qt adds brings it.
    setWindowFlags(Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    ScreenFit::fitToScreen(this);
    addFileActions();

    const auto directories =
        StartupProject::WorkingDirectories::fromCurrentDirectory(application->rootDirectory);
    rootDirectory = directories.root;
    segyFormatsDirectory = directories.segyFormats;
    projectFilesDirectory = directories.projectFiles;
    colorScaleFormatsDirectory = directories.colorScaleFormats;

    openStartupProject();
    createTapeDrives();

    // Objects made before this point keep the first console (message boxes) for the whole run.
    application->setConsole(new AppConsole(application, Console, QString()));
}

void IoMainWindow::openStartupProject()
{
    application->projectFilePath = StartupProject::resolveProjectFile(rootDirectory);
    if (!QFileInfo::exists(application->projectFilePath)) {
        ProjectDescription* project =
            StartupProject::makeDefaultProject(application->projectFilePath, workingDirectories());
        application->setProject(project);
        // Without the suite's project-files directory the disk is left alone and nothing is said:
        // the default project then lives for this run only.
        if (QFileInfo(projectFilesDirectory).isDir()) {
            project->createTree();
            if (project->write())
                static_cast<void>(project->prepareSurveyRecord());
        }
    }
    if (QFileInfo::exists(application->projectFilePath))
        openProject(application->projectFilePath);
}

StartupProject::WorkingDirectories IoMainWindow::workingDirectories() const
{
    return {rootDirectory, segyFormatsDirectory, projectFilesDirectory, colorScaleFormatsDirectory};
}

void IoMainWindow::createTapeDrives()
{
    // The registry reports through the first console (message boxes) for the whole run.
    ObrConsole* console = application->console;
    delete application->tapeDrives; // a second window (tests) replaces the registry
    application->tapeDrives = nullptr;
    auto* drives = new TapeDriveList(console);
    if (drives->ok()) {
        application->tapeDrives = drives;
        return;
    }
    if (drives->tapeDeviceExists()) {
        console->error(
            QStringLiteral("SCSI interface initialization failed. Tape drives will not be available."), true);
        console->message(QStringLiteral(" "), Qt::black);
    }
    delete drives;
    application->tapeDrives = nullptr;
}

bool IoMainWindow::openProject(const QString& path)
{
    auto* project = new ProjectDescription(path);
    application->setProject(project);
    if (!project->read())
        return false;
    StartupProject::applyDirectories(*project, workingDirectories());
    if (StartupProject::locationExists(*project))
        return true;
    QMessageBox::warning(
        nullptr, QStringLiteral("IO Utility"),
        QStringLiteral("   Project root directory %1 is not accessable for the %2 project.\n\n ")
            .arg(project->location(), project->fileBaseName()),
        QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Help, QMessageBox::NoButton);
    return false;
}

void IoMainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
}

// Tool slots: each tool dialog is created, run with exec() and destroyed here once it exists.
void IoMainWindow::on_SegdAnalyzerButton_clicked()
{
    analyzeSegd(seismicDirectory());
}

void IoMainWindow::analyzeSegd(const QString& path)
{
    SegdAnalyzer analyzer(application->console, this, path);
    analyzer.exec();
}

void IoMainWindow::on_SegyAnalyzerButton_clicked()
{
    openSegyAnalyzer(QString());
}

QString IoMainWindow::seismicDirectory() const
{
    return application->project ? application->project->path(ProjectDescription::Seismic) : QString();
}

void IoMainWindow::openSegyAnalyzer(const QString& file)
{
    SegyAnalysis analyzer(application->console, seismicDirectory(), this,
                          segyFormatsDirectory + QStringLiteral("/SEGY Standard.xml"), file);
    analyzer.exec();
}

void IoMainWindow::chooseSegyFile()
{
    const QString file = FileDialogs::openFileName(this, QStringLiteral("Open SEGY File"), seismicDirectory(),
                                                   FileDialogs::segyFilter);
    if (!file.isEmpty())
        openSegyAnalyzer(file);
}

void IoMainWindow::addFileActions()
{
    auto* open = new QAction(QStringLiteral("Open SEG-Y file..."), this);
    open->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_O));
    connect(open, &QAction::triggered, this, &IoMainWindow::chooseSegyFile);
    auto* close = new QAction(QStringLiteral("Close"), this);
    close->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_W));
    connect(close, &QAction::triggered, this, &QWidget::close);
    auto* help = new QAction(QStringLiteral("Help"), this);
    help->setShortcut(QKeySequence(Qt::Key_F1));
    connect(help, &QAction::triggered, this,
            [] { OnlineDocumentation::showHelp(QStringLiteral("index.html")); });
    addActions({open, close, help});
    SegyAnalyzerButton->setToolTip(
        QStringLiteral("Ctrl+O opens a SEG-Y file in the analyzer at once; a SEG-Y "
                       "file dropped on this window opens there too."));

    auto* recent = new QPushButton(QStringLiteral("Recent SEG-Y files"), FcFrame);
    recent->setObjectName(QStringLiteral("RecentFiles"));
    recent->setGeometry(50, 255, 191, 31);
    recent->setMenu(RecentFilesMenu::create(recent, [this](const QString& path) {
        // The menu closes before the analyzer runs.
        QMetaObject::invokeMethod(
            this, [this, path] { openSegyAnalyzer(path); }, Qt::QueuedConnection);
    }));
    setAcceptDrops(true);
}

void IoMainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!FileDrops::segyFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void IoMainWindow::dropEvent(QDropEvent* event)
{
    const QString file = FileDrops::segyFile(event->mimeData());
    if (file.isEmpty())
        return;
    event->acceptProposedAction();
    // The drop finishes first: the analyzer runs its own event loop.
    QMetaObject::invokeMethod(
        this, [this, file] { openSegyAnalyzer(file); }, Qt::QueuedConnection);
}

void IoMainWindow::openFile(const QString& path)
{
    using Opener = void (IoMainWindow::*)(const QString&);
    // The analyzer of each kind of file.
    static const std::pair<FileKind, Opener> openers[] = {
        {FileKind::Segy, &IoMainWindow::openSegyAnalyzer},
        {FileKind::Segd, &IoMainWindow::analyzeSegd},
        {FileKind::SpsSource, &IoMainWindow::analyzeSpsSource},
        {FileKind::SpsReceiver, &IoMainWindow::analyzeSpsReceiver},
        {FileKind::SpsRelation, &IoMainWindow::analyzeSpsRelation},
    };
    const QFileInfo file(path);
    if (!file.isFile()) {
        application->console->error(QStringLiteral("Cannot open %1: there is no such file.").arg(path), true);
        return;
    }
    const FileKind kind = FileKinds::of(path);
    for (const auto& [openerKind, open] : openers) {
        if (openerKind == kind) {
            (this->*open)(file.absoluteFilePath());
            return;
        }
    }
    application->console->error(QStringLiteral("Cannot open %1: it is not a SEG-Y (.sgy, .segy), SEG-D "
                                               "(.sgd, .segd, .raw, .fcnt) or SPS source, receiver or "
                                               "relation file.")
                                    .arg(path),
                                true);
}

QString IoMainWindow::surveyDirectory() const
{
    return application->project ? application->project->path(ProjectDescription::Survey) : QString();
}

QString IoMainWindow::chooseSpsFile(const QString& caption)
{
    const QString path =
        FileDialogs::openFileName(this, caption, surveyDirectory(), QStringLiteral("SPS files (*.*)"));
    // The whole path goes to the analyzer: a file chosen outside the survey directory is the
    // file the user meant, not one of the same name in the survey directory.
    return !path.isEmpty() && QFileInfo(path).isFile() ? QFileInfo(path).absoluteFilePath() : QString();
}

void IoMainWindow::on_Analyze_Source_Record_clicked()
{
    const QString path = chooseSpsFile(QStringLiteral("Select SPS Source record"));
    if (!path.isEmpty())
        analyzeSpsSource(path);
}

void IoMainWindow::analyzeSpsSource(const QString& path)
{
    SpsSourceAnalyzer analyzer(this, surveyDirectory(), path, application->console);
    analyzer.exec();
}

void IoMainWindow::on_Analyze_Receiver_Record_clicked()
{
    const QString path = chooseSpsFile(QStringLiteral("Select SPS Receiver record"));
    if (!path.isEmpty())
        analyzeSpsReceiver(path);
}

void IoMainWindow::analyzeSpsReceiver(const QString& path)
{
    SpsReceiverAnalyzer analyzer(this, surveyDirectory(), path, application->console);
    analyzer.exec();
}

void IoMainWindow::on_Analyze_Relation_Record_clicked()
{
    const QString path = chooseSpsFile(QStringLiteral("Select SPS Relation record"));
    if (!path.isEmpty())
        analyzeSpsRelation(path);
}

void IoMainWindow::analyzeSpsRelation(const QString& path)
{
    SpsRelationAnalyzer analyzer(this, surveyDirectory(), path, application->console);
    analyzer.exec();
}

void IoMainWindow::on_CopySegdFiles_clicked()
{
    SegdCopy tool(application->project->seismicDirectory(), application->console, application->tapeDrives,
                  this);
    tool.exec();
}

void IoMainWindow::on_CopySingleSegy_clicked()
{
    SegyCopy tool(application->project->seismicDirectory(), application->console, application->tapeDrives,
                  this);
    tool.exec();
}

void IoMainWindow::on_CopyMultipleSegy_clicked()
{
    SegyDirCopy tool(application->project->seismicDirectory(), false, 21, application->console,
                     application->tapeDrives, this);
    tool.exec();
}

void IoMainWindow::on_CopyUnfmtFiles_clicked()
{
    UnfmtCopy tool(application->project->seismicDirectory(), application->console, application->tapeDrives,
                   this);
    tool.exec();
}

void IoMainWindow::on_CopySEGYtoSEGD_clicked()
{
    SegyDirCopy tool(application->project->seismicDirectory(), true, 21, application->console,
                     application->tapeDrives, this);
    tool.exec();
}

void IoMainWindow::on_Merge_SEGY_Files_clicked()
{
    SegyMerge tool(application->console, this, application->project->seismicDirectory());
    tool.exec();
}

void IoMainWindow::on_TapeScanSEGDButton_clicked()
{
    TapeScan tool(TapeScanMode::Segd, application->console, application->tapeDrives, this);
    tool.exec();
}

void IoMainWindow::on_TapeScanSEGYButton_clicked()
{
    TapeScan tool(TapeScanMode::Segy, application->console, application->tapeDrives, this);
    tool.exec();
}
