#include "sps/SpsLines.h"

#include "base/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <new>

namespace {

constexpr qint64 readChunk = qint64(1) << 20;

QString tooLarge(const QString& path)
{
    return QStringLiteral("%1 is larger than %2 MiB").arg(path).arg(SpsLines::maximumFileSize >> 20);
}

} // namespace

void SpsLines::clear()
{
    text_.clear();
    starts_.clear();
}

bool SpsLines::read(const QString& path)
{
    clear();
    // Told before a byte is read, so that a refusal costs nothing.
    error_ = RegularFile::refusal(path);
    if (!error_.isEmpty())
        return false;
    const QFileInfo info(path);
    if (info.size() > maximumFileSize) {
        error_ = tooLarge(path);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error_ = QStringLiteral("cannot open %1: %2").arg(path, file.errorString());
        return false;
    }
    QByteArray text;
    try {
        text.reserve(int(info.size()));
        // In pieces: a file that grows while it is read is bounded too.
        for (QByteArray piece = file.read(readChunk); !piece.isEmpty(); piece = file.read(readChunk)) {
            if (text.size() + piece.size() > maximumFileSize) {
                error_ = tooLarge(path);
                return false;
            }
            text.append(piece);
        }
    } catch (const std::bad_alloc&) {
        error_ = QStringLiteral("failed to allocate memory for %1").arg(path);
        return false;
    }
    if (file.error() != QFileDevice::NoError) {
        error_ = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    return setText(text);
}

bool SpsLines::setText(const QByteArray& text)
{
    clear();
    if (text.size() > maximumFileSize) {
        error_ = QStringLiteral("the text is larger than %1 MiB").arg(maximumFileSize >> 20);
        return false;
    }
    const char* const begin = text.constData();
    const char* const end = begin + text.size();
    qint64 lines = 0;
    for (const char* at = begin; at < end; ++lines) {
        const void* feed = std::memchr(at, '\n', size_t(end - at));
        at = feed ? static_cast<const char*>(feed) + 1 : end;
    }
    if (lines > maximumLineCount) {
        error_ = QStringLiteral("more than %1 lines").arg(maximumLineCount);
        return false;
    }
    try {
        starts_.reserve(int(lines) + 1);
        for (const char* at = begin; at < end;) {
            starts_.append(int(at - begin));
            const void* feed = std::memchr(at, '\n', size_t(end - at));
            at = feed ? static_cast<const char*>(feed) + 1 : end;
        }
        starts_.append(text.size() + (text.endsWith('\n') || text.isEmpty() ? 0 : 1));
    } catch (const std::bad_alloc&) {
        clear();
        error_ = QStringLiteral("failed to allocate memory for %1 lines").arg(lines);
        return false;
    }
    text_ = text;
    error_.clear();
    return true;
}

std::string_view SpsLines::line(int index) const
{
    const int begin = starts_[index];
    int end = starts_[index + 1] - 1;
    if (end > begin && text_.at(end - 1) == '\r')
        --end;
    return std::string_view(text_.constData() + begin, size_t(end - begin));
}
