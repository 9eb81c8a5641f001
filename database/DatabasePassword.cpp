#include "database/DatabasePassword.h"

#include <QSettings>

namespace DatabasePassword {

QString configured()
{
    const QSettings settings(QStringLiteral("Corvane"), QStringLiteral("Trevalo"));
    return settings.value(QStringLiteral("Database/Password")).toString();
}

QString suiteDefault()
{
    return QStringLiteral("kelpforest");
}

} // namespace DatabasePassword
