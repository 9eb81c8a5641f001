#pragma once

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace obrtest {

// Points HOME and the XDG folders at a fresh temporary directory before Qt reads them,
// so no test ever touches the real home, documents or settings of the machine.
class IsolatedHome {
public:
    IsolatedHome();
    QString path() const { return dir.path(); }

private:
    QTemporaryDir dir;
};

// The folder of real files written by other programs, or an empty string when absent.
QString realDataDir();
// A data table column "path" with one row per real file of a folder (such as "segy") matching a
// name pattern, or a single row of an empty path when there are none: the test then skips with
// OBR_REQUIRE_REALDATA.
void realFileRows(const QString& folder, const QString& pattern);

} // namespace obrtest

// Skips the current test with a message when the real sample files are not beside the repository.
#define OBR_REQUIRE_REALDATA()                                                                               \
    do {                                                                                                     \
        if (obrtest::realDataDir().isEmpty())                                                                \
            QSKIP("../shared/realdata is absent: real-file checks skipped");                                 \
    } while (false)

// QTEST_MAIN with an isolated home and an application of the given class (constructed from argc
// and argv), for tests that need the program's own application object.
#define OBR_TEST_MAIN_WITH_APP(TestObject, ApplicationClass)                                                 \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        obrtest::IsolatedHome home;                                                                          \
        QApplication::setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        ApplicationClass app(argc, argv);                                                                    \
        TestObject tc;                                                                                       \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }

// QTEST_MAIN with an isolated home; the application is a QApplication so widget tests work offscreen.
#define OBR_TEST_MAIN(TestObject) OBR_TEST_MAIN_WITH_APP(TestObject, QApplication)
