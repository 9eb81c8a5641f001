#include "copy/SegdConversionValues.h"

#include <QtEndian>

namespace SegdConversionValues {

namespace {

using namespace SegdHeaderFields;

// SEG-Y trace header words, 1-based start bytes.
constexpr int fieldRecordByte = 9;
constexpr int receiverElevationByte = 41;
constexpr int sourceElevationByte = 45;
constexpr int coordinateScalarByte = 71;
constexpr int sourceXByte = 73;
constexpr int sourceYByte = 77;
constexpr int receiverXByte = 81;
constexpr int receiverYByte = 85;
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

// A coordinate or elevation with the coordinate scalar applied: a positive scalar multiplies,
// a negative one divides by its magnitude.
double scaled(const char* header, int byte, bool littleEndian)
{
    const double value = int32At(header, byte, littleEndian);
    const int scalar = int16At(header, coordinateScalarByte, littleEndian);
    if (scalar > 0)
        return value * scalar;
    if (scalar < 0)
        return value / -double(scalar);
    return value;
}

constexpr int sixteenthsPerMillisecond = 16;

} // namespace

int baseScanInterval(int microseconds, int revision)
{
    if (microseconds <= 0)
        return -1;
    const qint64 scaled = qint64(microseconds) * sixteenthsPerMillisecond;
    const qint64 sixteenths = scaled / 1000;
    if (sixteenths < 1 || sixteenths > 0xFF)
        return -1;
    if (revision == 21 && scaled % 1000 != 0)
        return -1;
    return int(sixteenths);
}

QString refusal(int sampleInterval, int samples, qint64 traces, int revision)
{
    if (baseScanInterval(sampleInterval, revision) < 0)
        return QStringLiteral("sample interval of %1 microseconds cannot be written as a SEG-D %2 base "
                              "scan interval")
            .arg(sampleInterval)
            .arg(revision == 21 ? QStringLiteral("2.1") : QStringLiteral("3.1"));
    if (samples <= 0)
        return QStringLiteral("no samples per trace in the binary header");
    if (traces > largestTraceCount)
        return QStringLiteral("%1 traces are more than a SEG-D field file numbers (%2)")
            .arg(traces)
            .arg(largestTraceCount);
    return QString();
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
    values[FileNumber] = int32At(traceHeader, fieldRecordByte, littleEndian);
    const qint64 lengthUs = qint64(sampleInterval) * samples;
    values[RecordLengthUs] = double(lengthUs);
    values[RecordLengthMs] = double(lengthUs / 1000);
    values[HalfRecordLength] = double(lengthUs / 1000 / 2);
    values[SourceWord] = int32At(traceHeader, sourceWordByte, littleEndian);
    values[ShotPoint] = int32At(traceHeader, shotPointByte, littleEndian);
    values[SampleInterval] = sampleInterval;
    values[Samples] = samples;
    values[Traces] = traces;
    values[SourceX] = scaled(traceHeader, sourceXByte, littleEndian);
    values[SourceY] = scaled(traceHeader, sourceYByte, littleEndian);
    values[SourceElevation] = scaled(traceHeader, sourceElevationByte, littleEndian);
    return values;
}

void setTraceValues(Values& values, const char* traceHeader, bool littleEndian, int traceNumber)
{
    values[TraceNumber] = traceNumber;
    values[ReceiverLine] = int32At(traceHeader, receiverLineByte, littleEndian);
    values[ReceiverPoint] = int32At(traceHeader, receiverPointByte, littleEndian);
    values[ReceiverX] = scaled(traceHeader, receiverXByte, littleEndian);
    values[ReceiverY] = scaled(traceHeader, receiverYByte, littleEndian);
    values[ReceiverElevation] = scaled(traceHeader, receiverElevationByte, littleEndian);
}

} // namespace SegdConversionValues
