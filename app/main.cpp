#include "app/ui/IoApp.h"

int main(int argc, char** argv)
{
    IoApp application(argc, argv);
    const int started = application.init();
    if (started < 1)
        return started;
    QObject::connect(&application, &QGuiApplication::lastWindowClosed, &application, &QCoreApplication::quit);
    return QApplication::exec();
}
