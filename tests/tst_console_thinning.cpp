#include "app/ConsoleSettings.h"
#include "tests/support/DataTable.h"
#include "tests/support/TestMain.h"

class TestConsoleThinning : public QObject {
    Q_OBJECT
private slots:
    void shownLines_data()
    {
        obrtest::columns<int, QString, bool>({"counter", "text", "shown"});
        const auto row = [](int counter, bool shown, const char* text = "trace 12 copied") {
            QTest::addRow("%d: %s", counter, text) << counter << text << shown;
        };
        row(50, true); // the 51st line
        row(51, false);
        row(990, true);
        row(999, false);
        row(1010, false);
        row(9900, true);
        row(10100, false);
        row(49000, true);
        row(50000, false);
        // Lines with a keyword always pass, the keyword case-sensitive.
        for (const char* text : {"a Warning here", "read error", "Error", "copy complete", "Scan of tape",
                                 "FTP link", "TCP link"})
            row(60000, true, text);
        for (const char* text : {"scan of tape", "ERROR", "copied"})
            row(51, false, text);
    }
    void shownLines()
    {
        const auto [counter, text, shown] = obrtest::fetch<int, QString, bool>("counter", "text", "shown");
        QCOMPARE(consoleShowsLine(counter, text, ConsoleSettings()), shown);
    }

    void intervalFilter()
    {
        ConsoleSettings settings;
        settings.intervalFilter = true;
        settings.messageInterval = 7;
        QVERIFY(consoleShowsLine(70007, QStringLiteral("x"), settings));
        QVERIFY(!consoleShowsLine(70008, QStringLiteral("x"), settings));
        // Below the interval the count rule still applies.
        QVERIFY(consoleShowsLine(8, QStringLiteral("x"), settings));
        settings.messageInterval = 0; // read as 1: every line
        QVERIFY(consoleShowsLine(70009, QStringLiteral("x"), settings));
    }
};

OBR_TEST_MAIN(TestConsoleThinning)
#include "tst_console_thinning.moc"
