#include "sps/SpsKind.h"

namespace SpsKinds {

QChar recordLetter(SpsKind kind)
{
    switch (kind) {
    case SpsKind::Source:
        return QLatin1Char('S');
    case SpsKind::Receiver:
        return QLatin1Char('R');
    case SpsKind::Relation:
        break;
    }
    return QLatin1Char('X');
}

bool fromLetter(const QString& letter, SpsKind* kind)
{
    for (SpsKind candidate : {SpsKind::Source, SpsKind::Receiver, SpsKind::Relation}) {
        if (letter.compare(QString(recordLetter(candidate)), Qt::CaseInsensitive) == 0) {
            *kind = candidate;
            return true;
        }
    }
    return false;
}

QString defaultFormatName(SpsKind kind)
{
    return recordLetter(kind) + QStringLiteral("PS Default Format");
}

QString noun(SpsKind kind)
{
    switch (kind) {
    case SpsKind::Source:
        return QStringLiteral("source");
    case SpsKind::Receiver:
        return QStringLiteral("receiver");
    case SpsKind::Relation:
        break;
    }
    return QStringLiteral("relation");
}

} // namespace SpsKinds
