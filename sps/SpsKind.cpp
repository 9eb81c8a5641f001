#include "sps/SpsKind.h"

#include <array>

namespace {

using Labels = std::array<const char*, 15>;

const Labels sourceLabels{"Point ID",      "Line",           "Location",      "Index",
                          "Code",          "Source static",  "Source depth",  "Source datum",
                          "Source uphole", "Water depth",    "Easting",       "Northing",
                          "Elevation",     "Recording date", "Recording time"};
const Labels receiverLabels{"Point ID",           "Receiver line",   "Receiver location", "Receiver index",
                            "Receiver code",      "Receiver static", "Receiver depth",    "Receiver datum",
                            "Receiver uphole",    "Water depth",     "Receiver easting",  "Receiver northing",
                            "Receiver elevation", "Recording date",  "Recording time"};
const Labels relationLabels{"Point ID",        "Tape number", "Record number",   "Record increment",
                            "Instrument code", "Source line", "Source location", "Source index",
                            "From channel",    "To channel",  "Channel incr.",   "Receiver line",
                            "From receiver",   "To receiver", "Receiver index"};

} // namespace

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

namespace SpsKinds {

QString fieldLabel(SpsKind kind, int field)
{
    const Labels& labels = kind == SpsKind::Source     ? sourceLabels
                           : kind == SpsKind::Receiver ? receiverLabels
                                                       : relationLabels;
    return QString::fromLatin1(labels.at(size_t(field)));
}

} // namespace SpsKinds
