#include "analyzers/ui/SegyFieldRows.h"

#include "seismic/SegyFieldRanges.h"

#include <QComboBox>
#include <QHash>
#include <QLineEdit>

namespace SegyFieldRows {

QLineEdit* edit(const QObject& form, int row, const char* suffix)
{
    // The scalar rows name their range editors apart from their other controls.
    static const QHash<QString, QString> rangeNames{
        {QStringLiteral("Coordinate_Scalar"), QStringLiteral("CScalar")},
        {QStringLiteral("Elevation_Scalar"), QStringLiteral("EScalar")},
        {QStringLiteral("Time_Scalar"), QStringLiteral("TScalar")}};
    const QString prefix = QString::fromLatin1(SegyFieldRanges::fields()[size_t(row)].prefix);
    const QString name =
        QLatin1String(suffix).startsWith(QLatin1String("_M")) ? rangeNames.value(prefix, prefix) : prefix;
    return form.findChild<QLineEdit*>(name + QLatin1String(suffix));
}

QComboBox* type(const QObject& form, int row)
{
    return form.findChild<QComboBox*>(QString::fromLatin1(SegyFieldRanges::fields()[size_t(row)].prefix) +
                                      QStringLiteral("_Type"));
}

} // namespace SegyFieldRows
