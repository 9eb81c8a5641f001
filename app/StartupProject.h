#pragma once

#include <QString>

class ProjectDescription;

// Which project the suite opens at start-up, shared by the window and the command line:
// the description file named in the suite's settings, else the default project's file.
namespace StartupProject {

// The directories the window hands every project it opens.
struct WorkingDirectories {
    QString root;              // the working root, or "C:/" when none is known
    QString segyFormats;       // <current directory>/SegyFormats
    QString projectFiles;      // <current directory>/ProjectFiles
    QString colorScaleFormats; // <current directory>/ColorScaleFormats

    // From the working root and the process's current directory (the working root once start-up
    // has entered it, else wherever the process started).
    static WorkingDirectories fromCurrentDirectory(const QString& rootDirectory);
};

QString defaultProjectName();
// The description file stored under organisation "Corvane", application "Trevalo", group
// "MainWindow", key "StartupProjectName"; empty when absent. Only read, never written.
QString settingsProjectFile();
// The stored file when it exists, else <root>/ProjectFiles/<default project>.xml.
QString resolveProjectFile(const QString& rootDirectory);
// The project made when no description exists yet, for the given description file path.
// The caller owns it; nothing is written.
ProjectDescription* makeDefaultProject(const QString& descriptionFile, const WorkingDirectories& directories);
void applyDirectories(ProjectDescription& project, const WorkingDirectories& directories);
// Whether the project's location is an existing directory.
bool locationExists(const ProjectDescription& project);

} // namespace StartupProject
