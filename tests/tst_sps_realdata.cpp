#include "base/WorkingRoot.h"
#include "sps/ui/LineEdit.h"
#include "sps/ui/SpsReceiverAnalyzer.h"
#include "sps/ui/SpsRelationAnalyzer.h"
#include "sps/ui/SpsSourceAnalyzer.h"
#include "tests/support/Controls.h"
#include "tests/support/DataTable.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SpsFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QPushButton>
#include <memory>

namespace {

std::unique_ptr<SpsAnalyzer> openAnalyzer(QChar letter, const QString& path, ObrConsole* console)
{
    if (letter == QLatin1Char('S'))
        return std::make_unique<SpsSourceAnalyzer>(nullptr, QString(), path, console);
    if (letter == QLatin1Char('R'))
        return std::make_unique<SpsReceiverAnalyzer>(nullptr, QString(), path, console);
    return std::make_unique<SpsRelationAnalyzer>(nullptr, QString(), path, console);
}

} // namespace

class TestSpsRealData : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(WorkingRoot::create()); }

    void revision21Ranges_data()
    {
        // hint: the file's H00 line names revision 2.1
        obrtest::columns<QString, QChar, bool>({"file", "letter", "hint"});
        QTest::newRow("clean source") << "l2sall.txt" << QChar('S') << true;
        QTest::newRow("clean receiver") << "l2rall.txt" << QChar('R') << true;
        QTest::newRow("clean relation") << "l2xall.txt" << QChar('X') << true;
        QTest::newRow("crooked source") << "l2scrook.txt" << QChar('S') << true;
        QTest::newRow("crooked receiver") << "l2rcrook.txt" << QChar('R') << true;
        QTest::newRow("relation after comment lines, no header") << "l2xcrook.txt" << QChar('X') << false;
    }
    void revision21Ranges()
    {
        OBR_REQUIRE_REALDATA();
        const auto [file, letter, hint] = obrtest::fetch<QString, QChar, bool>("file", "letter", "hint");
        const QString path = obrtest::realDataDir() + "/sps/" + file;
        const QStringList lines = QString::fromLatin1(obrtest::readFile(path)).split(QLatin1Char('\n'));
        RecordingConsole console;
        const auto analyzer = openAnalyzer(letter, path, &console);
        // The built-in layout is not that of the file's revision: the window says so.
        QCOMPARE(console.warnings().size(), hint ? 1 : 0);
        if (hint)
            QVERIFY(console.warnings()[0].startsWith(path + " is an SPS 2.1 file"));

        obrtest::control<QPushButton>(*analyzer, "Sps21")->click();
        QStringList got, expected;
        const QString prefix = letter == 'S' ? "Source" : letter == 'R' ? "Receiver" : "";
        for (const spstest::Revision21Column& column : spstest::revision21Columns(letter == 'X')) {
            const QString name = prefix + column.part;
            got << column.part + QStringLiteral(" ") +
                       obrtest::control<LineEdit>(*analyzer, name + "_Min")->text() + ".." +
                       obrtest::control<LineEdit>(*analyzer, name + "_Max")->text();
            expected << column.part + QStringLiteral(" ") + spstest::expectedRange(lines, letter, column);
        }
        QCOMPARE(got, expected);
        // Real values, not a field of blanks or text read as 0.
        QVERIFY2(
            expected.filter(QRegularExpression(letter == 'X' ? "^FromRec [1-9]" : "^Easting [1-9]")).size(),
            qPrintable(expected.join("; ")));
    }
};

OBR_TEST_MAIN(TestSpsRealData)
#include "tst_sps_realdata.moc"
