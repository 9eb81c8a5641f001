#include "tests/support/TestMain.h"

#include <QDir>
#include <QFileInfo>

namespace obrtest {

IsolatedHome::IsolatedHome()
{
    const QByteArray home = dir.path().toLocal8Bit();
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", home + "/.config");
    qputenv("XDG_DATA_HOME", home + "/.local/share");
    qputenv("XDG_CACHE_HOME", home + "/.cache");
    qunsetenv("XDG_DOCUMENTS_DIR");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

QString realDataDir()
{
    const QFileInfo info(QStringLiteral(OBR_REALDATA_DIR));
    return info.isDir() ? info.canonicalFilePath() : QString();
}

void realFileRows(const QString& folder, const QString& pattern)
{
    QTest::addColumn<QString>("path");
    const QDir dir(realDataDir() + QLatin1Char('/') + folder);
    const QStringList files =
        realDataDir().isEmpty() ? QStringList() : dir.entryList({pattern}, QDir::Files, QDir::Name);
    for (const QString& file : files)
        QTest::newRow(qPrintable(file)) << dir.filePath(file);
    if (files.isEmpty())
        QTest::newRow("no real files") << QString();
}

} // namespace obrtest
