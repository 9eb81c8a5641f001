#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/TestMain.h"

#include <QMap>
#include <QRegularExpression>

// The command-line convention every tool and action of obrio keeps. The commands are found from
// the help pages, so a tool or action added later is walked without a change here.
class TestObrioConvention : public QObject {
    Q_OBJECT

    using ObrioRun = obrtest::ObrioRun;

private slots:
    void initTestCase()
    {
        const ObrioRun main = obrio({"--help"});
        QCOMPARE(main.status, 0);
        const QStringList toolNames = entries(main.out, "Tools");
        QList<QStringList> toolHelp;
        for (const QString& tool : toolNames)
            toolHelp.append({tool, "--help"});
        prefetch(toolHelp);
        for (const QString& tool : toolNames) {
            const QStringList actions = entries(obrio({tool, "--help"}).out, "Actions");
            if (actions.isEmpty())
                commands.append({tool});
            else
                tools.append(tool);
            for (const QString& action : actions)
                commands.append({tool, action});
        }
        // The walk must reach both kinds of tool, or the rows below would prove little.
        QVERIFY2(tools.contains("segy") && commands.contains({"setup"}), qPrintable(main.out.join('\n')));
    }

    void bareLines_data()
    {
        obrtest::columns<QStringList, int, QString, QString>({"arguments", "status", "firstLine", "helpOf"});
        QTest::newRow("no arguments") << QStringList() << 2 << "Usage: obrio " << QString();
        QTest::newRow("--help") << QStringList{"--help"} << 0 << "Usage: obrio " << QString();
        QTest::newRow("-h") << QStringList{"-h"} << 0 << "Usage: obrio " << QString();
        QTest::newRow("unknown tool")
            << QStringList{"no-such-tool"} << 2 << "obrio: unknown tool 'no-such-tool'" << QString();
        QTest::newRow("unknown option")
            << QStringList{"--no-such-option"} << 2 << "obrio: unknown option" << QString();
        QList<QStringList> runs;
        for (const QString& tool : tools) {
            const QByteArray name = tool.toUtf8();
            QTest::newRow(name + " without action")
                << QStringList{tool} << 2 << "obrio: " + tool + " needs an action" << tool;
            QTest::newRow(name + " unknown action")
                << QStringList{tool, "no-such-action"} << 2
                << "obrio: unknown " + tool + " action 'no-such-action'" << tool;
            runs << QStringList{tool} << QStringList{tool, "no-such-action"};
        }
        prefetch(runs);
    }
    // Help goes to standard output with status 0; the usage of a bare `obrio` and every usage error
    // go to standard error with status 2.
    void bareLines()
    {
        const auto [arguments, status, firstLine, helpOf] =
            obrtest::fetch<QStringList, int, QString, QString>("arguments", "status", "firstLine", "helpOf");
        const ObrioRun run = obrio(arguments);
        QCOMPARE(run.status, status);
        const bool help = status == 0;
        const QStringList& shown = help ? run.out : run.err;
        QVERIFY2(!shown.isEmpty() && shown.first().startsWith(firstLine), qPrintable(shown.join('\n')));
        QVERIFY((help ? run.err : run.out).isEmpty());
        if (firstLine.startsWith("obrio: "))
            QVERIFY2(isUsageError(run.err, helpOf), qPrintable(run.err.join('\n')));
    }

    void help_data()
    {
        obrtest::columns<QStringList>({"command"});
        QList<QStringList> everyCommand = commands;
        for (const QString& tool : tools)
            everyCommand.append({tool});
        QList<QStringList> runs;
        for (const QStringList& command : everyCommand) {
            QTest::newRow(qPrintable(command.join(' '))) << command;
            runs << command + QStringList{"-h"} << command + QStringList{"--help"};
        }
        prefetch(runs);
    }
    void help()
    {
        const auto [command] = obrtest::fetch<QStringList>("command");
        for (const char* flag : {"-h", "--help"}) {
            const ObrioRun run = obrio(command + QStringList{flag});
            QCOMPARE(run.status, 0);
            QVERIFY2(!run.out.isEmpty() &&
                         run.out.first().startsWith("Usage: obrio " + command.join(' ') + ' '),
                     qPrintable(run.out.join('\n')));
            QVERIFY2(run.err.isEmpty(), qPrintable(run.err.join('\n')));
        }
    }

    void unknownOption_data()
    {
        obrtest::columns<QStringList>({"command"});
        QList<QStringList> runs;
        for (const QStringList& command : commands) {
            QTest::newRow(qPrintable(command.join(' '))) << command;
            runs << command + QStringList{"--no-such-option"};
        }
        prefetch(runs);
    }
    void unknownOption()
    {
        const auto [command] = obrtest::fetch<QStringList>("command");
        const ObrioRun run = obrio(command + QStringList{"--no-such-option"});
        QCOMPARE(run.status, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(isUsageError(run.err, command.join(' ')) && run.err.first().contains("--no-such-option"),
                 qPrintable(run.err.join('\n')));
    }

    void valueOptions_data()
    {
        obrtest::columns<QStringList, QString, QString>({"command", "option", "value"});
        static const QRegularExpression valueOption(QStringLiteral("^  (--[a-z0-9-]+) (\\S+)  "));
        QList<QStringList> runs;
        for (const QStringList& command : commands) {
            for (const QString& line : section(obrio(command + QStringList{"--help"}).out, "Options")) {
                const QRegularExpressionMatch match = valueOption.match(line);
                if (!match.hasMatch())
                    continue;
                const QString option = match.captured(1);
                const QString value = match.captured(2);
                QTest::newRow(qPrintable(command.join(' ') + ' ' + option)) << command << option << value;
                runs << command + QStringList{option + '=' + value} << command + QStringList{option, value}
                     << command + QStringList{option};
            }
        }
        QVERIFY(!runs.isEmpty());
        prefetch(runs);
    }
    // "--name=VALUE" and "--name VALUE" are one thing; "--name" with nothing after is a usage error.
    void valueOptions()
    {
        const auto [command, option, value] =
            obrtest::fetch<QStringList, QString, QString>("command", "option", "value");
        const ObrioRun joined = obrio(command + QStringList{option + '=' + value});
        const ObrioRun apart = obrio(command + QStringList{option, value});
        QCOMPARE(joined.status, apart.status);
        QCOMPARE(joined.out, apart.out);
        QCOMPARE(joined.err, apart.err);
        QVERIFY2(!joined.err.join('\n').contains("unknown option"), qPrintable(joined.err.join('\n')));

        const ObrioRun missing = obrio(command + QStringList{option});
        QCOMPARE(missing.status, 2);
        QVERIFY2(isUsageError(missing.err, command.join(' ')) &&
                     missing.err.first().startsWith("obrio: " + option + " needs a value"),
                 qPrintable(missing.err.join('\n')));
    }

    void rules_data()
    {
        obrtest::columns<QStringList, int, QString>({"arguments", "status", "message"});
        QList<QStringList> runs;
        const auto row = [&runs](const char* name, const QString& arguments, int status,
                                 const char* message) {
            QTest::newRow(name) << arguments.split(' ') << status << message;
            runs.append(arguments.split(' '));
        };
        row("-- ends the options", "segy info -- --no-such-option", 1,
            "failed to open disk file: --no-such-option");
        row("verbosity anywhere", "-v segy -vv info --verbose none.sgy", 1,
            "failed to open disk file: none.sgy");
        row("value given twice", "segy dump --trace 1 --trace=2 f.sgy", 2, "--trace is given twice");
        row("flag with a value", "copy raw a b --unload=yes", 2, "--unload takes no value");
        row("empty value", "segy dump --trace= f.sgy", 2, "--trace needs a value (N)");
        row("largest number", "copy raw none b --block 524288", 1, "none");
        row("beyond the largest", "copy raw none b --block 524289", 2,
            "--block needs a whole number from 1 to 524288");
        row("below the smallest", "segy headers --first 0 f.sgy", 2,
            "--first needs a whole number from 1 to");
        row("not a finite number", "segy plot f.sgy --out x.png --vscale nan", 2,
            "--vscale needs a number above 0");
        row("negative number is a value", "tape mark tape:a.tap -1", 2, "N needs a whole number from 1 to");
        row("help beside a mistake", "segy dump --no-such-option -h", 0, "Usage: obrio segy dump ");
        row("options after the action", "segy --format x.xml info f.sgy", 2,
            "segy needs an action before --format");
        prefetch(runs);
    }
    // The rules of the shared parser that the walk above does not reach.
    void rules()
    {
        const auto [arguments, status, message] =
            obrtest::fetch<QStringList, int, QString>("arguments", "status", "message");
        const ObrioRun run = obrio(arguments);
        QCOMPARE(run.status, status);
        const QString shown = (status == 0 ? run.out : run.err).join('\n');
        QVERIFY2(shown.contains(message), qPrintable(shown));
        if (status != 1)
            QVERIFY((status == 0 ? run.err : run.out).isEmpty());
    }

private:
    // Runs obrio, or gives the result of the same run made before.
    ObrioRun obrio(const QStringList& arguments)
    {
        if (!results.contains(arguments))
            results.insert(arguments, obrtest::runObrio(home.path(), arguments));
        return results.value(arguments);
    }

    // Makes the runs a table's rows will ask for, several at a time: every run here only reads.
    void prefetch(const QList<QStringList>& runs)
    {
        const QList<ObrioRun> made = obrtest::runObrioEach(home.path(), runs);
        for (int i = 0; i < runs.size(); ++i)
            results.insert(runs.at(i), made.at(i));
    }

    // The lines of a help page's section, from its title line to the blank line after it.
    static QStringList section(const QStringList& page, const QString& title)
    {
        const int start = page.indexOf(title + ':');
        if (start < 0)
            return {};
        QStringList lines;
        for (int i = start + 1; i < page.size() && !page.at(i).isEmpty(); ++i)
            lines.append(page.at(i));
        return lines;
    }

    // The first word of each line of a section: the tools or actions it lists.
    static QStringList entries(const QStringList& page, const QString& title)
    {
        QStringList names;
        for (const QString& line : section(page, title))
            names.append(line.section(' ', 2, 2));
        return names;
    }

    // The one form of a usage error: a single line that points to the right help page.
    static bool isUsageError(const QStringList& err, const QString& command)
    {
        const QString help =
            command.isEmpty() ? QStringLiteral("obrio --help") : "obrio " + command + " --help";
        return err.size() == 1 && err.first().startsWith("obrio: ") &&
               err.first().endsWith(" (see " + help + ')');
    }

    QTemporaryDir home;
    QStringList tools;           // the tools that group actions
    QList<QStringList> commands; // every command that runs: a tool with no actions, or tool and action
    QMap<QStringList, ObrioRun> results;
};

OBR_TEST_MAIN(TestObrioConvention)
#include "tst_obrio_convention.moc"
