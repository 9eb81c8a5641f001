#include "devices/TapeImage.h"

#include "devices/SimhTapeImage.h"
#include "devices/TifTapeImage.h"

#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <limits>
#include <sys/file.h>

TapeImage::TapeImage(const QString& path, const TapeImageSettings& imageSettings)
    : file(path), stream(path), path_(path), settings(imageSettings)
{}

TapeImage::~TapeImage()
{
    if (file.isOpen())
        (void)stream.settle();
    // The tape stays where it was left, as in a drive: the next user finds it there.
    if (!file.isOpen() || (position_ == 0 && !QFileInfo::exists(TapeImageSettings::settingsPath(path_))))
        return;
    TapeImageSettings stored = TapeImageSettings::load(path_);
    if (stored.position == position_ && stored.positionFileSize == imageSize())
        return;
    stored.position = position_;
    stored.positionFileSize = imageSize();
    (void)stored.save(path_);
}

std::unique_ptr<TapeImage> TapeImage::open(const QString& path, QString* errorText)
{
    const TapeImageSettings settings = TapeImageSettings::load(path);
    std::unique_ptr<TapeImage> image;
    if (settings.format == Format::TapeInFile)
        image.reset(new TifTapeImage(path, settings));
    else
        image.reset(new SimhTapeImage(path, settings));
    if (!image->openFile(errorText))
        return nullptr;
    return image;
}

bool TapeImage::create(const QString& path, Format format, qint64 capacity, QString* errorText)
{
    if (capacity <= 0) {
        *errorText = QStringLiteral("the capacity of a tape image must be positive");
        return false;
    }
    QFile created(path);
    if (!created.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        *errorText = QStringLiteral("cannot create tape image %1: %2").arg(path, created.errorString());
        return false;
    }
    created.close();
    TapeImageSettings settings;
    settings.format = format;
    settings.capacity = capacity;
    if (!settings.save(path)) {
        *errorText = QStringLiteral("cannot write %1").arg(TapeImageSettings::settingsPath(path));
        return false;
    }
    return true;
}

bool TapeImage::openFile(QString* errorText)
{
    if (QFileInfo(path_).isDir()) {
        if (errorText)
            *errorText = QStringLiteral("%1 is a directory, not a tape image").arg(path_);
        return false;
    }
    // A file that nobody may write is write-protected, also for a user the system lets write anyway.
    const QFileDevice::Permissions writable =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (!(QFile::permissions(path_) & writable) ||
        !file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
        // A file the user may only read is a write-protected tape.
        if (!file.open(QIODevice::ReadOnly)) {
            if (errorText)
                *errorText = QStringLiteral("cannot open tape image %1: %2").arg(path_, file.errorString());
            return false;
        }
        readOnly = true;
    }
    stream.attach(file.handle(), file.size());
    // A file changed since the tape was left, or a position that is not between two of its
    // elements, is taken from its beginning.
    if (settings.position > 0 && settings.position <= imageSize() &&
        settings.positionFileSize == imageSize() && startsElement(settings.position))
        position_ = settings.position;
    return true;
}

bool TapeImage::startsElement(qint64 position)
{
    qint64 offset = 0;
    while (offset < position) {
        const Element element = elementAt(offset);
        if (element.kind == Kind::End || element.kind == Kind::Damaged || element.end <= offset)
            return false;
        offset = element.end;
    }
    return offset == position;
}

qint64 TapeImage::capacity() const
{
    return settings.usableCapacity();
}

qint64 TapeImage::earlyWarningPosition() const
{
    return settings.earlyWarningPosition();
}

bool TapeImage::lockExclusive()
{
    return flock(file.handle(), LOCK_EX | LOCK_NB) == 0;
}

QString TapeImage::fileName() const
{
    return QFileInfo(path_).fileName();
}

quint32 TapeImage::wordAt(qint64 offset, bool* valid)
{
    uchar bytes[4];
    *valid = readAt(offset, reinterpret_cast<char*>(bytes), 4);
    return *valid ? qFromLittleEndian<quint32>(bytes) : 0;
}

TapeImage::Result TapeImage::checkWritable() const
{
    if (!loaded())
        return Result::Offline;
    return readOnly ? Result::WriteProtected : Result::Ok;
}

bool TapeImage::put(const char* data, int length, bool now)
{
    const Frame framed = frame(position_, data ? length : 0, !data);
    if (stream.put(position_, framed.head, framed.headLength, data, data ? length : 0, framed.tail,
                   framed.tailLength, now))
        return true;
    // What did not reach the file is not on the tape.
    position_ = std::min(position_, imageSize());
    return false;
}

TapeImage::Result TapeImage::readRecord(char* buffer, int bufferLength, int* recordLength)
{
    *recordLength = 0;
    if (!loaded())
        return Result::Offline;
    // A file cut short before the position lost what the tape held there; it has not ended.
    if (!stream.settle() || position_ > imageSize())
        return Result::FileError;
    Element element = elementAt(position_);
    // A mark or the end of the data ends a job's file: the file is checked there, so that a cut is
    // not taken for the end and a removed image is noticed. A file grown since is looked at again.
    if (element.kind == Kind::Mark || element.kind == Kind::End) {
        const qint64 known = imageSize();
        if (!stream.inPlace(position_))
            return Result::FileError;
        if (imageSize() != known)
            element = elementAt(position_);
    }
    switch (element.kind) {
    case Kind::End:
        return Result::EndOfData;
    case Kind::Damaged:
        return Result::Damaged;
    case Kind::Mark:
        position_ = element.end;
        return Result::FileMark;
    case Kind::BadRecord:
        // A drive passes a block it could not read and reports the error.
        position_ = element.end;
        return Result::Damaged;
    case Kind::Record:
        break;
    }
    // No drive hands over a block this long; the caller could not even be told its length.
    if (element.length > std::numeric_limits<int>::max())
        return Result::Damaged;
    const qint64 copied = std::min<qint64>(element.length, std::max(bufferLength, 0));
    if (!readAt(element.dataOffset, buffer, copied))
        return Result::FileError;
    position_ = element.end;
    *recordLength = static_cast<int>(element.length);
    return element.length > bufferLength ? Result::BlockTooLong : Result::Ok;
}

TapeImage::Result TapeImage::writeRecord(const char* data, int length)
{
    const Result writable = checkWritable();
    if (writable != Result::Ok)
        return writable;
    if (length < 1 || length > maximumRecordLength())
        return Result::BlockTooLong;
    const qint64 end = position_ + recordSpace(length);
    if (end > capacity())
        return Result::EndOfMedium;
    if (!put(data, length, false))
        return Result::FileError;
    position_ = end;
    return end > earlyWarningPosition() ? Result::EarlyWarning : Result::Ok;
}

TapeImage::Result TapeImage::writeFileMarks(int count, int* written)
{
    *written = 0;
    const Result writable = checkWritable();
    if (writable != Result::Ok)
        return writable;
    for (; *written < count; ++*written) {
        const qint64 end = position_ + markSpace();
        if (end > capacity())
            return Result::EndOfMedium;
        if (!put(nullptr, 0, true))
            return Result::FileError;
        position_ = end;
    }
    return position_ > earlyWarningPosition() ? Result::EarlyWarning : Result::Ok;
}

TapeImage::Result TapeImage::spaceRecords(qint64 count, qint64* spaced)
{
    *spaced = 0;
    if (!loaded())
        return Result::Offline;
    if (!stream.settle())
        return Result::FileError;
    return space(count, false, spaced);
}

TapeImage::Result TapeImage::spaceFileMarks(qint64 count, qint64* spaced)
{
    *spaced = 0;
    if (!loaded())
        return Result::Offline;
    if (!stream.settle())
        return Result::FileError;
    return space(count, true, spaced);
}

TapeImage::Result TapeImage::space(qint64 count, bool marksOnly, qint64* spaced)
{
    const bool forward = count >= 0;
    const qint64 wanted = forward ? count : -count;
    while (*spaced < wanted) {
        if (!forward && position_ == 0)
            return Result::BeginningOfTape;
        const Element element = forward ? elementAt(position_) : elementBefore(position_);
        if (element.kind == Kind::End)
            return forward ? Result::EndOfData : Result::BeginningOfTape;
        if (element.kind == Kind::Damaged)
            return Result::Damaged;
        // Backward over an element ends on its beginning-of-tape side.
        position_ = forward ? element.end : element.start;
        const bool mark = element.kind == Kind::Mark;
        if (mark && !marksOnly)
            return Result::FileMark;
        if (mark == marksOnly)
            ++*spaced;
    }
    return Result::Ok;
}

TapeImage::Result TapeImage::spaceToEndOfData()
{
    if (!loaded())
        return Result::Offline;
    if (!stream.settle())
        return Result::FileError;
    for (;;) {
        const Element element = elementAt(position_);
        if (element.kind == Kind::End)
            return Result::Ok;
        if (element.kind == Kind::Damaged)
            return Result::Damaged;
        position_ = element.end;
    }
}

TapeImage::Result TapeImage::rewind()
{
    if (!loaded())
        return Result::Offline;
    position_ = 0;
    return stream.settle() ? Result::Ok : Result::FileError;
}

TapeImage::Result TapeImage::unload()
{
    position_ = 0;
    persistOffline(true);
    return stream.settle() ? Result::Ok : Result::FileError;
}

TapeImage::Result TapeImage::load()
{
    position_ = 0;
    persistOffline(false);
    return stream.settle() ? Result::Ok : Result::FileError;
}

void TapeImage::persistOffline(bool offline)
{
    if (settings.offline == offline)
        return;
    settings.offline = offline;
    TapeImageSettings stored = TapeImageSettings::load(path_);
    stored.offline = offline;
    // Beside a read-only image the state lasts only as long as this process.
    (void)stored.save(path_);
}

TapeImage::Result TapeImage::erase()
{
    const Result writable = checkWritable();
    if (writable != Result::Ok)
        return writable;
    const bool erased = stream.settle() && stream.inPlace(position_) && stream.truncate(position_);
    return erased ? Result::Ok : Result::FileError;
}
