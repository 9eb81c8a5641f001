#include "devices/TapeImageScsiTarget.h"

#include "devices/ScsiSenseData.h"

#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace {

// Additional sense codes the target reports.
enum AdditionalSense : unsigned char {
    WriteError = 0x0C,
    UnrecoveredReadError = 0x11,
    InvalidOperation = 0x20,
    InvalidField = 0x24,
    InvalidParameter = 0x26,
    WriteProtected = 0x27,
    MediumNotPresent = 0x3A,
};

ScsiCompletion good(int transferred = 0)
{
    ScsiCompletion completion;
    completion.status = ScsiCompletion::Done;
    completion.transferred = transferred;
    return completion;
}

ScsiCompletion check(int key, unsigned char flags = 0, bool informationValid = false, qint64 information = 0,
                     unsigned char additionalCode = 0, int transferred = 0)
{
    ScsiCompletion completion;
    completion.status = ScsiCompletion::Failed;
    completion.targetStatus = ScsiCompletion::checkCondition;
    completion.transferred = transferred;
    completion.sense =
        ScsiSenseData::build(key, flags, informationValid, static_cast<qint32>(information), additionalCode);
    return completion;
}

ScsiCompletion notReady()
{
    return check(ScsiSense::NotReady, 0, false, 0, MediumNotPresent);
}

ScsiCompletion illegal(unsigned char additionalCode = InvalidField)
{
    return check(ScsiSense::IllegalRequest, 0, false, 0, additionalCode);
}

int countIn(const ScsiRequest& request)
{
    const auto* cdb = reinterpret_cast<const uchar*>(request.cdb.constData());
    return (cdb[2] << 16) | (cdb[3] << 8) | cdb[4];
}

// Copies an answer into the request's buffer, as much as both allow.
ScsiCompletion give(const ScsiRequest& request, const QByteArray& data, int allocation)
{
    const int length = std::min({data.size(), allocation, request.length});
    if (length > 0 && request.data)
        std::memcpy(request.data, data.constData(), static_cast<size_t>(length));
    return good(length);
}

} // namespace

TapeImageScsiTarget::TapeImageScsiTarget(const QString& imagePath) : path(imagePath)
{
    QString errorText;
    image = TapeImage::open(path, &errorText);
}

bool TapeImageScsiTarget::ready() const
{
    return image && image->loaded();
}

ScsiCompletion TapeImageScsiTarget::execute(const ScsiRequest& request)
{
    if (request.cdb.size() < 6)
        return illegal(InvalidOperation);
    const auto operation = static_cast<uchar>(request.cdb[0]);
    switch (operation) {
    case ScsiOperation::Inquiry:
        return inquiry(request);
    case ScsiOperation::LoadUnload:
        return loadUnload(request);
    default:
        break;
    }
    if (!ready())
        return notReady();
    switch (operation) {
    case ScsiOperation::TestUnitReady:
        return good();
    case ScsiOperation::ModeSense6:
        return modeSense(request);
    case ScsiOperation::ModeSelect10:
        return modeSelect(request);
    case ScsiOperation::ReadBlockLimits:
        return blockLimits(request);
    case ScsiOperation::Read6:
        return read(request);
    case ScsiOperation::Write6:
        return write(request);
    case ScsiOperation::WriteFileMarks:
        return writeFileMarks(request);
    case ScsiOperation::Space:
        return space(request);
    case ScsiOperation::Rewind:
        return answer(image->rewind());
    case ScsiOperation::Erase:
        return answer(image->erase());
    default:
        return illegal(InvalidOperation);
    }
}

ScsiCompletion TapeImageScsiTarget::answer(TapeImage::Result result)
{
    switch (result) {
    case TapeImage::Result::Ok:
        return good();
    case TapeImage::Result::Offline:
        return notReady();
    case TapeImage::Result::WriteProtected:
        return check(ScsiSense::DataProtect, 0, false, 0, WriteProtected);
    case TapeImage::Result::FileError:
    case TapeImage::Result::Damaged:
        return check(ScsiSense::MediumError, 0, false, 0, UnrecoveredReadError);
    default:
        return check(ScsiSense::MediumError);
    }
}

ScsiCompletion TapeImageScsiTarget::inquiry(const ScsiRequest& request) const
{
    QByteArray data(36, ' ');
    data[0] = 0x01;                    // sequential-access device
    data[1] = static_cast<char>(0x80); // removable medium
    data[2] = 0x02;
    data[3] = 0x02;
    data[4] = 31;
    data[5] = data[6] = data[7] = 0;
    const QByteArray vendorId = QByteArray(vendor).leftJustified(8, ' ', true);
    const QByteArray product = QFileInfo(path).fileName().toLatin1().leftJustified(16, ' ', true);
    data.replace(8, 8, vendorId);
    data.replace(16, 16, product);
    data.replace(32, 4, QByteArray("1.0 "));
    return give(request, data, static_cast<uchar>(request.cdb[4]));
}

ScsiCompletion TapeImageScsiTarget::modeSense(const ScsiRequest& request) const
{
    QByteArray data(12, '\0');
    data[0] = 11;                                                             // mode data length
    data[2] = static_cast<char>((image->writeProtected() ? 0x80 : 0) | 0x10); // buffered mode 1
    data[3] = 8;                                                              // block descriptor length
    return give(request, data, static_cast<uchar>(request.cdb[4]));
}

ScsiCompletion TapeImageScsiTarget::modeSelect(const ScsiRequest& request) const
{
    if (request.cdb.size() < 10)
        return illegal();
    const int listLength = (static_cast<uchar>(request.cdb[7]) << 8) | static_cast<uchar>(request.cdb[8]);
    if (listLength > request.length || !request.data)
        return illegal();
    const auto* list = reinterpret_cast<const uchar*>(request.data);
    // Only variable blocks: a block descriptor must give the length 0.
    if (listLength >= 16 && list[7] >= 8 && (list[13] | list[14] | list[15]) != 0)
        return illegal(InvalidParameter);
    return good(listLength);
}

ScsiCompletion TapeImageScsiTarget::blockLimits(const ScsiRequest& request) const
{
    QByteArray data(6, '\0');
    qToBigEndian<quint32>(maximumBlockSize, data.data());
    data[0] = 0; // granularity
    qToBigEndian<quint16>(1, data.data() + 4);
    return give(request, data, data.size());
}

ScsiCompletion TapeImageScsiTarget::read(const ScsiRequest& request)
{
    if (request.cdb[1] & 0x01)
        return illegal(); // fixed blocks
    const int length = std::min(countIn(request), request.length);
    if (length == 0)
        return good();
    if (!request.data)
        return illegal();
    int recordLength = 0;
    const TapeImage::Result result = image->readRecord(request.data, length, &recordLength);
    switch (result) {
    case TapeImage::Result::Ok:
        if (recordLength == length)
            return good(length);
        return check(ScsiSense::NoSense, ScsiSense::incorrectLength, true, length - recordLength, 0,
                     recordLength);
    case TapeImage::Result::BlockTooLong:
        return check(ScsiSense::NoSense, ScsiSense::incorrectLength, true,
                     static_cast<qint64>(length) - recordLength, 0, length);
    case TapeImage::Result::FileMark:
        return check(ScsiSense::NoSense, ScsiSense::fileMark, true, length);
    case TapeImage::Result::EndOfData:
        return check(ScsiSense::BlankCheck, 0, true, length);
    default:
        return answer(result);
    }
}

ScsiCompletion TapeImageScsiTarget::write(const ScsiRequest& request)
{
    if (request.cdb[1] & 0x01)
        return illegal(); // fixed blocks
    const int length = countIn(request);
    if (length == 0)
        return good();
    if (length > request.length || !request.data)
        return illegal();
    const TapeImage::Result result = image->writeRecord(request.data, length);
    switch (result) {
    case TapeImage::Result::EarlyWarning:
        return check(ScsiSense::NoSense, ScsiSense::endOfMedium, true, 0, 0, length);
    case TapeImage::Result::EndOfMedium:
        return check(ScsiSense::VolumeOverflow, ScsiSense::endOfMedium, true, length, WriteError);
    case TapeImage::Result::BlockTooLong:
        return illegal();
    default:
        return answer(result);
    }
}

ScsiCompletion TapeImageScsiTarget::writeFileMarks(const ScsiRequest& request)
{
    const int count = countIn(request);
    int written = 0;
    const TapeImage::Result result = image->writeFileMarks(count, &written);
    switch (result) {
    case TapeImage::Result::EarlyWarning:
        return check(ScsiSense::NoSense, ScsiSense::endOfMedium, true, 0);
    case TapeImage::Result::EndOfMedium:
        return check(ScsiSense::VolumeOverflow, ScsiSense::endOfMedium, true, count - written, WriteError);
    default:
        return answer(result);
    }
}

ScsiCompletion TapeImageScsiTarget::space(const ScsiRequest& request)
{
    const int code = request.cdb[1] & 0x07;
    // The count is 24 bits, two's complement.
    qint64 count = countIn(request);
    if (count & 0x800000)
        count -= 0x1000000;
    if (code == 3)
        return answer(image->spaceToEndOfData());
    if (code != 0 && code != 1)
        return illegal();
    qint64 spaced = 0;
    const TapeImage::Result result =
        code == 0 ? image->spaceRecords(count, &spaced) : image->spaceFileMarks(count, &spaced);
    // The residue keeps the sign of the count.
    const qint64 residue = count - (count < 0 ? -spaced : spaced);
    switch (result) {
    case TapeImage::Result::FileMark:
        return check(ScsiSense::NoSense, ScsiSense::fileMark, true, residue);
    case TapeImage::Result::BeginningOfTape:
        return check(ScsiSense::NoSense, ScsiSense::endOfMedium, true, residue);
    case TapeImage::Result::EndOfData:
        return check(ScsiSense::BlankCheck, 0, true, residue);
    default:
        return answer(result);
    }
}

ScsiCompletion TapeImageScsiTarget::loadUnload(const ScsiRequest& request)
{
    const bool load = (request.cdb[4] & 0x01) != 0;
    if (!image) {
        QString errorText;
        image = TapeImage::open(path, &errorText);
        if (!image)
            return notReady();
    }
    return answer(load ? image->load() : image->unload());
}
