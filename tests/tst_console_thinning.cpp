#include "app/ConsoleSettings.h"
#include "tests/support/TestMain.h"

class TestConsoleThinning : public QObject {
    Q_OBJECT
private slots:
    void byCounter_data();
    void byCounter();
    void keywordsPassThrough_data();
    void keywordsPassThrough();
    void intervalFilter();
};

void TestConsoleThinning::byCounter_data()
{
    QTest::addColumn<int>("counter");
    QTest::addColumn<bool>("shown");
    QTest::newRow("first line") << 0 << true;
    QTest::newRow("50th line") << 49 << true;
    QTest::newRow("51st line, counter 50") << 50 << true;
    QTest::newRow("52nd line, counter 51") << 51 << false;
    QTest::newRow("counter 990") << 990 << true;
    QTest::newRow("counter 999") << 999 << false;
    QTest::newRow("counter 1000") << 1000 << true;
    QTest::newRow("counter 1010") << 1010 << false;
    QTest::newRow("counter 9900") << 9900 << true;
    QTest::newRow("counter 10100") << 10100 << false;
    QTest::newRow("counter 49000") << 49000 << true;
    QTest::newRow("counter 49999") << 49999 << false;
    QTest::newRow("counter 50000") << 50000 << false;
    QTest::newRow("counter 1000000") << 1000000 << false;
}

void TestConsoleThinning::byCounter()
{
    QFETCH(int, counter);
    QFETCH(bool, shown);
    QCOMPARE(consoleShowsLine(counter, QStringLiteral("trace 12 copied"), ConsoleSettings()), shown);
}

void TestConsoleThinning::keywordsPassThrough_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("shown");
    QTest::newRow("Warning") << "a Warning here" << true;
    QTest::newRow("error") << "read error" << true;
    QTest::newRow("Error") << "Error" << true;
    QTest::newRow("complete") << "copy complete" << true;
    QTest::newRow("Scan") << "Scan of tape" << true;
    QTest::newRow("FTP") << "FTP link" << true;
    QTest::newRow("TCP") << "TCP link" << true;
    QTest::newRow("case-sensitive scan") << "scan of tape" << false;
    QTest::newRow("case-sensitive ERROR") << "ERROR" << false;
    QTest::newRow("plain") << "copied" << false;
}

void TestConsoleThinning::keywordsPassThrough()
{
    QFETCH(QString, text);
    QFETCH(bool, shown);
    QCOMPARE(consoleShowsLine(51, text, ConsoleSettings()), shown);
    QCOMPARE(consoleShowsLine(60000, text, ConsoleSettings()), shown);
}

void TestConsoleThinning::intervalFilter()
{
    ConsoleSettings settings;
    settings.intervalFilter = true;
    settings.messageInterval = 7;
    QVERIFY(consoleShowsLine(70007, QStringLiteral("x"), settings));
    QVERIFY(!consoleShowsLine(70008, QStringLiteral("x"), settings));
    // Below the interval the count rule still applies.
    QVERIFY(consoleShowsLine(8, QStringLiteral("x"), settings));
    settings.messageInterval = 0; // read as 1: every line
    QVERIFY(consoleShowsLine(70008, QStringLiteral("x"), settings));
}

OBR_TEST_MAIN(TestConsoleThinning)
#include "tst_console_thinning.moc"
