#include "app/ui/AppConsole.h"
#include "app/ui/IoApp.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/TestMain.h"

#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextEdit>
#include <climits>
#include <functional>

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
    void init();
    void thinningThroughWidget_data();
    void thinningThroughWidget();
    void longJobThinnedButFullyLogged();
    void counterSaturates();
    void prefixesAndColours_data();
    void prefixesAndColours();
    void linesLookingLikeHtmlStayText();
    void detailLevels_data();
    void detailLevels();
    void logFileNaming_data();
    void logFileNaming();
    void logThatCannotBeOpened();
    void popups_data();
    void popups();
    void withoutTextWidgetEveryLineIsOneBox();
    void progressDialogEveryThousand();
    void progressCancelOnlyAtThousands();
    void cancelJustBeforeTheMaximumIsKept();
    void overwriteModeReplacesLastLine();
    void threadSlots();

private:
    QTemporaryDir scratch;
};

void TestAppConsole::init()
{
    AppConsole::setMessageCounter(0);
    application()->intervalFilter = false;
    application()->messageInterval = 0;
    application()->detailLevel = 1;
    application()->applicationTitle = QStringLiteral("OBR IO Utility");
}

void TestAppConsole::thinningThroughWidget_data()
{
    QTest::addColumn<int>("counter");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("shown");
    QTest::newRow("50th line (counter 49)") << 49 << "trace 49" << true;
    QTest::newRow("51st line (counter 50)") << 50 << "trace 50" << true;
    QTest::newRow("52nd line (counter 51)") << 51 << "trace 51" << false;
    QTest::newRow("Warning at 51") << 51 << "a Warning" << true;
    QTest::newRow("error at 51") << 51 << "read error" << true;
    QTest::newRow("counter 999") << 999 << "trace" << false;
    QTest::newRow("counter 1000") << 1000 << "trace" << true;
    QTest::newRow("counter 49999") << 49999 << "trace" << false;
    QTest::newRow("counter 50000") << 50000 << "trace" << false;
    QTest::newRow("complete at 50000") << 50000 << "copy complete" << true;
}

void TestAppConsole::thinningThroughWidget()
{
    QFETCH(int, counter);
    QFETCH(QString, text);
    QFETCH(bool, shown);
    QTextEdit widget;
    AppConsole console(application(), &widget, QString());
    console.message(QStringLiteral("first"), Qt::black);
    AppConsole::setMessageCounter(counter);
    console.message(text, Qt::blue);
    QCOMPARE(lines(widget).last() == text, shown);
    QCOMPARE(AppConsole::messageCounter(), counter + 1);
}

void TestAppConsole::longJobThinnedButFullyLogged()
{
    QTextEdit widget;
    const QString logName = scratch.filePath(QStringLiteral("job.txt"));
    {
        AppConsole console(application(), &widget, logName);
        for (int i = 0; i < 50010; ++i)
            console.message(QStringLiteral("trace %1").arg(i), Qt::black);
    }
    // 50 + every 10th to 999 + every 100th to 9999 + every 1000th to 49999.
    const QStringList shown = lines(widget);
    QCOMPARE(shown.size(), 50 + 95 + 90 + 40);
    QCOMPARE(shown.at(50), QStringLiteral("trace 50"));
    QCOMPARE(shown.at(51), QStringLiteral("trace 60"));
    QCOMPARE(shown.last(), QStringLiteral("trace 49000"));
    const QStringList logged = fileLines(scratch.filePath(QStringLiteral("job.console")));
    QCOMPARE(logged.size(), 50010);
    QCOMPARE(logged.last(), QStringLiteral("trace 50009"));
}

void TestAppConsole::counterSaturates()
{
    QTextEdit widget;
    AppConsole console(application(), &widget, QString());
    AppConsole::setMessageCounter(INT_MAX - 1);
    console.message(QStringLiteral("a"), Qt::black);
    console.message(QStringLiteral("b"), Qt::black);
    console.message(QStringLiteral("an error"), Qt::black);
    QCOMPARE(AppConsole::messageCounter(), INT_MAX);
    QCOMPARE(lines(widget), QStringList{QStringLiteral("an error")});
}

void TestAppConsole::prefixesAndColours_data()
{
    QTest::addColumn<ConsoleCall>("call");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("message") << ConsoleCall([](AppConsole& c) { c.message("plain", Qt::red); }) << "plain"
                             << QColor(Qt::red);
    QTest::newRow("error") << ConsoleCall([](AppConsole& c) { c.error("bad", false); }) << " *** Error:   bad"
                           << QColor(Qt::black);
    QTest::newRow("warning") << ConsoleCall([](AppConsole& c) { c.warning("odd", false); })
                             << " ** Warning:   odd" << QColor(Qt::black);
    QTest::newRow("information") << ConsoleCall([](AppConsole& c) { c.information("note", false); })
                                 << " ** Information:   note" << QColor(Qt::black);
    QTest::newRow("debug") << ConsoleCall([](AppConsole& c) { c.debug("dbg"); }) << "  * Debug:   dbg"
                           << QColor(Qt::black);
    QTest::newRow("low level") << ConsoleCall([](AppConsole& c) { c.lowLevel("ll"); }) << "  * LowLevel:   ll"
                               << QColor(Qt::black);
}

void TestAppConsole::prefixesAndColours()
{
    QFETCH(ConsoleCall, call);
    QFETCH(QString, line);
    QFETCH(QColor, colour);
    application()->detailLevel = 3;
    QTextEdit widget;
    AppConsole console(application(), &widget, QString());
    console.message(QStringLiteral("before"), Qt::green);
    call(console);
    QCOMPARE(lines(widget), (QStringList{QStringLiteral("before"), line}));
    QCOMPARE(lastLineColour(widget), colour);
}

void TestAppConsole::linesLookingLikeHtmlStayText()
{
    QTextEdit widget;
    AppConsole console(application(), &widget, QString());
    console.message(QStringLiteral("<b>C01 CLIENT</b> <i>x</i>"), Qt::black);
    QCOMPARE(lines(widget), QStringList{QStringLiteral("<b>C01 CLIENT</b> <i>x</i>")});
}

void TestAppConsole::detailLevels_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("level 0") << 0 << QStringList();
    QTest::newRow("level 1") << 1 << QStringList();
    QTest::newRow("level 2") << 2 << QStringList{"  * Debug:   d"};
    QTest::newRow("level 3") << 3 << QStringList{"  * Debug:   d", "  * LowLevel:   l"};
    QTest::newRow("level 4") << 4 << QStringList();
}

void TestAppConsole::detailLevels()
{
    QFETCH(int, level);
    QFETCH(QStringList, expected);
    application()->detailLevel = level;
    QTextEdit widget;
    AppConsole console(application(), &widget, QString());
    QCOMPARE(console.detailLevel(), level);
    console.debug(QStringLiteral("d"));
    console.lowLevel(QStringLiteral("l"));
    QCOMPARE(lines(widget), expected);
    QCOMPARE(console.debugEnabled(), expected.size() >= 1);
    QCOMPARE(console.lowLevelEnabled(), expected.size() == 2);
}

void TestAppConsole::logFileNaming_data()
{
    QTest::addColumn<QString>("logName");
    QTest::addColumn<QString>("logFile");
    QTest::newRow("run.txt") << "run.txt"
                             << "run.console";
    QTest::newRow("run") << "run"
                         << "run.console";
    QTest::newRow("two dots") << "run.a.b"
                              << "run.a.console";
    QTest::newRow("dot in a directory only") << "dir.d/run"
                                             << "dir.d/run.console";
    QTest::newRow("empty: no log") << ""
                                   << "";
}

void TestAppConsole::logFileNaming()
{
    QFETCH(QString, logName);
    QFETCH(QString, logFile);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("dir.d")));
    const QString prefix = dir.path() + QLatin1Char('/');
    QTextEdit widget;
    {
        AppConsole console(application(), &widget, logName.isEmpty() ? QString() : prefix + logName);
        QCOMPARE(console.logFileName(), logFile.isEmpty() ? QString() : prefix + logFile);
        console.message(QStringLiteral("one"), Qt::black);
        console.warning(QStringLiteral("two"), false);
    }
    const QStringList written =
        QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot) +
        QDir(prefix + QStringLiteral("dir.d")).entryList(QDir::Files | QDir::NoDotAndDotDot);
    if (logFile.isEmpty()) {
        QVERIFY2(written.isEmpty(), qPrintable(written.join(',')));
        return;
    }
    QCOMPARE(written, QStringList{QFileInfo(logFile).fileName()});
    QCOMPARE(fileLines(prefix + logFile), (QStringList{"one", " ** Warning:   two"}));
}

void TestAppConsole::logThatCannotBeOpened()
{
    const QString logName = scratch.filePath(QStringLiteral("missing/run.txt"));
    const QString logFile = scratch.filePath(QStringLiteral("missing/run.console"));
    QTextEdit widget;
    ModalDialogCloser closer;
    AppConsole console(application(), &widget, logName);
    QCOMPARE(closer.count(), 1);
    QCOMPARE(closer.seen().first().title, QStringLiteral("Error"));
    QCOMPARE(lines(widget), QStringList{" *** Error:   error opening file: " + logFile});
    console.message(QStringLiteral("still works"), Qt::black);
    QCOMPARE(lines(widget).size(), 2);
    QVERIFY(!QFileInfo::exists(logFile));
}

void TestAppConsole::popups_data()
{
    QTest::addColumn<ConsoleCall>("call");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("text");
    QTest::newRow("error") << ConsoleCall([](AppConsole& c) { c.error("disk full", true); }) << "Error"
                           << int(QMessageBox::Critical) << " *** Error:   disk full";
    QTest::newRow("warning") << ConsoleCall([](AppConsole& c) { c.warning("odd", true); }) << "Warning"
                             << int(QMessageBox::Warning) << " ** Warning:   odd";
    QTest::newRow("information: a warning box")
        << ConsoleCall([](AppConsole& c) { c.information("fyi", true); }) << "Information"
        << int(QMessageBox::Warning) << " ** Information:   fyi";
    QTest::newRow("no pop-up") << ConsoleCall([](AppConsole& c) { c.error("quiet", false); }) << "" << 0
                               << " *** Error:   quiet";
}

void TestAppConsole::popups()
{
    QFETCH(ConsoleCall, call);
    QFETCH(QString, title);
    QFETCH(int, icon);
    QFETCH(QString, text);
    QTextEdit widget;
    AppConsole console(application(), &widget, QString());
    ModalDialogCloser closer;
    call(console);
    QCOMPARE(lines(widget), QStringList{text});
    QCOMPARE(lastLineColour(widget), QColor(Qt::black));
    QCOMPARE(closer.count(), title.isEmpty() ? 0 : 1);
    if (!title.isEmpty()) {
        QCOMPARE(closer.seen().first().title, title);
        QCOMPARE(closer.seen().first().text, text);
        QCOMPARE(closer.seen().first().icon, icon);
    }
}

void TestAppConsole::withoutTextWidgetEveryLineIsOneBox()
{
    const QString logName = scratch.filePath(QStringLiteral("boxes"));
    AppConsole console(application(), nullptr, logName);
    ModalDialogCloser closer;
    console.error(QStringLiteral("no drive"), true);
    console.message(QStringLiteral("hello"), Qt::red);
    QCOMPARE(closer.titles(), (QStringList{"OBR IO Utility", "OBR IO Utility"}));
    QCOMPARE(closer.seen().at(0).text, QStringLiteral(" *** Error:   no drive"));
    QCOMPARE(closer.seen().at(0).icon, int(QMessageBox::Information));
    QCOMPARE(closer.seen().at(1).text, QStringLiteral("hello"));
    QCOMPARE(AppConsole::messageCounter(), 0);
    QCOMPARE(fileLines(scratch.filePath(QStringLiteral("boxes.console"))),
             (QStringList{" *** Error:   no drive", "hello"}));
}

void TestAppConsole::progressDialogEveryThousand()
{
    AppConsole console(application(), nullptr, QString());
    QSignalSpy inits(&console, &AppConsole::initializeProgressBar);
    QSignalSpy updates(&console, &AppConsole::updateProgressBar);
    QSignalSpy clears(&console, &AppConsole::clearProgressBar);
    console.initProgress(QStringLiteral("Reading"), 5000, true);
    QPointer<QProgressDialog> dialog = progressDialog();
    QVERIFY(dialog);
    QCOMPARE(dialog->labelText(), QStringLiteral("Reading...") + QString(41, QLatin1Char(' ')));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Trevalo Data Progress Dialog"));
    QCOMPARE(dialog->maximum(), 5000);
    QCOMPARE(dialog->windowModality(), Qt::WindowModal);
    QCOMPARE(dialog->findChild<QPushButton*>()->text(), QStringLiteral("Abort"));
    QCOMPARE(inits.size(), 1);
    QCOMPARE(inits.first().at(0).toString(), QStringLiteral("Reading"));

    QVERIFY(console.updateProgress(2000));
    QCOMPARE(dialog->value(), 2000);
    QVERIFY(console.updateProgress(2999));
    QCOMPARE(dialog->value(), 2000);
    QCOMPARE(updates.size(), 2);
    QCOMPARE(updates.last().at(0).toInt(), 2999);
    console.clearProgress();
    QCOMPARE(clears.size(), 1);

    // A new run replaces the dialog; a run without dialog leaves it alone.
    console.initProgress(QStringLiteral("Again"), 9000, true);
    QVERIFY(dialog.isNull());
    dialog = progressDialog();
    console.initProgress(QStringLiteral("Quiet"), 9000, false);
    QVERIFY(console.updateProgress(3000));
    QVERIFY(dialog->value() != 3000);
}

void TestAppConsole::progressCancelOnlyAtThousands()
{
    AppConsole console(application(), nullptr, QString());
    console.initProgress(QStringLiteral("Copy"), 10000, true);
    QSignalSpy updates(&console, &AppConsole::updateProgressBar);
    QProgressDialog* dialog = progressDialog();
    QVERIFY(dialog);
    dialog->findChild<QPushButton*>()->click();
    QVERIFY(console.updateProgress(999));
    QVERIFY(console.updateProgress(1999));
    QCOMPARE(updates.size(), 2);
    QVERIFY(!console.updateProgress(2000));
    QCOMPARE(updates.size(), 2);
}

void TestAppConsole::cancelJustBeforeTheMaximumIsKept()
{
    AppConsole console(application(), nullptr, QString());
    console.initProgress(QStringLiteral("Copy"), 3000, true);
    QProgressDialog* dialog = progressDialog();
    QVERIFY(console.updateProgress(2000));
    dialog->findChild<QPushButton*>()->click();
    QVERIFY(!console.updateProgress(3000));
}

void TestAppConsole::overwriteModeReplacesLastLine()
{
    QTextEdit widget;
    widget.setReadOnly(true);
    AppConsole console(application(), &widget, QString());
    console.message(QStringLiteral("keep"), Qt::black);
    console.message(QStringLiteral("progress 1"), Qt::black);
    console.ProcessThreadMsgMode(true);
    console.message(QStringLiteral("progress 2"), Qt::black);
    console.message(QStringLiteral("progress 3"), Qt::black);
    console.ProcessThreadMsgMode(false);
    console.message(QStringLiteral("done"), Qt::black);
    QCOMPARE(lines(widget), (QStringList{"keep", "progress 3", "done"}));
}

void TestAppConsole::threadSlots()
{
    application()->detailLevel = 3;
    QTextEdit widget;
    AppConsole console(application(), &widget, QString());
    console.ProcessThreadMsg(QStringLiteral("m"), 0, Qt::blue);
    console.ProcessThreadMsg(QStringLiteral("w"), 1, Qt::blue);
    console.ProcessThreadMsg(QStringLiteral("e"), 2, Qt::blue);
    console.ProcessThreadMsg(QStringLiteral("d"), 3, Qt::blue);
    console.ProcessThreadMsg(QStringLiteral("l"), 7, Qt::blue);
    console.ProcessThreadDlgMsg(QStringLiteral("E"), 2);
    console.ProcessThreadDlgMsg(QStringLiteral("W"), 0);
    QCOMPARE(lines(widget), (QStringList{"m", " ** Warning:   w", " *** Error:   e", "  * Debug:   d",
                                         "  * LowLevel:   l", " *** Error:   E", " ** Warning:   W"}));

    ModalDialogCloser closer;
    console.ProcessThreadStepDlgMsg(QStringLiteral("Step 3"), QStringLiteral("gain out of range"));
    QCOMPARE(closer.count(), 1);
    QCOMPARE(closer.seen().first().text, QStringLiteral("Step 3 - Parameter error!"));
    QCOMPARE(closer.seen().first().informativeText, QStringLiteral("gain out of range"));

    QSignalSpy inits(&console, &AppConsole::initializeProgressBar);
    QSignalSpy updates(&console, &AppConsole::updateProgressBar);
    QSignalSpy clears(&console, &AppConsole::clearProgressBar);
    console.ProcessInitProgressBar(QStringLiteral("t"), 7);
    console.ProcessUpdateProgressBar(3);
    console.ProcessClearProgressBar();
    QCOMPARE(inits.size(), 1);
    QCOMPARE(updates.first().at(0).toInt(), 3);
    QCOMPARE(clears.size(), 1);
    QVERIFY(!progressDialog());
}

OBR_TEST_MAIN_WITH_APP(TestAppConsole, IoApp)
#include "tst_app_console.moc"
