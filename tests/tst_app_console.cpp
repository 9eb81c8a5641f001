#include "app/ConsoleSettings.h"
#include "app/ui/AppConsole.h"
#include "app/ui/IoApp.h"
#include "tests/support/DataTable.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <functional>
#include <memory>

namespace {

ObrApp* application()
{
    return static_cast<ObrApp*>(qApp);
}

QStringList lines(const QTextEdit& widget)
{
    const QString text = widget.toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

QColor lastLineColour(const QTextEdit& widget)
{
    QTextCursor cursor(widget.document()->lastBlock());
    cursor.movePosition(QTextCursor::EndOfBlock);
    return cursor.charFormat().foreground().color();
}

QStringList fileLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {QStringLiteral("<cannot open %1>").arg(path)};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QProgressDialog* progressDialog()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QProgressDialog*>(widget))
            return dialog;
    }
    return nullptr;
}

using ConsoleCall = std::function<void(AppConsole&)>;

} // namespace

Q_DECLARE_METATYPE(ConsoleCall)

class TestAppConsole : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        AppConsole::setMessageCounter(0);
        application()->intervalFilter = false;
        application()->messageInterval = 0;
        application()->detailLevel = 1;
        application()->applicationTitle = QStringLiteral("OBR IO Utility");
    }

    // The thinning rule itself is shownLines' test; here the console applies it to the window only,
    // and the log, named after the job's file with its last suffix replaced, gets every line.
    void thinnedButFullyLogged()
    {
        QTextEdit widget;
        {
            AppConsole console(application(), &widget, scratch.filePath(QStringLiteral("job.a.txt")));
            QCOMPARE(console.logFileName(), scratch.filePath(QStringLiteral("job.a.console")));
            for (int i = 0; i < 62; ++i)
                console.message(i == 55 ? QStringLiteral("copy complete") : QStringLiteral("trace %1").arg(i),
                                Qt::black);
        }
        const QStringList shown = lines(widget);
        QCOMPARE(shown.size(), 51 + 2);
        QCOMPARE(shown.mid(50), QStringList({"trace 50", "copy complete", "trace 60"}));
        const QStringList logged = fileLines(scratch.filePath(QStringLiteral("job.a.console")));
        QCOMPARE(logged.size(), 62);
        QCOMPARE(logged.last(), QStringLiteral("trace 61"));
    }

    void prefixesColoursAndPopups_data()
    {
        // title: of the box that pops up; empty: none
        obrtest::columns<QString, QColor, QString, int, ConsoleCall>(
            {"line", "colour", "title", "icon", "call"});
        const auto row = [](const char* name, const char* line, QColor colour, const char* title, int icon,
                            ConsoleCall call) {
            QTest::newRow(name) << line << colour << title << icon << call;
        };
        row("message", "plain", Qt::red, "", 0, [](AppConsole& c) { c.message("plain", Qt::red); });
        // The slots for work on another thread: the type picks the kind of line.
        row("thread warning", " ** Warning:   w", Qt::black, "", 0,
            [](AppConsole& c) { c.ProcessThreadMsg("w", 1, Qt::blue); });
        row("error box", " *** Error:   disk full", Qt::black, "Error", QMessageBox::Critical,
            [](AppConsole& c) { c.error("disk full", true); });
        row("information: a warning box", " ** Information:   fyi", Qt::black, "Information",
            QMessageBox::Warning, [](AppConsole& c) { c.information("fyi", true); });
    }
    void prefixesColoursAndPopups()
    {
        const auto [line, colour, title, icon, call] =
            obrtest::fetch<QString, QColor, QString, int, ConsoleCall>("line", "colour", "title", "icon",
                                                                       "call");
        application()->detailLevel = 3;
        QTextEdit widget;
        AppConsole console(application(), &widget, QString());
        console.message(QStringLiteral("before"), Qt::green);
        ModalDialogCloser closer;
        call(console);
        QCOMPARE(lines(widget), (QStringList{QStringLiteral("before"), line}));
        QCOMPARE(lastLineColour(widget), colour);
        QCOMPARE(closer.count(), title.isEmpty() ? 0 : 1);
        if (!title.isEmpty()) {
            QCOMPARE(closer.seen().first().title, title);
            QCOMPARE(closer.seen().first().icon, icon);
        }
    }

    // No name, no log; a log that cannot be opened is said once and not made.
    void logFileMissing()
    {
        QCOMPARE(AppConsole(application(), nullptr, QString()).logFileName(), QString());
        QTextEdit widget;
        ModalDialogCloser closer;
        AppConsole console(application(), &widget, scratch.filePath(QStringLiteral("missing/run.txt")));
        QCOMPARE(closer.titles(), QStringList{"Error"});
        QVERIFY(!QFileInfo::exists(scratch.filePath(QStringLiteral("missing/run.console"))));
    }

    void progressDialogEveryThousand()
    {
        AppConsole console(application(), nullptr, QString());
        console.initProgress(QStringLiteral("Reading"), 5000, true);
        QVERIFY(console.updateProgress(2000) && console.updateProgress(2999));
        QCOMPARE(progressDialog()->value(), 2000);

        // Abort is seen at the next thousand.
        console.initProgress(QStringLiteral("Copy"), 10000, true);
        progressDialog()->findChild<QPushButton*>()->click();
        QVERIFY(console.updateProgress(1500));
        QVERIFY(!console.updateProgress(2000));
        // A cancel just before the maximum is not forgotten when the maximum resets the dialog.
        console.initProgress(QStringLiteral("Copy"), 3000, true);
        QVERIFY(console.updateProgress(2000));
        progressDialog()->findChild<QPushButton*>()->click();
        QVERIFY(!console.updateProgress(3000));
    }

    void shownLines_data()
    {
        obrtest::columns<int, QString, bool>({"counter", "text", "shown"});
        const auto row = [](int counter, bool shown, const char* text = "trace 12 copied") {
            QTest::addRow("%d: %s", counter, text) << counter << text << shown;
        };
        // The first 50 lines, then every 10th, 100th and 1,000th up to 50,000; none after.
        for (const auto& [counter, shown] : {std::pair{50, true},
                                             {51, false},
                                             {990, true},
                                             {1010, false},
                                             {9900, true},
                                             {10100, false},
                                             {49000, true},
                                             {50000, false}})
            row(counter, shown);
        // Lines with a keyword always pass, the keyword case-sensitive.
        for (const char* text : {"a Warning here", "read error", "copy complete", "Scan of tape", "TCP link"})
            row(60000, true, text);
        for (const char* text : {"scan of tape", "ERROR"})
            row(51, false, text);
    }
    void shownLines()
    {
        const auto [counter, text, shown] = obrtest::fetch<int, QString, bool>("counter", "text", "shown");
        QCOMPARE(consoleShowsLine(counter, text, ConsoleSettings()), shown);
    }

private:
    QTemporaryDir scratch;
};

OBR_TEST_MAIN_WITH_APP(TestAppConsole, IoApp)
#include "tst_app_console.moc"
