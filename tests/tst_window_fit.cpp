#include "analyzers/ui/SegdAnalyzer.h"
#include "analyzers/ui/SegyAnalysis.h"
#include "base/WorkingRoot.h"
#include "base/ui/FileDialogs.h"
#include "base/ui/OnlineDocumentation.h"
#include "base/ui/ScreenFit.h"
#include "copy/ui/SegdCopy.h"
#include "copy/ui/SegyCopy.h"
#include "copy/ui/SegyDirCopy.h"
#include "copy/ui/SegyMerge.h"
#include "copy/ui/UnfmtCopy.h"
#include "devices/ui/TapeSelectDlg.h"
#include "seismic/SegyFormat.h"
#include "seismic/ui/SegyFormatViewer.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/TestMain.h"

#include <QFileDialog>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <functional>
#include <memory>

using Factory = std::function<QWidget*()>;
Q_DECLARE_METATYPE(Factory)

// Every window opens within the free area of its screen (offscreen: 800 x 600), and the file
// questions of the windows start where the user was and offer the same filters.
class TestWindowFit : public QObject {
    Q_OBJECT
private slots:
    void init() { QSettings().remove(QStringLiteral("FileDialogs")); }
    void cleanup() { FileDialogs::answerWith({}); }

    void everyWindowFitsTheScreen_data()
    {
        QTest::addColumn<Factory>("make");
        QTest::newRow("SEG-Y analyzer") << Factory([this] {
            return new SegyAnalysis(&console, dir.path(), nullptr, dir.filePath("none.xml"), QString());
        });
        QTest::newRow("SEG-D analyzer")
            << Factory([this] { return new SegdAnalyzer(&console, nullptr, dir.path()); });
        QTest::newRow("format viewer")
            << Factory([this] { return new SegyFormatViewer(1, 0, &format, nullptr); });
        QTest::newRow("single copy") << Factory(
            [this] { return new SegyCopy(dir.path(), &console, nullptr, nullptr); });
        QTest::newRow("unformatted copy")
            << Factory([this] { return new UnfmtCopy(dir.path(), &console, nullptr, nullptr); });
        QTest::newRow("multi-file copy")
            << Factory([this] { return new SegyDirCopy(dir.path(), false, 21, &console, nullptr, nullptr); });
        QTest::newRow("SEG-Y to SEG-D copy")
            << Factory([this] { return new SegyDirCopy(dir.path(), true, 21, &console, nullptr, nullptr); });
        QTest::newRow("SEG-D copy") << Factory(
            [this] { return new SegdCopy(dir.path(), &console, nullptr, nullptr); });
        QTest::newRow("merge") << Factory([this] { return new SegyMerge(&console, nullptr, dir.path()); });
        QTest::newRow("tape select") << Factory(
            [] { return new TapeSelectDlg(nullptr, nullptr, nullptr, 0); });
        QTest::newRow("help") << Factory([] { return OnlineDocumentation::showHelp("index.html"); });
    }
    void everyWindowFitsTheScreen()
    {
        QFETCH(Factory, make);
        const std::unique_ptr<QWidget> window(make());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QRect frame = window->frameGeometry();
        QVERIFY2(window->screen()->availableGeometry().contains(frame),
                 qPrintable(QStringLiteral("%1 x %2").arg(frame.width()).arg(frame.height())));
    }

    void aSmallWindowKeepsItsSize()
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(new QWidget);
        window.resize(300, 200);
        ScreenFit::fitToScreen(&window);
        QCOMPARE(window.size(), QSize(300, 200));
        // Too large a minimum gives way; the window still opens at the size of the screen.
        window.setMinimumSize(3000, 2000);
        window.resize(3000, 2000);
        ScreenFit::fitToScreen(&window);
        const QSize available = window.screen()->availableGeometry().size();
        QVERIFY(window.width() <= available.width() && window.height() <= available.height());
        QVERIFY(window.width() > available.width() / 2 && window.height() > available.height() / 2);
    }

    void startInTheLastFolderUsed()
    {
        const QString suggested = dir.filePath(QStringLiteral("suggested"));
        const QString chosen = dir.filePath(QStringLiteral("chosen"));
        QVERIFY(QDir().mkpath(suggested) && QDir().mkpath(chosen));
        QStringList asked;
        FileDialogs::answerWith([&](const QString&, const QString& directory) {
            asked << directory;
            return chosen + QStringLiteral("/line.sgy");
        });
        const QString filter = FileDialogs::segyFilter;
        QCOMPARE(FileDialogs::openFileName(nullptr, QString(), suggested, filter), chosen + "/line.sgy");
        // Kept in the settings: the next question of the kind starts where the user was, the
        // save question with its name ready.
        QCOMPARE(QSettings().childGroups(), QStringList{"FileDialogs"});
        static_cast<void>(FileDialogs::openFileName(nullptr, QString(), suggested, filter));
        static_cast<void>(FileDialogs::saveFileName(nullptr, QString(), suggested, filter, "out.sgy"));
        // Another kind of file has a folder of its own.
        static_cast<void>(FileDialogs::openFileName(nullptr, QString(), suggested, "Formats (*.xml)"));
        QCOMPARE(asked, QStringList({suggested, chosen, chosen + "/out.sgy", suggested}));
    }

    void neverAMissingFolder()
    {
        QStringList asked;
        FileDialogs::answerWith([&](const QString&, const QString& directory) {
            asked << directory;
            return QString();
        });
        const QString missing = dir.filePath(QStringLiteral("Project/Seismic"));
        static_cast<void>(FileDialogs::openFileName(nullptr, QString(), missing, FileDialogs::segyFilter));
        static_cast<void>(FileDialogs::saveFileName(nullptr, QString(), missing, FileDialogs::segyFilter));
        static_cast<void>(FileDialogs::existingFolder(nullptr, QString(), missing));
        // A cancelled question changes nothing.
        QCOMPARE(QSettings().childGroups(), QStringList());
        const QString root = QFileInfo(WorkingRoot::path()).isDir() ? WorkingRoot::path() : QDir::homePath();
        QCOMPARE(asked, QStringList({root, root, root}));
    }

    void everyToolOffersTheSameFilters()
    {
        RecordingConsole console;
        SegyAnalysis analyzer(&console, dir.path(), nullptr, dir.filePath("none.xml"), QString());
        SegyCopy copy(dir.path(), &console, nullptr, nullptr);
        SegyMerge merge(&console, nullptr, dir.path());
        const QStringList expected{"SEG-Y files (*.sgy *.segy *.SGY)", "All files (*)"};
        for (QPushButton* browse :
             {analyzer.findChild<QPushButton*>("FileBrowse"), copy.findChild<QPushButton*>("InputBrowse"),
              copy.findChild<QPushButton*>("OutputBrowse"), merge.findChild<QPushButton*>("FileBrowse")}) {
            ModalDialogCloser closer;
            QStringList offered;
            QString folder;
            closer.actOnNext([&](QWidget* modal) {
                auto* chooser = qobject_cast<QFileDialog*>(modal);
                if (chooser) {
                    offered = chooser->nameFilters();
                    folder = chooser->directory().absolutePath();
                }
                static_cast<QDialog*>(modal)->reject();
            });
            browse->click();
            QCOMPARE(offered, expected);
            QCOMPARE(folder, dir.path());
        }
    }

private:
    QTemporaryDir dir;
    RecordingConsole console;
    SegyFormat format;
};

OBR_TEST_MAIN(TestWindowFit)
#include "tst_window_fit.moc"
