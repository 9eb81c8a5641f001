#include "app/ui/IoApp.h"
#include "app/ui/IoMainWindow.h"

#include <QFileInfo>
#include <QTimer>
#include <csignal>

int main(int argc, char** argv)
{
    // A file grown past the size limit is a write error the job reports, not a reason to die.
    std::signal(SIGXFSZ, SIG_IGN);
    IoApp application(argc, argv);
    // Files named on the command line (a file manager's "Open with"), made absolute before
    // start-up enters the working root.
    QStringList files;
    for (const QString& argument : QCoreApplication::arguments().mid(1))
        files.append(QFileInfo(argument).absoluteFilePath());
    const int started = application.init();
    if (started < 1)
        return started;
    QObject::connect(&application, &QGuiApplication::lastWindowClosed, &application, &QCoreApplication::quit);
    // Each file opens in its analyzer once the window is up, one after the other.
    QTimer::singleShot(0, application.mainWindow, [&application, files] {
        for (const QString& file : files)
            application.mainWindow->openFile(file);
    });
    return QApplication::exec();
}
