#pragma once

#include "app/ui/ObrApp.h"

class IoMainWindow;

// The OBR IO Utility application: prepares the working directory and the console, then opens
// the main window.
class IoApp : public ObrApp {
    Q_OBJECT
public:
    IoApp(int& argc, char** argv);
    ~IoApp() override;

    int init() override;

    IoMainWindow* mainWindow = nullptr; // owned
};
