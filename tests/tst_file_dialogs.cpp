#include "analyzers/ui/SegyAnalysis.h"
#include "base/WorkingRoot.h"
#include "base/ui/FileDialogs.h"
#include "copy/ui/SegyCopy.h"
#include "copy/ui/SegyMerge.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/TestMain.h"

#include <QFileDialog>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

// Where the file questions start, and what they offer.
class TestFileDialogs : public QObject {
    Q_OBJECT
private slots:
    void init() { QSettings().remove(QStringLiteral("FileDialogs")); }
    void cleanup() { FileDialogs::answerWith({}); }

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
};

OBR_TEST_MAIN(TestFileDialogs)
#include "tst_file_dialogs.moc"
