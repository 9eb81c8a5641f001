#include "database/DatabaseConnection.h"
#include "database/ui/ProjectChooser.h"
#include "tests/support/DataTable.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/TestMain.h"
#include "tests/support/ThrowawayPostgres.h"

#include <QInputDialog>

// The interactive choice of a project database, offscreen, answered by the closer.
class TestProjectChooser : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        OBR_REQUIRE_POSTGRES();
        obrtest::dropTestDatabases();
    }
    void cleanup() { obrtest::dropTestDatabases(); }

    void messageBoxes_data()
    {
        // port 1 is closed; projects: the test databases made first, of which the user chooses none
        obrtest::columns<bool, QStringList, QString, QString>({"closedPort", "projects", "title", "text"});
        QTest::newRow("connection failed") << true << QStringList() << "No connection"
                                           << "Database connection failed. Error code : 1, \nString = "
                                              "Connection to database failed: connection "
                                              "to server at \"127.0.0.1\", port 1 failed: Connection "
                                              "refused\n\tIs the server running on that "
                                              "host and accepting TCP/IP connections?";
        QTest::newRow("no projects")
            << false << QStringList() << "No projects"
            << "No projects exist in the database, please create one in the Ledgerwick to proceed.";
        QTest::newRow("none chosen") << false << QStringList{"obrtest_north"} << "No projects"
                                     << "No project selected, please select one to proceed.";
    }
    void messageBoxes()
    {
        const auto [closedPort, projects, title, text] =
            obrtest::fetch<bool, QStringList, QString, QString>("closedPort", "projects", "title", "text");
        makeProjects(projects);
        ModalDialogCloser closer;
        typeAddress(closer, QStringLiteral("127.0.0.1"));
        if (!projects.isEmpty())
            pickProject(closer, -1);
        ProjectChooser chooser(nullptr, closedPort ? 1 : obrtest::throwawayServer().port);
        QVERIFY(!chooser.choose());
        QCOMPARE(closer.count(), projects.isEmpty() ? 2 : 3);
        const ModalDialogCloser::Seen& box = closer.seen().last();
        QCOMPARE(box.className, QStringLiteral("QMessageBox"));
        QCOMPARE(box.title, title);
        QCOMPARE(box.text, text);
    }

    void projectChosen()
    {
        makeProjects({QStringLiteral("obrtest_north"), QStringLiteral("obrtest_south")});
        ModalDialogCloser closer;
        typeAddress(closer, QStringLiteral(" 127.0.0.1 "));
        pickProject(closer, 1);
        const int port = obrtest::throwawayServer().port;
        const auto choice = ProjectChooser(nullptr, port).choose();
        QVERIFY(choice);
        QCOMPARE(choice->database, QStringLiteral("obrtest_south"));
        QCOMPARE(choice->server.address, QStringLiteral("127.0.0.1"));
        QCOMPARE(choice->server.port, port);
        QCOMPARE(closer.titles(), QStringList({"QInputDialog::getText()", "Project:"}));
        QCOMPARE(offeredProjects, QStringList({"obrtest_north", "obrtest_south"}));
    }

    void addressCancelled()
    {
        ModalDialogCloser closer;
        QVERIFY(!ProjectChooser(nullptr, obrtest::throwawayServer().port).choose());
        QCOMPARE(closer.titles(), QStringList{"QInputDialog::getText()"});
    }

private:
    void makeProjects(const QStringList& names)
    {
        DatabaseConnection server;
        obrtest::connectToServer(server);
        for (const QString& name : names)
            QVERIFY(server.createDatabase(name));
    }

    // The address dialog, checked for its default, then answered with `address`.
    void typeAddress(ModalDialogCloser& closer, const QString& address)
    {
        closer.actOnNext([address](QWidget* widget) {
            auto* dialog = qobject_cast<QInputDialog*>(widget);
            QVERIFY(dialog);
            QCOMPARE(dialog->textValue(), QStringLiteral("127.0.0.1"));
            dialog->setTextValue(address);
            dialog->accept();
        });
    }

    // The project list: row `pick` chosen, or the dialog cancelled for -1.
    void pickProject(ModalDialogCloser& closer, int pick)
    {
        closer.actOnNext([this, pick](QWidget* widget) {
            auto* dialog = qobject_cast<QInputDialog*>(widget);
            QVERIFY(dialog);
            offeredProjects = dialog->comboBoxItems();
            if (pick < 0) {
                dialog->reject();
                return;
            }
            dialog->setTextValue(offeredProjects.value(pick));
            dialog->accept();
        });
    }

    QStringList offeredProjects;
};

OBR_TEST_MAIN(TestProjectChooser)
#include "tst_project_chooser.moc"
