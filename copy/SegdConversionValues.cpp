#include "copy/SegdConversionValues.h"

#include <QtEndian>

namespace SegdConversionValues {

namespace {

using namespace SegdWrittenFields;

// SEG-Y trace header words, 1-based start bytes.
constexpr int fieldRecordByte = 9;
constexpr int receiverElevationByte = 41;
constexpr int sourceElevationByte = 45;
constexpr int elevationScalarByte = 69;
constexpr int coordinateScalarByte = 71;
constexpr int sourceXByte = 73;
constexpr int sourceYByte = 77;
constexpr int receiverXByte = 81;
constexpr int receiverYByte = 85;
constexpr int delayByte = 109;
constexpr int yearByte = 157;
constexpr int dayByte = 159;
constexpr int hourByte = 161;
constexpr int minuteByte = 163;
constexpr int secondByte = 165;
constexpr int receiverLineByte = 189;
constexpr int receiverPointByte = 193;
constexpr int shotPointByte = 197;
constexpr int sourceWordByte = 205;

qint32 int32At(const char* header, int byte, bool littleEndian)
{
    const char* at = header + byte - 1;
    return littleEndian ? qFromLittleEndian<qint32>(at) : qFromBigEndian<qint32>(at);
}

qint16 int16At(const char* header, int byte, bool littleEndian)
{
    const char* at = header + byte - 1;
    return littleEndian ? qFromLittleEndian<qint16>(at) : qFromBigEndian<qint16>(at);
}

// A coordinate or elevation with its scalar (the word at `scalarByte`) applied: a positive scalar
// multiplies, a negative one divides by its magnitude, 0 leaves the value as it is.
double scaled(const char* header, int byte, int scalarByte, bool littleEndian)
{
    const double value = int32At(header, byte, littleEndian);
    const int scalar = int16At(header, scalarByte, littleEndian);
    if (scalar > 0)
        return value * scalar;
    if (scalar < 0)
        return value / -double(scalar);
    return value;
}

constexpr int sixteenthsPerMillisecond = 16;
constexpr qint64 largestEndTime2Ms = 0xFFFF;
constexpr qint64 largestEndTimeUs = 0x7FFFFFFF;

QString revisionText(int revision)
{
    return revision == 21 ? QStringLiteral("2.1") : QStringLiteral("3.1");
}

} // namespace

int baseScanInterval(int microseconds, int revision)
{
    if (microseconds <= 0)
        return -1;
    const qint64 scaled = qint64(microseconds) * sixteenthsPerMillisecond;
    const qint64 sixteenths = scaled / 1000;
    const bool fits = sixteenths >= 1 && sixteenths <= 0xFF;
    if (revision == 31)
        return fits ? int(sixteenths) : 0;
    return fits && scaled % 1000 == 0 ? int(sixteenths) : -1;
}

QString refusal(int sampleInterval, int samples, qint64 traces, int revision)
{
    if (baseScanInterval(sampleInterval, revision) < 0)
        return QStringLiteral("sample interval of %1 microseconds cannot be written as a SEG-D %2 base "
                              "scan interval")
            .arg(sampleInterval)
            .arg(revisionText(revision));
    if (samples <= 0)
        return QStringLiteral("no samples per trace in the binary header");
    if (traces > largestTraceCount)
        return QStringLiteral("%1 traces are more than a SEG-D field file numbers (%2)")
            .arg(traces)
            .arg(largestTraceCount);
    return QString();
}

QString recordRefusal(const Values& values, int revision)
{
    if (revision == 21 && values[DelayMs] < 0)
        return QStringLiteral("recording delay of %1 ms: a SEG-D 2.1 channel set cannot start before "
                              "time zero (revision 3.1 can)")
            .arg(qint64(values[DelayMs]));
    if (revision == 21 ? values[EndTime2Ms] > largestEndTime2Ms : values[EndTimeUs] > largestEndTimeUs)
        return QStringLiteral("a record ending at %1 ms is beyond a SEG-D %2 channel set end time")
            .arg(qint64(values[EndTimeUs] / 1000))
            .arg(revisionText(revision));
    return QString();
}

qint32 fieldRecord(const char* traceHeader, bool littleEndian)
{
    return int32At(traceHeader, fieldRecordByte, littleEndian);
}

Values fileValues(const char* traceHeader, bool littleEndian, int sampleInterval, int samples, int traces,
                  int revision)
{
    Values values{};
    const int year = int16At(traceHeader, yearByte, littleEndian);
    values[YearDigits] = year < 0 ? 0 : year % 100;
    values[DayWithBlocks] = 2000 + qBound(0, int(int16At(traceHeader, dayByte, littleEndian)), 999);
    values[Hour] = int16At(traceHeader, hourByte, littleEndian);
    values[Minute] = int16At(traceHeader, minuteByte, littleEndian);
    values[Second] = int16At(traceHeader, secondByte, littleEndian);
    values[BaseInterval] = baseScanInterval(sampleInterval, revision);
    values[FileNumber] = fieldRecord(traceHeader, littleEndian);
    const qint64 lengthUs = qint64(sampleInterval) * samples;
    values[RecordLengthUs] = double(lengthUs);
    values[RecordLengthMs] = double(lengthUs / 1000);
    // The channel set spans the record from the first sample's time on.
    const qint64 delayMs = int16At(traceHeader, delayByte, littleEndian);
    values[DelayMs] = double(delayMs);
    values[StartTimeUs] = double(delayMs * 1000);
    values[EndTimeUs] = double(delayMs * 1000 + lengthUs);
    values[StartTime2Ms] = double(delayMs / 2);
    values[EndTime2Ms] = double((delayMs * 1000 + lengthUs) / 1000 / 2);
    values[SourceWord] = int32At(traceHeader, sourceWordByte, littleEndian);
    values[ShotPoint] = int32At(traceHeader, shotPointByte, littleEndian);
    values[SampleInterval] = sampleInterval;
    values[Samples] = samples;
    values[Traces] = traces;
    values[SourceX] = scaled(traceHeader, sourceXByte, coordinateScalarByte, littleEndian);
    values[SourceY] = scaled(traceHeader, sourceYByte, coordinateScalarByte, littleEndian);
    values[SourceElevation] = scaled(traceHeader, sourceElevationByte, elevationScalarByte, littleEndian);
    return values;
}

void setTraceValues(Values& values, const char* traceHeader, bool littleEndian, int traceNumber)
{
    values[TraceNumber] = traceNumber;
    values[ReceiverLine] = int32At(traceHeader, receiverLineByte, littleEndian);
    values[ReceiverPoint] = int32At(traceHeader, receiverPointByte, littleEndian);
    values[ReceiverX] = scaled(traceHeader, receiverXByte, coordinateScalarByte, littleEndian);
    values[ReceiverY] = scaled(traceHeader, receiverYByte, coordinateScalarByte, littleEndian);
    values[ReceiverElevation] = scaled(traceHeader, receiverElevationByte, elevationScalarByte, littleEndian);
}

} // namespace SegdConversionValues
