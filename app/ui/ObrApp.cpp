#include "app/ui/ObrApp.h"

#include "app/ProjectDescription.h"
#include "app/ui/AppConsole.h"
#include "devices/TapeDriveList.h"

ObrApp::ObrApp(int& argc, char** argv, bool guiMode) : QApplication(argc, argv), guiMode(guiMode)
{
    setOrganizationName(QStringLiteral("Corvane"));
    setOrganizationDomain(QStringLiteral("corvane.com"));
}

ObrApp::~ObrApp()
{
    // Drives may still talk to the console they were made with while they close.
    delete tapeDrives;
    delete project;
    delete console;
    qDeleteAll(retiredConsoles);
}

void ObrApp::setConsole(AppConsole* newConsole)
{
    if (console && console != newConsole)
        retiredConsoles.append(console);
    console = newConsole;
}

void ObrApp::setProject(ProjectDescription* newProject)
{
    if (project != newProject)
        delete project;
    project = newProject;
}
