#include "app/StartupProject.h"

#include "app/ProjectDescription.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace StartupProject {

WorkingDirectories WorkingDirectories::fromCurrentDirectory(const QString& rootDirectory)
{
    const QString current = QDir::current().absolutePath();
    return {rootDirectory.isEmpty() ? QStringLiteral("C:/") : rootDirectory,
            current + QStringLiteral("/SegyFormats"), current + QStringLiteral("/ProjectFiles"),
            current + QStringLiteral("/ColorScaleFormats")};
}

QString defaultProjectName()
{
    return QStringLiteral("Osterlind");
}

QString settingsProjectFile()
{
    QSettings settings(QStringLiteral("Corvane"), QStringLiteral("Trevalo"));
    settings.beginGroup(QStringLiteral("MainWindow"));
    return settings.value(QStringLiteral("StartupProjectName")).toString();
}

QString resolveProjectFile(const QString& rootDirectory)
{
    const QString stored = settingsProjectFile();
    if (!stored.isEmpty() && QFileInfo::exists(stored))
        return stored;
    return rootDirectory + QStringLiteral("/ProjectFiles/") + defaultProjectName() + QStringLiteral(".xml");
}

ProjectDescription* makeDefaultProject(const QString& descriptionFile, const WorkingDirectories& directories)
{
    auto* project = new ProjectDescription(descriptionFile);
    applyDirectories(*project, directories);
    project->setName(defaultProjectName());
    project->setLocation(directories.root + QLatin1Char('/') + defaultProjectName());
    project->setSurveyDimension(3);
    project->setUnits(1);
    project->setAcquisitionType(0);
    project->setDataComponentType(0);
    return project;
}

void applyDirectories(ProjectDescription& project, const WorkingDirectories& directories)
{
    project.setRootDirectory(directories.root);
    project.setProjectFilesDirectory(directories.projectFiles);
    project.setColorScaleFormatsDirectory(directories.colorScaleFormats);
    project.setSegyFormatsDirectory(directories.segyFormats);
}

bool locationExists(const ProjectDescription& project)
{
    return !project.location().isEmpty() && QFileInfo(project.location()).isDir();
}

} // namespace StartupProject
