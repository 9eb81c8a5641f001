#include "database/ui/ProjectChooser.h"

#include "database/DatabaseConnection.h"

#include <QInputDialog>
#include <QMessageBox>

ProjectChooser::ProjectChooser(QWidget* parent, int port) : parent(parent), port(port) {}

std::optional<ProjectChooser::Choice> ProjectChooser::choose()
{
    bool accepted = false;
    const QString address = QInputDialog::getText(parent, QStringLiteral("QInputDialog::getText()"),
                                                  QStringLiteral("Enter the DB IP address (eg 127.0.0.1)"),
                                                  QLineEdit::Normal, QStringLiteral("127.0.0.1"), &accepted);
    if (!accepted)
        return std::nullopt;

    const DatabaseServer server{address.trimmed(), port};
    DatabaseConnection connection;
    std::optional<QStringList> projects;
    if (connection.connectToServer(server))
        projects = connection.projectDatabases();
    if (!projects) {
        QMessageBox::warning(parent, QStringLiteral("No connection"),
                             QStringLiteral("Database connection failed. Error code : %1, \nString = %2")
                                 .arg(connection.status())
                                 .arg(connection.errorText()));
        return std::nullopt;
    }
    connection.close();
    if (projects->isEmpty()) {
        QMessageBox::warning(
            parent, QStringLiteral("No projects"),
            QStringLiteral(
                "No projects exist in the database, please create one in the Ledgerwick to proceed."));
        return std::nullopt;
    }

    const QString project =
        QInputDialog::getItem(parent, QStringLiteral("Project:"), QStringLiteral("Select project:"),
                              *projects, 0, false, &accepted);
    if (!accepted || project.isEmpty()) {
        QMessageBox::warning(parent, QStringLiteral("No projects"),
                             QStringLiteral("No project selected, please select one to proceed."));
        return std::nullopt;
    }
    return Choice{server, project};
}
