#include "analyzers/ui/SegdAnalyzer.h"
#include "analyzers/ui/SegyAnalysis.h"
#include "copy/ui/SegdCopy.h"
#include "copy/ui/SegyDirCopy.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/TestMain.h"

#include <QScreen>
#include <QTemporaryDir>
#include <functional>
#include <memory>

using Factory = std::function<QWidget*()>;
Q_DECLARE_METATYPE(Factory)

// Every window opens within the free area of its screen (offscreen: 800 x 600).
class TestWindowFit : public QObject {
    Q_OBJECT
private slots:
    void everyWindowFitsTheScreen_data()
    {
        QTest::addColumn<Factory>("make");
        QTest::newRow("SEG-Y analyzer") << Factory([this] {
            return new SegyAnalysis(&console, dir.path(), nullptr, dir.filePath("none.xml"), QString());
        });
        QTest::newRow("SEG-D analyzer")
            << Factory([this] { return new SegdAnalyzer(&console, nullptr, dir.path()); });
        QTest::newRow("multi-file copy")
            << Factory([this] { return new SegyDirCopy(dir.path(), false, 21, &console, nullptr, nullptr); });
        QTest::newRow("SEG-Y to SEG-D copy")
            << Factory([this] { return new SegyDirCopy(dir.path(), true, 21, &console, nullptr, nullptr); });
        QTest::newRow("SEG-D copy") << Factory(
            [this] { return new SegdCopy(dir.path(), &console, nullptr, nullptr); });
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

private:
    QTemporaryDir dir;
    RecordingConsole console;
};

OBR_TEST_MAIN(TestWindowFit)
#include "tst_window_fit.moc"
