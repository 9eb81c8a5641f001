#pragma once

#include <QString>

// Where the project databases live: the server's IPv4 address (as text) and its port.
struct DatabaseServer {
    static constexpr int defaultPort = 5432;

    QString address;
    int port = defaultPort;
};
