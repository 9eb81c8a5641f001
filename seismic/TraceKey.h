#pragma once

#include <array>

// The fixed numbering of trace header values, whatever the file format: readers fill keys,
// writers take them, analyzers and sorting use them by number. Key 0 is the trace's file
// position, kept apart from the keyed values; keys 1 to 75 are the header values.
class TraceKey {
public:
    enum Key : int {
        FilePosition = 0,
        FieldFile = 1,
        Channel = 2,
        Cmp = 3,
        Inline = 4,
        Crossline = 5,
        SourceLine = 6,
        SourceLocation = 7,
        ReceiverLine = 8,
        ReceiverLocation = 9,
        Offset = 10,
        Azimuth = 11,
        SequentialTrace = 12,
        TraceId = 13,
        Spare14 = 14,
        Spare15 = 15,
        Fold = 16,
        HeaderWord119 = 17,
        SourceUpholeTime = 18,
        SourceDepth = 19,
        CmpDatum = 20,
        SourceDatum = 21,
        ReceiverDatum = 22,
        CmpX = 23,
        CmpY = 24,
        CmpElevation = 25,
        SourceX = 26,
        SourceY = 27,
        SourceElevation = 28,
        ReceiverX = 29,
        ReceiverY = 30,
        ReceiverElevation = 31,
        ReceiverWaterDepth = 32,
        Spare33 = 33,
        ReceiverComponent = 34,
        Spare35 = 35,
        Spare36 = 36,
        Attribute = 38,
        Spare39 = 39,
        SliceNumber = 40,
        UserDefined1 = 41,
        UserDefined2 = 42,
        UserDefined3 = 43,
        UserDefined4 = 44,
        UserDefined5 = 45,
        UserDefined6 = 46,
        UserDefined7 = 47,
        UserDefined8 = 48,
        UserDefined9 = 49,
        UserDefined10 = 50,
        UserDefined11 = 51,
        UserDefined12 = 52,
        VspMeasuredDepth = 57,
        VspTrueDepth = 58,
        VspOneWayTime = 59,
        VspOneWayTimeGroundLevel = 60,
        VspOneWayTimeDatum = 61,
        VspTwoWayTimeGroundLevel = 62,
        VspTwoWayTimeDatum = 63,
        VspAverageVelocity = 64,
        VspIntervalVelocity = 65,
        VspRmsVelocity = 66,
        VspComponent = 67,
        ReceiverOrientation = 68,
        VspDepthWeathering = 69,
        VspMonitorElevation = 70,
        AvaComponent = 71,
        SourceStatic = 73,
        ReceiverStatic = 74,
        GatherIndex = 75,
    };

    // How a trace keeps a key's value; the type decides what survives a round trip.
    enum class Storage { None, Int32, Float, Double, Int64 };
    // Which SEG-Y scalar converts the value between file and trace.
    enum class Scalar { None, Coordinate, Elevation };

    struct Info {
        int key;
        const char* name; // empty for numbers without storage
        Storage storage;
        int formatSlot; // key slot of a SEG-Y format definition, -1 when none
        Scalar scalar;
    };

    static constexpr int count = 76;

    // The key's row of the table; a number outside 0 to 75 gets a row without storage.
    static constexpr const Info& info(int key);
    static constexpr bool isValid(int key) { return key >= 0 && key < count; }
    // True for the keys a trace holds by number (1 to 75, with storage).
    static constexpr bool isStored(int key) { return key > 0 && info(key).storage != Storage::None; }

private:
    using S = Storage;
    using C = Scalar;
    static constexpr Info none{-1, "", S::None, -1, C::None};

public:
    // One row per key number, in key order: writers walk it to place every slotted key.
    static constexpr std::array<Info, count> table{{
        {0, "FilePosition", S::Int64, -1, C::None},
        {1, "FieldFile", S::Int32, 0, C::None},
        {2, "Channel", S::Int32, 1, C::None},
        {3, "Cmp", S::Float, 2, C::None},
        {4, "Inline", S::Float, 3, C::None},
        {5, "Crossline", S::Float, 4, C::None},
        {6, "SourceLine", S::Int32, 9, C::None},
        {7, "SourceLocation", S::Float, 10, C::None},
        {8, "ReceiverLine", S::Int32, 17, C::None},
        {9, "ReceiverLocation", S::Float, 18, C::None},
        {10, "Offset", S::Float, 26, C::Coordinate},
        {11, "Azimuth", S::Float, 27, C::None},
        {12, "SequentialTrace", S::Int32, -1, C::None},
        {13, "TraceId", S::Int32, -1, C::None},
        {14, "Spare14", S::Int32, -1, C::None},
        {15, "Spare15", S::Float, -1, C::None},
        {16, "Fold", S::Int32, 31, C::None},
        {17, "HeaderWord119", S::Float, 30, C::None},
        {18, "SourceUpholeTime", S::Float, 16, C::None},
        {19, "SourceDepth", S::Float, 15, C::Elevation},
        {20, "CmpDatum", S::Float, 8, C::Elevation},
        {21, "SourceDatum", S::Float, 14, C::Elevation},
        {22, "ReceiverDatum", S::Float, 22, C::Elevation},
        {23, "CmpX", S::Double, 5, C::Coordinate},
        {24, "CmpY", S::Double, 6, C::Coordinate},
        {25, "CmpElevation", S::Float, 7, C::Elevation},
        {26, "SourceX", S::Double, 11, C::Coordinate},
        {27, "SourceY", S::Double, 12, C::Coordinate},
        {28, "SourceElevation", S::Float, 13, C::Elevation},
        {29, "ReceiverX", S::Double, 19, C::Coordinate},
        {30, "ReceiverY", S::Double, 20, C::Coordinate},
        {31, "ReceiverElevation", S::Float, 21, C::Elevation},
        {32, "ReceiverWaterDepth", S::Float, 23, C::Elevation},
        {33, "Spare33", S::Int32, -1, C::None},
        {34, "ReceiverComponent", S::Int32, 24, C::None},
        {35, "Spare35", S::Float, -1, C::None},
        {36, "Spare36", S::Float, -1, C::None},
        {37, "", S::None, -1, C::None},
        {38, "Attribute", S::Float, 48, C::None},
        {39, "Spare39", S::Int32, -1, C::None},
        {40, "SliceNumber", S::Int32, 49, C::None},
        {41, "UserDefined1", S::Float, 36, C::None},
        {42, "UserDefined2", S::Float, 37, C::None},
        {43, "UserDefined3", S::Float, 38, C::None},
        {44, "UserDefined4", S::Float, 39, C::None},
        {45, "UserDefined5", S::Float, 40, C::None},
        {46, "UserDefined6", S::Float, 41, C::None},
        {47, "UserDefined7", S::Float, 42, C::None},
        {48, "UserDefined8", S::Float, 43, C::None},
        {49, "UserDefined9", S::Float, 44, C::None},
        {50, "UserDefined10", S::Float, 45, C::None},
        {51, "UserDefined11", S::Float, 46, C::None},
        {52, "UserDefined12", S::Float, 47, C::None},
        {53, "", S::None, -1, C::None},
        {54, "", S::None, -1, C::None},
        {55, "", S::None, -1, C::None},
        {56, "", S::None, -1, C::None},
        {57, "VspMeasuredDepth", S::Float, 51, C::None},
        {58, "VspTrueDepth", S::Float, 52, C::None},
        {59, "VspOneWayTime", S::Float, 53, C::None},
        {60, "VspOneWayTimeGroundLevel", S::Float, 54, C::None},
        {61, "VspOneWayTimeDatum", S::Float, 55, C::None},
        {62, "VspTwoWayTimeGroundLevel", S::Float, 56, C::None},
        {63, "VspTwoWayTimeDatum", S::Float, 57, C::None},
        {64, "VspAverageVelocity", S::Float, 58, C::None},
        {65, "VspIntervalVelocity", S::Float, 59, C::None},
        {66, "VspRmsVelocity", S::Float, 60, C::None},
        {67, "VspComponent", S::Int32, 63, C::None},
        {68, "ReceiverOrientation", S::Float, 25, C::None},
        {69, "VspDepthWeathering", S::Float, 62, C::None},
        {70, "VspMonitorElevation", S::Float, 61, C::None},
        {71, "AvaComponent", S::Int32, 64, C::None},
        {72, "", S::None, -1, C::None},
        {73, "SourceStatic", S::Float, 28, C::None},
        {74, "ReceiverStatic", S::Float, 29, C::None},
        {75, "GatherIndex", S::Int32, 50, C::None},
    }};
};

constexpr const TraceKey::Info& TraceKey::info(int key)
{
    return isValid(key) ? table[key] : none;
}

namespace TraceKeyCheck {
constexpr bool rowsInKeyOrder()
{
    for (int key = 0; key < TraceKey::count; ++key) {
        if (TraceKey::table[key].key != key)
            return false;
    }
    return true;
}
static_assert(rowsInKeyOrder(), "every row of the key table sits at its own key number");
} // namespace TraceKeyCheck
