#include "tests/support/SpsFixture.h"

namespace spstest {

QString describe(const SpsLayout& layout)
{
    QStringList parts{QStringLiteral("first %1").arg(layout.firstLine())};
    for (int field = 0; field < SpsLayout::fieldCount; ++field) {
        const SpsColumns columns = layout.columns(field);
        parts << QStringLiteral("%1 %2-%3 %4")
                     .arg(layout.fieldName(field))
                     .arg(columns.start)
                     .arg(columns.end)
                     .arg(layout.load(field) ? '+' : '-');
    }
    return parts.join(QStringLiteral("; "));
}

QByteArray formatDocument(const QString& root, const QString& body)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<%1 Version=\"2.0.1\" Name=\"x\" "
                          "Location=\"Survey\" Description=\"\">\n%2\n</%1>\n")
        .arg(root, body)
        .toUtf8();
}

QByteArray text(const QStringList& lines)
{
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toLatin1();
}

} // namespace spstest
