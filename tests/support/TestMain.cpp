#include "tests/support/TestMain.h"

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

} // namespace obrtest
