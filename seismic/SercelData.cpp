#include "seismic/SercelData.h"

#include "base/ObrConsole.h"
#include "devices/DiskDevice.h"
#include "seismic/SeismicTrace.h"

#include <QColor>
#include <cmath>

namespace {

constexpr int sercelFormatCode = 8058;

// Revision 3 general header block types (the block's last byte).
constexpr int positionBlock = 81;
constexpr int dcRemovalBlock = 180;

// Revisions 1 and 2: the extended header, bytes from its start.
constexpr int extendedSourceTypeByte = 29;
constexpr int extendedSourceXByte = 573;
constexpr int extendedSourceYByte = 581;
constexpr int extendedSourceElevationByte = 589;

// Trace header bytes, 1-based from the first byte of the 20-byte header.
constexpr int pointIndexByte = 27;
constexpr int sensorTypeByte = 41;
constexpr int receiverXByte = 53;
constexpr int receiverYByte = 61;
constexpr int receiverElevationByte = 69;
constexpr int resistanceByte = 93;
constexpr int tiltByte = 101;
constexpr int leakageByte = 153;
constexpr int sensitivityByte = 201;
constexpr int descaleByte = 221;
constexpr int revision3ReceiverLineByte = 31;
constexpr int revision3ReceiverLocationByte = 36;
constexpr int revision3TraceNumberByte = 42;

// Multipliers beyond this are not multipliers.
constexpr double largestDescale = 1e8;

} // namespace

SercelData::SercelData(ObrConsole* console, const QString& path, bool seismicOnly, bool directoryMode)
    : SegdData(new DiskDevice(console, path, 0), seismicOnly, directoryMode)
{
    if (!console_)
        console_ = console;
    if (device_->ok())
        static_cast<void>(open(path));
    else
        status_ = device_->status();
}

SercelData::SercelData(ObrDevice* device, bool seismicOnly, bool directoryMode)
    : SegdData(device, seismicOnly, directoryMode)
{}

bool SercelData::readHeaders()
{
    if (!SegdData::readHeaders())
        return false;
    const SegdGeneralHeader& general = generalHeader();
    if (console_ && general.majorRevision >= 3)
        console_->message(QStringLiteral("Input Field File %1 Sercel rev 3 format.").arg(general.fieldFile),
                          QColor(Qt::black));
    if (console_ && general.formatCode != sercelFormatCode)
        console_->warning(
            QStringLiteral("Unexpected SEGD format code (%1) for Sercel data.").arg(general.formatCode),
            true);
    if (general.majorRevision >= 3)
        readRevision3Blocks();
    else
        readRevision2Source();
    return true;
}

void SercelData::readRevision3Blocks()
{
    const SegdBytes header = fileHeaderBytes();
    // Blocks 1 to 3 have fixed meanings; the described blocks follow them. The source
    // description blocks are the standard's, read with the other headers.
    for (int block = 3; block < generalHeader().blocks; ++block) {
        const SegdBytes bytes = header.part(qint64(block) * 32 + 1, 32);
        switch (bytes.uint8(32)) {
        case positionBlock:
            headers_.sourceX = bytes.float64(1);
            headers_.sourceY = bytes.float64(9);
            headers_.sourceElevation = float(bytes.float64(18));
            break;
        case dcRemovalBlock:
            headers_.removeDc = bytes.uint8(19) == 0;
            break;
        default:
            break;
        }
    }
}

void SercelData::readRevision2Source()
{
    // Without position blocks the recorder keeps the source position in its extended header.
    const SegdBytes extended = extendedHeader();
    headers_.sourceType = extended.int32(extendedSourceTypeByte);
    headers_.sourceX = extended.float64(extendedSourceXByte);
    headers_.sourceY = extended.float64(extendedSourceYByte);
    headers_.sourceElevation = extended.float32(extendedSourceElevationByte);
}

bool SercelData::readTrace(SeismicTrace& trace)
{
    if (!SegdData::readTrace(trace))
        return false;
    removeDcFrom(trace);
    fillSercelKeys(trace);
    descale(trace);
    return true;
}

void SercelData::removeDcFrom(SeismicTrace& trace) const
{
    const int count = lastDecodedSamples();
    if (!headers_.removeDc || count == 0)
        return;
    double* samples = trace.data();
    double sum = 0;
    for (int i = 0; i < count; ++i)
        sum += samples[i];
    const double mean = sum / count;
    for (int i = 0; i < count; ++i)
        samples[i] -= mean;
}

void SercelData::fillSercelKeys(SeismicTrace& trace) const
{
    const SegdBytes header = lastTraceHeader();
    const SegdChannelSet& set = lastChannelSet();
    const bool revision3 = generalHeader().majorRevision >= 3;
    trace.setValue(TraceKey::Spare15, 1.0);
    trace.setValue(TraceKey::Fold, 1);
    trace.setValue(TraceKey::TraceId, set.seismic() ? 1 : 4);
    trace.coordinateScalar = -100;
    if (revision3) {
        trace.setValue(TraceKey::ReceiverLine, header.int24(revision3ReceiverLineByte));
        trace.setValue(TraceKey::ReceiverLocation, header.int24(revision3ReceiverLocationByte));
        trace.setValue(TraceKey::SequentialTrace, header.uint24(revision3TraceNumberByte));
    } else {
        trace.setValue(TraceKey::ReceiverLine, SegdTraceHeaderRecord::receiverLine(header));
        trace.setValue(TraceKey::ReceiverLocation, SegdTraceHeaderRecord::receiverPoint(header));
        trace.setValue(TraceKey::SequentialTrace, tracesRead());
    }
    trace.setValue(TraceKey::Channel, set.seismic() ? seismicTracesRead() : -tracesRead());
    trace.setValue(TraceKey::UserDefined1, headers_.sourceIndex);
    trace.setValue(TraceKey::UserDefined2, header.uint8(pointIndexByte));
    trace.setValue(TraceKey::UserDefined4, header.uint8(sensorTypeByte));
    trace.setValue(TraceKey::UserDefined5, set.number);
    trace.setValue(TraceKey::ReceiverComponent, header.uint8(sensorTypeByte));
    if (!revision3) {
        trace.setValue(TraceKey::UserDefined10, header.float32(resistanceByte));
        trace.setValue(TraceKey::UserDefined11, header.float32(tiltByte));
        trace.setValue(TraceKey::UserDefined12, header.float32(leakageByte));
        trace.setValue(TraceKey::UserDefined7, header.float32(sensitivityByte));
        trace.setValue(TraceKey::ReceiverX, header.float64(receiverXByte));
        trace.setValue(TraceKey::ReceiverY, header.float64(receiverYByte));
        trace.setValue(TraceKey::ReceiverElevation, header.float32(receiverElevationByte));
    }

    // Midpoint, azimuth and offset between the receiver and the file's source.
    const double receiverX = trace.value(TraceKey::ReceiverX);
    const double receiverY = trace.value(TraceKey::ReceiverY);
    trace.setValue(TraceKey::Inline, (trace.value(TraceKey::ReceiverLine) + headers_.sourceLine) / 2);
    trace.setValue(TraceKey::Crossline,
                   (trace.value(TraceKey::ReceiverLocation) + headers_.sourceLocation) / 2);
    trace.setValue(TraceKey::CmpX, (receiverX + headers_.sourceX) / 2);
    trace.setValue(TraceKey::CmpY, (receiverY + headers_.sourceY) / 2);
    trace.setValue(TraceKey::CmpElevation,
                   (trace.value(TraceKey::ReceiverElevation) + double(headers_.sourceElevation)) / 2);
    const double dx = receiverX - headers_.sourceX;
    const double dy = receiverY - headers_.sourceY;
    // Degrees to hundredths, truncated, from 0 up to 360.
    const double degrees = std::trunc(-std::atan2(dy, dx) * 180.0 / 3.14159 * 100.0) / 100.0;
    trace.setValue(TraceKey::Azimuth, degrees < 0 ? degrees + 360.0 : degrees);
    trace.setValue(TraceKey::Offset, std::sqrt(dx * dx + dy * dy));
}

void SercelData::descale(SeismicTrace& trace) const
{
    double multiplier = double(lastTraceHeader().float32(descaleByte));
    if (!std::isfinite(multiplier) || std::fabs(multiplier) > largestDescale)
        multiplier = 1.0;
    trace.setValue(TraceKey::UserDefined9, multiplier);
    // Revision 3 samples arrive in their final units.
    if (multiplier == 0 || generalHeader().majorRevision >= 3)
        return;
    double* samples = trace.data();
    const int count = lastDecodedSamples();
    for (int i = 0; i < count; ++i)
        samples[i] *= multiplier;
}
