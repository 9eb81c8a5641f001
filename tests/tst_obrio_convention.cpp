#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/TestFiles.h"
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
        toolNames = entries(main.out, "Tools");
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

    void everyCommand_data()
    {
        obrtest::columns<QStringList>({"command"});
        QList<QStringList> runs;
        QList<QStringList> everyCommand = commands;
        for (const QString& tool : tools)
            everyCommand.append({tool});
        for (const QStringList& command : everyCommand) {
            QTest::newRow(qPrintable(command.join(' '))) << command;
            runs << command + QStringList{"-h"} << command + QStringList{"--help"};
            if (tools.contains(command.join(' ')))
                runs << command << command + QStringList{"no-such-action"};
            else
                runs << command + QStringList{"--no-such-option"};
        }
        prefetch(runs);
    }
    // Help goes to standard output with status 0; every usage error to standard error with status 2,
    // one line pointing to the command's help page.
    void everyCommand()
    {
        const auto [command] = obrtest::fetch<QStringList>("command");
        const QString name = command.join(' ');
        for (const char* flag : {"-h", "--help"}) {
            const ObrioRun run = obrio(command + QStringList{flag});
            QCOMPARE(run.status, 0);
            QVERIFY2(!run.out.isEmpty() && run.out.first().startsWith("Usage: obrio " + name + ' '),
                     qPrintable(run.out.join('\n')));
            QVERIFY2(run.err.isEmpty(), qPrintable(run.err.join('\n')));
        }
        QMap<QStringList, QString> mistakes;
        if (tools.contains(name)) {
            mistakes.insert(command, "obrio: " + name + " needs an action");
            mistakes.insert(command + QStringList{"no-such-action"},
                            "obrio: unknown " + name + " action 'no-such-action'");
        } else {
            mistakes.insert(command + QStringList{"--no-such-option"},
                            "obrio: unknown option --no-such-option");
        }
        for (auto mistake = mistakes.cbegin(); mistake != mistakes.cend(); ++mistake) {
            const ObrioRun run = obrio(mistake.key());
            QCOMPARE(run.status, 2);
            QVERIFY2(isUsageError(run.err, name) && run.err.first().startsWith(mistake.value()),
                     qPrintable(run.err.join('\n')));
        }
    }

    // The options of one command stand for all: they share the parser.
    void valueOptions_data()
    {
        obrtest::columns<QString, QString>({"option", "value"});
        static const QRegularExpression valueOption(QStringLiteral("^  (--[a-z0-9-]+) (\\S+)  "));
        QList<QStringList> runs;
        for (const QString& line : section(obrio(valueCommand + QStringList{"--help"}).out, "Options")) {
            const QRegularExpressionMatch match = valueOption.match(line);
            if (!match.hasMatch())
                continue;
            const QString option = match.captured(1);
            const QString value = match.captured(2);
            QTest::newRow(qPrintable(option)) << option << value;
            runs << valueCommand + QStringList{option + '=' + value}
                 << valueCommand + QStringList{option, value} << valueCommand + QStringList{option};
        }
        QVERIFY(runs.size() > 3);
        prefetch(runs);
    }
    // "--name=VALUE" and "--name VALUE" are one thing; "--name" with nothing after is a usage error.
    void valueOptions()
    {
        const auto [option, value] = obrtest::fetch<QString, QString>("option", "value");
        const QStringList& command = valueCommand;
        const ObrioRun joined = obrio(command + QStringList{option + '=' + value});
        const ObrioRun apart = obrio(command + QStringList{option, value});
        QCOMPARE(QPair(joined.status, joined.out + joined.err), QPair(apart.status, apart.out + apart.err));
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
            QTest::newRow(name) << arguments.split(' ', Qt::SkipEmptyParts) << status << message;
            runs.append(arguments.split(' ', Qt::SkipEmptyParts));
        };
        row("no arguments: usage on standard error", "", 2, "Usage: obrio ");
        row("unknown tool", "no-such-tool", 2, "obrio: unknown tool 'no-such-tool'");
        row("-- ends the options", "segy info -- --no-such-option", 1,
            "failed to open disk file: --no-such-option");
        row("value given twice", "segy dump --trace 1 --trace=2 f.sgy", 2, "--trace is given twice");
        row("largest number", "copy raw none b --block 524288", 1, "none");
        row("beyond the largest", "copy raw none b --block 524289", 2,
            "--block needs a whole number from 1 to 524288");
        row("not a finite number", "segy plot f.sgy --out x.png --vscale nan", 2,
            "--vscale needs a number from 0.1 to 1000, not 'nan'");
        row("negative number is a value", "tape mark tape:a.tap -1", 2, "N needs a whole number from 1 to");
        row("help beside a mistake", "segy dump --no-such-option -h", 0, "Usage: obrio segy dump ");
        prefetch(runs);
    }
    // The rules of the shared parser that the walk above does not reach.
    void rules()
    {
        const auto [arguments, status, message] =
            obrtest::fetch<QStringList, int, QString>("arguments", "status", "message");
        const ObrioRun run = obrio(arguments);
        QCOMPARE(run.status, status);
        const QStringList& shown = status == 0 ? run.out : run.err;
        QVERIFY2(shown.join('\n').contains(message), qPrintable(shown.join('\n')));
        if (status != 1)
            QVERIFY((status == 0 ? run.err : run.out).isEmpty());
        // A usage error is a single line that points to a help page: obrio's own before any tool.
        const bool topLevel = !tools.contains(arguments.value(0)) && !commands.contains({arguments.value(0)});
        if (status == 2 && shown.value(0).startsWith("obrio: "))
            QVERIFY2(shown.size() == 1 &&
                         shown.first().endsWith(topLevel ? " (see obrio --help)" : " --help)"),
                     qPrintable(shown.join('\n')));
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
        QStringList lines;
        for (int i = start + 1; start >= 0 && i < page.size() && !page.at(i).isEmpty(); ++i)
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
        return err.size() == 1 && err.first().startsWith("obrio: ") &&
               err.first().endsWith(" (see obrio " + command + " --help)");
    }

    const QStringList valueCommand{"segd", "plot"};
    QTemporaryDir home;
    QStringList toolNames;       // every tool, in the order of the help page
    QStringList tools;           // the tools that group actions
    QList<QStringList> commands; // every command that runs: a tool with no actions, or tool and action
    QMap<QStringList, ObrioRun> results;
};

OBR_TEST_MAIN(TestObrioConvention)
#include "tst_obrio_convention.moc"
