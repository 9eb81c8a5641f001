#pragma once

#include <QStringList>

// The field parts of the analyzer forms' object names, for fields 2 to 15 of the layout.
namespace SpsFormParts {

inline QStringList point()
{
    return {QStringLiteral("Line"),    QStringLiteral("Loc"),      QStringLiteral("Index"),
            QStringLiteral("Code"),    QStringLiteral("Static"),   QStringLiteral("Depth"),
            QStringLiteral("Datum"),   QStringLiteral("Uphole"),   QStringLiteral("WaterDepth"),
            QStringLiteral("Easting"), QStringLiteral("Northing"), QStringLiteral("Elev"),
            QStringLiteral("Date"),    QStringLiteral("Time")};
}

inline QStringList relation()
{
    return {QStringLiteral("Tape"),           QStringLiteral("Record"),      QStringLiteral("RecordIncr"),
            QStringLiteral("InstrumentCode"), QStringLiteral("ShotLine"),    QStringLiteral("ShotLocation"),
            QStringLiteral("ShotIndex"),      QStringLiteral("FromChannel"), QStringLiteral("ToChannel"),
            QStringLiteral("ChannelIncr"),    QStringLiteral("RecLine"),     QStringLiteral("FromRec"),
            QStringLiteral("ToRec"),          QStringLiteral("RecIndex")};
}

} // namespace SpsFormParts
