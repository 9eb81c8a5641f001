#pragma once

#include "app/ConsoleSettings.h"

#include <QApplication>
#include <QList>
#include <QString>

class AppConsole;
class ProjectDescription;
class QWidget;
class TapeDriveList;

// The suite's application base: the shared objects every window and tool reaches through it.
class ObrApp : public QApplication {
    Q_OBJECT
public:
    ObrApp(int& argc, char** argv, bool guiMode);
    ~ObrApp() override;
    ObrApp(const ObrApp&) = delete;
    ObrApp& operator=(const ObrApp&) = delete;

    // The start-up sequence; a result below 1 ends the process with that code.
    virtual int init() = 0;

    // Makes the console current. A replaced console stays alive until the application ends,
    // because objects made before the change keep reporting through it.
    void setConsole(AppConsole* newConsole);
    // Makes the project current and destroys the previous one.
    void setProject(ProjectDescription* newProject);

    bool guiMode;
    QString applicationTitle;
    int versionMajor = 0;
    int versionMinor = 0;
    int versionBuild = 0;
    QWidget* dialogParent = nullptr; // parent of the console's message boxes
    QString projectFilePath;
    QString rootDirectory;
    AppConsole* console = nullptr;         // owned
    ProjectDescription* project = nullptr; // owned
    TapeDriveList* tapeDrives = nullptr;   // null when no drive could be set up
    // What the consoles show: no interval filter, interval 0 (read as 1), level 1 (no debug
    // and no low-level lines). Nothing in the program changes them.
    bool intervalFilter = ConsoleSettings().intervalFilter;
    int messageInterval = ConsoleSettings().messageInterval;
    int detailLevel = ConsoleSettings().detailLevel;

private:
    QList<AppConsole*> retiredConsoles;
};
