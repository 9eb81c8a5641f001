#pragma once

#include "seismic/TraceKey.h"

#include <array>

// The trace header rows of the SEG-Y analyzer: which format key slot each row edits, which
// trace value its range is taken from, and how the range is written.
namespace SegyFieldRows {

enum class Source {
    Key,              // the trace value of key
    CoordinateScalar, // the trace's scalars
    ElevationScalar,
    TimeScalar,
    Nothing, // the row shows no range
};

enum class Shown { Integer, Fixed1, General6, Empty };

struct Row {
    const char* label;
    const char* prefix;    // of the row's controls: prefix_StartByte, prefix_Type
    const char* rangeName; // of its range editors: rangeName_Min, rangeName_Max
    int keySlot;
    Source source;
    int key;
    Shown shown;
};

constexpr int count = 29;

constexpr std::array<Row, count> rows{{
    {"Field file number", "FFID", "FFID", 0, Source::Key, TraceKey::FieldFile, Shown::Integer},
    {"Channel number", "Channel", "Channel", 1, Source::Key, TraceKey::Channel, Shown::Integer},
    {"CMP", "CMP", "CMP", 2, Source::Key, TraceKey::Cmp, Shown::Integer},
    {"Inline", "Inline", "Inline", 3, Source::Key, TraceKey::Inline, Shown::Integer},
    {"Crossline", "Crossline", "Crossline", 4, Source::Key, TraceKey::Crossline, Shown::Integer},
    {"Offset", "Offset", "Offset", 26, Source::Key, TraceKey::Offset, Shown::Integer},
    {"CMP easting", "CMP_Easting", "CMP_Easting", 5, Source::Key, TraceKey::CmpX, Shown::Fixed1},
    {"CMP  northing", "CMP_Northing", "CMP_Northing", 6, Source::Key, TraceKey::CmpY, Shown::Fixed1},
    {"CMP  elevation", "CMP_Elevation", "CMP_Elevation", 7, Source::Key, TraceKey::CmpElevation,
     Shown::Fixed1},
    {"CMP  datum", "CMP_Datum", "CMP_Datum", 8, Source::Nothing, 0, Shown::Empty},
    {"Source line", "Source_Line", "Source_Line", 9, Source::Key, TraceKey::SourceLine, Shown::Integer},
    {"Source location", "Source_Location", "Source_Location", 10, Source::Key, TraceKey::SourceLocation,
     Shown::Integer},
    {"Source easting", "Source_Easting", "Source_Easting", 11, Source::Key, TraceKey::SourceX, Shown::Fixed1},
    {"Source northing", "Source_Northing", "Source_Northing", 12, Source::Key, TraceKey::SourceY,
     Shown::Fixed1},
    {"Source elevation", "Source_Elevation", "Source_Elevation", 13, Source::Key, TraceKey::SourceElevation,
     Shown::Fixed1},
    {"Source datum", "Source_Datum", "Source_Datum", 14, Source::Nothing, 0, Shown::Empty},
    {"Source depth", "Source_Depth", "Source_Depth", 15, Source::Nothing, 0, Shown::Empty},
    {"Uphole time", "Source_Uphole", "Source_Uphole", 16, Source::Nothing, 0, Shown::Empty},
    {"Receiver line", "Receiver_Line", "Receiver_Line", 17, Source::Key, TraceKey::ReceiverLine,
     Shown::Integer},
    {"Receiver location", "Receiver_Location", "Receiver_Location", 18, Source::Key,
     TraceKey::ReceiverLocation, Shown::Integer},
    {"Receiver easting", "Receiver_Easting", "Receiver_Easting", 19, Source::Key, TraceKey::ReceiverX,
     Shown::Fixed1},
    {"Receiver northing", "Receiver_Northing", "Receiver_Northing", 20, Source::Key, TraceKey::ReceiverY,
     Shown::Fixed1},
    {"Receiver elevation", "Receiver_Elevation", "Receiver_Elevation", 21, Source::Key,
     TraceKey::ReceiverElevation, Shown::Fixed1},
    {"Receiver datum", "Receiver_Datum", "Receiver_Datum", 22, Source::Key, TraceKey::ReceiverDatum,
     Shown::Fixed1},
    {"Receiver type", "Receiver_Type", "Receiver_Type", 24, Source::Key, TraceKey::ReceiverComponent,
     Shown::Integer},
    {"Sensor orientation", "Receiver_Orientation", "Receiver_Orientation", 25, Source::Key,
     TraceKey::ReceiverOrientation, Shown::General6},
    {"Coordinate scalar", "Coordinate_Scalar", "CScalar", 33, Source::CoordinateScalar, 0, Shown::Integer},
    {"Elevation scalar", "Elevation_Scalar", "EScalar", 32, Source::ElevationScalar, 0, Shown::Integer},
    {"Time scalar", "Time_Scalar", "TScalar", 34, Source::TimeScalar, 0, Shown::Integer},
}};

} // namespace SegyFieldRows
