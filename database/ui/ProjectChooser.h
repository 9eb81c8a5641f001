#pragma once

#include "database/DatabaseServer.h"

#include <QString>
#include <optional>

class QWidget;

// The suite's interactive choice of a project database: the server's address, then one of the
// project databases on it. Every way of not getting a project ends in a message box, except the
// user cancelling the address.
class ProjectChooser {
public:
    struct Choice {
        DatabaseServer server;
        QString database;
    };

    explicit ProjectChooser(QWidget* parent, int port = DatabaseServer::defaultPort);

    std::optional<Choice> choose();

private:
    QWidget* parent;
    int port;
};
