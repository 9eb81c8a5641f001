#include "tests/support/ObrioProcess.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QTemporaryDir>

namespace {

// The first words of the rows under a section ("Tools:", "Actions:") of a help page.
QStringList entries(const QStringList& page, const QString& title)
{
    QStringList names;
    for (int at = page.indexOf(title + QLatin1Char(':')) + 1; at > 0 && at < page.size(); ++at) {
        const QString& line = page.at(at);
        if (!line.startsWith(QLatin1String("  ")) || line.at(2) == QLatin1Char(' '))
            break;
        names.append(line.split(QLatin1Char(' '), Qt::SkipEmptyParts).first());
    }
    return names;
}

} // namespace

// obrio(1), written at build time from obrio's help pages: every tool and action has its part.
class TestObrioManpage : public QObject {
    Q_OBJECT
private slots:
    void everyToolAndActionHasItsSection()
    {
        const QString page =
            QString::fromUtf8(obrtest::readFile(QStringLiteral(OBR_BIN_DIR "/../share/man/man1/obrio.1")));
        QVERIFY2(page.startsWith(QLatin1String(".TH OBRIO 1 ")), "no manual page was built");
        QStringList sections;
        for (const QString& line : page.split(QLatin1Char('\n')))
            if (line.startsWith(QLatin1String(".SS ")))
                sections.append(line.mid(4));

        QTemporaryDir home;
        const QStringList tools =
            entries(obrtest::runObrio(home.path(), {"--help"}).out, QStringLiteral("Tools"));
        QVERIFY(tools.contains("segy") && tools.contains("setup"));
        QStringList expected;
        for (const QString& tool : tools) {
            expected.append(QStringLiteral("\"obrio %1\"").arg(tool));
            const auto help = obrtest::runObrio(home.path(), {tool, "--help"});
            for (const QString& action : entries(help.out, QStringLiteral("Actions")))
                expected.append(QStringLiteral("\"obrio %1 %2\"").arg(tool, action));
        }
        QCOMPARE(sections, expected);

        // Each action's part is its help page, minus signs escaped for roff.
        const auto info = obrtest::runObrio(home.path(), {"segy", "info", "--help"});
        const QString part =
            page.section(QStringLiteral(".SS \"obrio segy info\"\n.nf\n"), 1).section(".fi\n", 0, 0);
        QCOMPARE(part, info.out.join('\n').replace('-', "\\-") + '\n');
    }
};

OBR_TEST_MAIN(TestObrioManpage)
#include "tst_obrio_manpage.moc"
