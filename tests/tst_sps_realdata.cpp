#include "base/WorkingRoot.h"
#include "sps/ui/LineEdit.h"
#include "sps/ui/SpsReceiverAnalyzer.h"
#include "sps/ui/SpsRelationAnalyzer.h"
#include "sps/ui/SpsSourceAnalyzer.h"
#include "tests/support/Controls.h"
#include "tests/support/DataTable.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/TestMain.h"

#include <QFile>
#include <QPushButton>
#include <QTextStream>
#include <memory>

namespace {

// The columns of revision 2.1 of the SPS standard, written out here apart from the program's
// own table. Types: 't' float truncated, 'i' integer, 'f' one decimal, 'g' six digits, ' ' none.
struct Column {
    const char* part;
    int start;
    int end;
    char type;
};

const QVector<Column> pointColumns{
    {"Line", 2, 11, 't'},        {"Loc", 12, 21, 't'},     {"Index", 24, 24, 'i'},    {"Code", 25, 26, ' '},
    {"Static", 27, 30, 'g'},     {"Depth", 31, 34, 'f'},   {"Datum", 35, 38, 'g'},    {"Uphole", 39, 40, 'g'},
    {"WaterDepth", 41, 46, 'f'}, {"Easting", 47, 55, 'f'}, {"Northing", 56, 65, 'f'}, {"Elev", 66, 71, 'f'},
    {"Date", 72, 74, 'i'},       {"Time", 75, 80, 'i'},
};

const QVector<Column> relationColumns{
    {"Tape", 2, 7, 'i'},         {"Record", 8, 15, 'i'},
    {"RecordIncr", 16, 16, 'i'}, {"InstrumentCode", 17, 17, ' '},
    {"ShotLine", 18, 27, 't'},   {"ShotLocation", 28, 37, 't'},
    {"ShotIndex", 38, 38, 'i'},  {"FromChannel", 39, 43, 'i'},
    {"ToChannel", 44, 48, 'i'},  {"ChannelIncr", 49, 49, 'i'},
    {"RecLine", 50, 59, 't'},    {"FromRec", 60, 69, 't'},
    {"ToRec", 70, 79, 't'},      {"RecIndex", 80, 80, 'i'},
};

// "min..max" of a column over the lines starting with the letter, as the analyzer shows it.
QString expectedRange(const QStringList& lines, QChar letter, const Column& column)
{
    if (column.type == ' ')
        return QStringLiteral("..");
    double minimum = 0;
    double maximum = 0;
    bool any = false;
    for (const QString& line : lines) {
        if (line.left(1) != letter)
            continue;
        const QString text = line.mid(column.start - 1, column.end - column.start + 1).trimmed();
        const double value = column.type == 't'   ? double(int(text.toFloat()))
                             : column.type == 'i' ? double(text.toInt())
                                                  : text.toDouble();
        minimum = any ? std::min(minimum, value) : value;
        maximum = any ? std::max(maximum, value) : value;
        any = true;
    }
    const auto shown = [&](double value) {
        return column.type == 'f'   ? QString::number(value, 'f', 1)
               : column.type == 'g' ? QString::number(value, 'g', 6)
                                    : QString::number(qint64(value));
    };
    return any ? shown(minimum) + ".." + shown(maximum) : QStringLiteral("..");
}

std::unique_ptr<SpsAnalyzer> openAnalyzer(QChar letter, const QString& path, ObrConsole* console)
{
    if (letter == QLatin1Char('S'))
        return std::make_unique<SpsSourceAnalyzer>(nullptr, QString(), path, console);
    if (letter == QLatin1Char('R'))
        return std::make_unique<SpsReceiverAnalyzer>(nullptr, QString(), path, console);
    return std::make_unique<SpsRelationAnalyzer>(nullptr, QString(), path, console);
}

QString prefix(QChar letter)
{
    return letter == QLatin1Char('S') ? "Source" : letter == QLatin1Char('R') ? "Receiver" : "";
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
        QFile input(path);
        QVERIFY(input.open(QIODevice::ReadOnly | QIODevice::Text));
        QStringList lines;
        QTextStream stream(&input);
        while (!stream.atEnd())
            lines << stream.readLine();

        RecordingConsole console;
        const auto analyzer = openAnalyzer(letter, path, &console);
        // The built-in layout is not that of the file's revision: the window says so.
        QCOMPARE(console.warnings().size(), hint ? 1 : 0);
        if (hint)
            QVERIFY(console.warnings()[0].startsWith(path + " is an SPS 2.1 file"));

        obrtest::control<QPushButton>(*analyzer, "Sps21")->click();
        QStringList got;
        QStringList expected;
        for (const Column& column : letter == 'X' ? relationColumns : pointColumns) {
            const QString name = prefix(letter) + column.part;
            got << column.part + QStringLiteral(" ") +
                       obrtest::control<LineEdit>(*analyzer, name + "_Min")->text() + ".." +
                       obrtest::control<LineEdit>(*analyzer, name + "_Max")->text();
            expected << column.part + QStringLiteral(" ") + expectedRange(lines, letter, column);
        }
        QCOMPARE(got, expected);
        // Real values, not a field of blanks or text read as 0.
        QVERIFY2(!expected.filter(QRegularExpression(letter == 'X' ? "^FromRec [1-9]" : "^Easting [1-9]"))
                      .isEmpty(),
                 qPrintable(expected.join("; ")));
    }
};

OBR_TEST_MAIN(TestSpsRealData)
#include "tst_sps_realdata.moc"
