#include "base/WholeFile.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The temporary files being written, for removal from a signal handler: a fixed table, so that
// nothing is allocated or locked there. More files at once than slots only lose that removal.
constexpr int pendingSlots = 64;
std::atomic<const char*> pending[pendingSlots];

static_assert(std::atomic<const char*>::is_always_lock_free, "the table is read in a signal handler");

int takeSlot(const char* name)
{
    for (int k = 0; k < pendingSlots; ++k) {
        const char* none = nullptr;
        if (pending[k].compare_exchange_strong(none, name))
            return k;
    }
    return -1;
}

QString systemReason(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

} // namespace

WholeFile::WholeFile(const QString& path) : path(path) {}

WholeFile::~WholeFile()
{
    discard();
}

void WholeFile::setFileName(const QString& name)
{
    discard();
    path = name;
}

bool WholeFile::open()
{
    discard();
    error.clear();
    const QFileInfo info(path);
    target = info.isSymLink() && info.exists() ? info.canonicalFilePath() : path;
    const QFileInfo written(target);
    if (written.isDir()) {
        error = systemReason(EISDIR);
        return false;
    }
    direct = written.exists() && !written.isFile();
    if (direct) {
        file.setFileName(target);
        if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return true;
        error = file.errorString();
        return false;
    }
    const QDir folder = written.dir();
    // Hidden, so that folder listings (and a copy watching the folder) pass it over.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name =
            QStringLiteral(".%1.%2.part")
                .arg(written.fileName())
                .arg(QRandomGenerator::global()->generate() & 0xFFFFFF, 6, 16, QLatin1Char('0'));
        file.setFileName(folder.filePath(name));
        // Known to a hard interrupt before it exists, so that no moment leaves it behind.
        pendingName = QFile::encodeName(file.fileName());
        slot = takeSlot(pendingName.constData());
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
            // A replaced file keeps its permissions; a new one gets those the umask leaves.
            struct stat existing = {};
            if (::stat(QFile::encodeName(target).constData(), &existing) == 0)
                static_cast<void>(::fchmod(file.handle(), existing.st_mode & 07777));
            return true;
        }
        forget();
        if (!file.exists())
            break;
    }
    error = file.errorString();
    return false;
}

bool WholeFile::write(const char* data, qint64 length)
{
    if (direct) {
        const BackgroundIo::Outcome done = BackgroundIo::writeAll(file.handle(), data, length);
        if (done.error != 0)
            failed(done.error);
        return done.error == 0;
    }
    while (length > 0) {
        const qint64 room = gathered - gathering[filling].size;
        if (room <= 0) {
            if (!handOff())
                return false;
            continue;
        }
        const qint64 piece = std::min(room, length);
        std::memcpy(gathering[filling].extend(piece), data, size_t(piece));
        data += piece;
        length -= piece;
    }
    return !broken;
}

bool WholeFile::copyFrom(int from, qint64 offset, qint64 length)
{
    if (!direct) {
        // The bytes gathered before go first; copies hold no buffer, but the queue stays short.
        if (!handOff() || !collect(buffers - 1))
            return false;
        const int source = ::dup(from);
        if (source < 0) {
            failed(errno);
            return false;
        }
        writer.startCopy(source, offset, file.handle(), length);
        return true;
    }
    const BackgroundIo::Outcome done = BackgroundIo::copyAll(from, offset, file.handle(), length);
    if (done.error != 0)
        failed(done.error);
    return done.error == 0;
}

char* WholeFile::space(qint64 length)
{
    if (broken || (gathering[filling].size + length > gathered && !handOff()))
        return nullptr;
    return gathering[filling].extend(length);
}

char* WholeFile::Gathered::extend(qint64 length)
{
    if (size + length > capacity) {
        const qint64 grown = std::max(size + length, std::min(2 * capacity + 65536, gathered));
        std::unique_ptr<char[]> larger(new char[size_t(grown)]);
        if (size > 0)
            std::memcpy(larger.get(), bytes.get(), size_t(size));
        bytes = std::move(larger);
        capacity = grown;
    }
    size += length;
    return bytes.get() + size - length;
}

bool WholeFile::handOff()
{
    Gathered& full = gathering[filling];
    if (full.size == 0)
        return !broken;
    // The buffer after this one is free once no more than buffers - 2 writes are queued.
    if (!collect(buffers - 2))
        return false;
    writer.startWrite(file.handle(), full.bytes.get(), full.size);
    filling = (filling + 1) % buffers;
    gathering[filling].size = 0;
    return true;
}

bool WholeFile::collect(int left)
{
    while (writer.queued() > left) {
        const BackgroundIo::Outcome done = writer.wait();
        if (done.error != 0 && !broken) {
            failed(done.error);
            broken = true;
        }
    }
    return !broken;
}

bool WholeFile::drain()
{
    if (!collect(0))
        return false;
    Gathered& last = gathering[filling];
    if (last.size == 0)
        return true;
    const BackgroundIo::Outcome done = BackgroundIo::writeAll(file.handle(), last.bytes.get(), last.size);
    last.size = 0;
    if (done.error != 0) {
        failed(done.error);
        broken = true;
    }
    return !broken;
}

bool WholeFile::seek(qint64 position)
{
    if (!drain())
        return false;
    if (file.seek(position))
        return true;
    error = file.errorString();
    return false;
}

int WholeFile::handle()
{
    static_cast<void>(drain());
    return file.handle();
}

bool WholeFile::commit(bool replace)
{
    if (!file.isOpen()) {
        error = QStringLiteral("nothing was written");
        return false;
    }
    // Bytes that did not reach the file leave it pending, for the owner's discard() to report.
    if (!drain())
        return false;
    file.close();
    if (direct)
        return true;
    const QByteArray name = QFile::encodeName(target);
    int result = 0;
    if (replace) {
        result = std::rename(pendingName.constData(), name.constData());
    } else {
        // A link fails on an existing name, where a rename would replace it; file systems
        // without links get the rename after a look.
        result = ::link(pendingName.constData(), name.constData());
        if (result == 0) {
            ::unlink(pendingName.constData());
        } else if (errno != EEXIST && !QFileInfo::exists(target)) {
            result = std::rename(pendingName.constData(), name.constData());
        } else {
            errno = EEXIST;
        }
    }
    if (result != 0) {
        failed(errno);
        discard();
        return false;
    }
    forget();
    return true;
}

bool WholeFile::discard()
{
    // The file is not closed under a write in flight.
    static_cast<void>(collect(0));
    gathering[filling].size = 0;
    broken = false;
    if (direct) {
        file.close();
        direct = false;
        return false;
    }
    if (pendingName.isEmpty())
        return false;
    file.close();
    ::unlink(pendingName.constData());
    forget();
    return true;
}

void WholeFile::failed(int code)
{
    error = systemReason(code);
}

void WholeFile::forget()
{
    if (slot >= 0)
        pending[slot].store(nullptr);
    slot = -1;
    pendingName.clear();
}

void WholeFile::removeAllPending()
{
    for (std::atomic<const char*>& name : pending) {
        if (const char* path = name.load())
            ::unlink(path);
    }
}

bool WholeFile::write(const QString& path, const QByteArray& bytes, QString* error)
{
    WholeFile file(path);
    if (file.open() && file.write(bytes) && file.commit(true))
        return true;
    if (error)
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return false;
}

bool WholeFile::writePng(const QString& path, const QImage& image, QString* error)
{
    QString problem;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (image.isNull())
        problem = QStringLiteral("there is no picture");
    else if (!writer.write(image))
        problem = writer.errorString();
    if (problem.isEmpty())
        return write(path, bytes, error);
    if (error)
        *error = QStringLiteral("cannot write %1: %2").arg(path, problem);
    return false;
}
