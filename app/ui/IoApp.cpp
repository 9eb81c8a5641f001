#include "app/ui/IoApp.h"

#include "app/HelpPages.h"
#include "app/ui/AppConsole.h"
#include "app/ui/IoMainWindow.h"
#include "base/WorkingRoot.h"
#include "seismic/SegyFormatFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStyleFactory>

IoApp::IoApp(int& argc, char** argv) : ObrApp(argc, argv, true) {}

IoApp::~IoApp()
{
    delete mainWindow;
}

int IoApp::init()
{
    if (QStyle* style = QStyleFactory::create(QStringLiteral("cleanlooks")))
        setStyle(style);
    applicationTitle = QStringLiteral("OBR IO Utility");
    versionMajor = OBR_VERSION_MAJOR;
    versionMinor = OBR_VERSION_MINOR;
    versionBuild = OBR_VERSION_BUILD;
    setApplicationName(applicationTitle);

    rootDirectory = WorkingRoot::path();
    // Without a working root the program runs in the directory it was started from.
    QDir::setCurrent(rootDirectory);
    // Help pages installed with the program go where the viewer looks; a failure only means the
    // viewer shows what is there (obrio setup reports such failures).
    // The same holds for the standard SEG-Y format that every SEG-Y tool starts from.
    if (QFileInfo(rootDirectory).isDir()) {
        static_cast<void>(HelpPages::install(rootDirectory + QStringLiteral("/Docs")));
        static_cast<void>(SegyFormatFile::installStandard(rootDirectory + QStringLiteral("/SegyFormats")));
    }

    setConsole(new AppConsole(this, nullptr, QString()));
    mainWindow = new IoMainWindow(this, nullptr, Qt::Window);
    mainWindow->show();
    return 1;
}
