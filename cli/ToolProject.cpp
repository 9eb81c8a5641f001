#include "app/ProjectDescription.h"
#include "app/StartupProject.h"
#include "base/WorkingRoot.h"
#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/TerminalConsole.h"

#include <QDir>
#include <QFileInfo>
#include <memory>

namespace {

QString row(const QString& label, const QString& value)
{
    return QStringLiteral("%1 %2").arg(label + QLatin1Char(':'), -20).arg(value);
}

QString withState(const QString& path)
{
    return QFileInfo::exists(path) ? path : path + QStringLiteral(" (missing)");
}

// A project not yet written has no identifier worth showing: it is the time of the next start.
void showProject(const ProjectDescription& project, bool written,
                 const StartupProject::WorkingDirectories& directories, TerminalConsole& console)
{
    const QColor black(Qt::black);
    console.message(row(QStringLiteral("Project"),
                        written ? project.name()
                                : project.name() + QStringLiteral(" (default project, not yet written)")),
                    black);
    console.message(row(QStringLiteral("Description file"), withState(project.descriptionFile())), black);
    console.message(row(QStringLiteral("Location"), withState(project.location())), black);
    console.message(row(QStringLiteral("Project directory"), withState(project.projectDirectory())), black);
    console.message(row(QStringLiteral("Survey dimension"),
                        ProjectDescription::surveyDimensionText(project.surveyDimension())),
                    black);
    console.message(row(QStringLiteral("Units"), ProjectDescription::unitsText(project.units())), black);
    console.message(row(QStringLiteral("Acquisition type"),
                        ProjectDescription::acquisitionTypeText(project.acquisitionType())),
                    black);
    console.message(row(QStringLiteral("Data components"),
                        ProjectDescription::dataComponentTypeText(project.dataComponentType())),
                    black);
    if (written)
        console.message(
            row(QStringLiteral("Project identifier"), QString::number(project.projectIdentifier())), black);
    console.message(row(QStringLiteral("Project files"), withState(directories.projectFiles)), black);
    console.message(row(QStringLiteral("SEG-Y formats"), withState(directories.segyFormats)), black);
    console.message(row(QStringLiteral("Standard format"),
                        withState(directories.segyFormats + QStringLiteral("/SEGY Standard.xml"))),
                    black);
    console.message(QStringLiteral("Directories:"), black);
    for (int part = 0; part < ProjectDescription::treePartCount; ++part) {
        const auto treePart = static_cast<ProjectDescription::TreePart>(part);
        console.message(QStringLiteral("  %1 %2")
                            .arg(QString::fromLatin1(ProjectDescription::partLabel(treePart)), -18)
                            .arg(withState(project.path(treePart))),
                        black);
    }
}

int runShow(const cli::Arguments&, TerminalConsole& console)
{
    const QString root = WorkingRoot::path();
    // The window works inside the working root when there is one; its format and project-file
    // directories follow from that.
    if (!QDir::setCurrent(root))
        console.warning(QStringLiteral("working root %1 does not exist (obrio setup creates it)").arg(root),
                        false);
    const auto directories = StartupProject::WorkingDirectories::fromCurrentDirectory(root);
    const QString stored = StartupProject::settingsProjectFile();
    if (!stored.isEmpty() && !QFileInfo::exists(stored))
        console.warning(
            QStringLiteral("start-up project %1 does not exist; using the default project").arg(stored),
            false);
    const QString path = StartupProject::resolveProjectFile(directories.root);

    if (!QFileInfo::exists(path)) {
        const std::unique_ptr<ProjectDescription> project(
            StartupProject::makeDefaultProject(path, directories));
        showProject(*project, false, directories, console);
        return cli::Success;
    }
    ProjectDescription project(path);
    if (!project.read()) {
        console.error(
            QStringLiteral("cannot read project description %1: %2").arg(path, project.errorString()), false);
        return cli::JobFailed;
    }
    StartupProject::applyDirectories(project, directories);
    showProject(project, true, directories, console);
    if (!StartupProject::locationExists(project))
        console.warning(QStringLiteral("Project root directory %1 is not accessable for the %2 project.")
                            .arg(project.location(), project.fileBaseName()),
                        false);
    return cli::Success;
}

} // namespace

OBRIO_COMMAND(project,
              cli::Command::tool("project", QStringLiteral("show the current project and its directories")))
OBRIO_COMMAND(projectShow,
              cli::Command::action(
                  "project", "show",
                  QStringLiteral("the project the window opens at start-up and its directories"), runShow)
                  .describe(QStringLiteral(
                      "Shows the project the window opens at start-up: the description file named in the\n"
                      "suite's settings (Corvane/Trevalo, MainWindow/StartupProjectName) or else\n"
                      "ProjectFiles/Osterlind.xml in the working root, its name, location, attributes and\n"
                      "every directory of its tree. Nothing is created or written; parts of the tree that\n"
                      "do not exist yet are marked \"(missing)\".")))
