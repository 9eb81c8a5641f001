#include "app/HelpPages.h"
#include "base/ui/OnlineDocumentation.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QRegularExpression>

class TestOnlineDocumentation : public QObject {
    Q_OBJECT
private slots:
    void userPagesComeFirstAndStay()
    {
        QTemporaryDir dir;
        const QString docs = dir.filePath(QStringLiteral("Docs"));
        QVERIFY(QDir().mkdir(docs));
        QVERIFY(
            obrtest::writeFile(docs + "/segycopy.html",
                               "<html><head><title>Our copy notes</title></head><body>local</body></html>"));
        std::unique_ptr<OnlineDocumentation> viewer(
            new OnlineDocumentation(docs, QStringLiteral("segycopy.html")));
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Online Documentation: Our copy notes"));

        // Installing the pages keeps the user's; the copies are ordinary files the user may edit.
        QStringList copied;
        QVERIFY(HelpPages::install(docs, &copied));
        QCOMPARE(copied.size(), HelpPages::names().size() - 1);
        QVERIFY(obrtest::readFile(docs + "/segycopy.html").contains("Our copy notes"));
        QString error;
        QVERIFY(!HelpPages::install(dir.filePath(QStringLiteral("no/Docs")), nullptr, &error));
        QVERIFY2(error.contains(QStringLiteral("no/Docs")), qPrintable(error));
    }

    void everyPageHasATitleAndWorkingLinks()
    {
        const QStringList names = HelpPages::names();
        QVERIFY(names.contains("index.html"));
        static const QRegularExpression title(QStringLiteral("<title>([^<]+)</title>"));
        static const QRegularExpression link(QStringLiteral("href=\"([^\"#]+)"));
        for (const QString& name : names) {
            const QString text = QString::fromUtf8(obrtest::readFile(HelpPages::directory() + "/" + name));
            QVERIFY2(title.match(text).hasMatch(), qPrintable(name));
            // Every page but the main one leads back to it.
            QVERIFY2(name == QLatin1String("index.html") ||
                         text.contains(QStringLiteral("href=\"index.html\"")),
                     qPrintable(name));
            for (auto it = link.globalMatch(text); it.hasNext();) {
                const QString target = it.next().captured(1);
                QVERIFY2(names.contains(target), qPrintable(name + QStringLiteral(" links to ") + target));
            }
        }
    }
};

OBR_TEST_MAIN(TestOnlineDocumentation)
#include "tst_online_documentation.moc"
