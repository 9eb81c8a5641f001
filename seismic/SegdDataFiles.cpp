#include "base/ObrConsole.h"
#include "devices/DiskDevice.h"
#include "seismic/SegdData.h"
#include "seismic/SegdFolder.h"

#include <QFileInfo>
#include <QMutexLocker>

// Everything that belongs to the current file, so a file that fails leaves the data set as
// it was.
struct SegdData::FileState {
    std::unique_ptr<ObrDevice> device;
    Headers headers;
    std::vector<SegdTraceHeaderRecord> records;
    int traceCount = 0;
    int tracesPerRecord = 0;
    int fileSamples = 0;
    int samples = 0;
    float sampleInterval = 0;
    float recordLength = 0;
};

SegdData::FileState SegdData::takeFileState()
{
    FileState state;
    state.device = std::move(device_);
    state.headers = std::move(headers_);
    state.records = std::move(traceHeaderRecords_);
    state.traceCount = traceCount_;
    state.tracesPerRecord = tracesPerRecord_;
    state.fileSamples = fileSamples_;
    state.samples = samples_;
    state.sampleInterval = sampleInterval_;
    state.recordLength = recordLength_;
    headers_ = Headers();
    traceHeaderRecords_.clear();
    return state;
}

void SegdData::restoreFileState(FileState& state)
{
    device_ = std::move(state.device);
    window_.clear();
    fileSize_ = device_ ? device_->size() : 0;
    headers_ = std::move(state.headers);
    traceHeaderRecords_ = std::move(state.records);
    traceCount_ = state.traceCount;
    tracesPerRecord_ = state.tracesPerRecord;
    fileSamples_ = state.fileSamples;
    samples_ = state.samples;
    sampleInterval_ = state.sampleInterval;
    recordLength_ = state.recordLength;
    rewindTraces();
}

bool SegdData::switchToFile(const QString& path, bool sameAsFirst)
{
    std::unique_ptr<ObrDevice> device(new DiskDevice(console_, path, 0));
    if (!device->ok()) {
        status_ = device->status();
        return false;
    }
    FileState previous = takeFileState();
    device_ = std::move(device);
    if (reloadHeaders() && (!sameAsFirst || matchesFirstFile()))
        return true;
    // With no file to go back to, what could be read of this one stays to be shown.
    if (previous.device)
        restoreFileState(previous);
    return false;
}

bool SegdData::matchesFirstFile()
{
    // A relative tolerance: intervals and lengths are decimal fractions stored in binary.
    const auto same = [](double value, double first) {
        return value >= first * 0.9999 && value <= first * 1.0001;
    };
    if (!same(sampleInterval_, firstSampleInterval_))
        return fail(
            QStringLiteral("Sample interval changed - all files must use the same sample interval. "));
    if (!same(recordLength_, firstRecordLength_))
        return fail(
            QStringLiteral("Record length of traces changed - all files must use the same trace length. "));
    return true;
}

void SegdData::listFiles(const QString& path)
{
    const QFileInfo info(path);
    // Outside directory mode the data set is the one file: its folder is not read at all.
    QStringList names =
        directoryMode_ ? SegdFolder::list(info.absolutePath(), console_).names : QStringList();
    if (!names.contains(info.fileName()))
        names = QStringList{info.fileName()};
    QMutexLocker lock(&fileMutex_);
    directory_ = info.absolutePath();
    fileList_ = names;
}

QStringList SegdData::fileList() const
{
    QMutexLocker lock(&fileMutex_);
    return fileList_;
}

bool SegdData::hasNextFile() const
{
    QMutexLocker lock(&fileMutex_);
    return nextFileIndex_ < fileList_.size();
}

bool SegdData::open(const QString& path)
{
    ok_ = false;
    listFiles(path);
    const QStringList files = fileList();
    recordCount_ = files.size();
    // The device given at construction may already be on path.
    const bool opened = device_ && device_->ok() && device_->path() == path;
    if (!(opened ? reloadHeaders() : switchToFile(path, false)))
        return false;
    const int index = int(files.indexOf(QFileInfo(path).fileName()));
    nextFileIndex_ = index + 1;
    firstSampleInterval_ = sampleInterval_;
    firstRecordLength_ = recordLength_;
    currentRecord_ = index + 1;
    recordRead_ = false;
    ok_ = true;
    return true;
}

bool SegdData::openNextFile()
{
    int index = 0;
    QString path;
    {
        QMutexLocker lock(&fileMutex_);
        if (nextFileIndex_ >= fileList_.size()) {
            status_ = ObrDevice::OutOfRange;
            return false;
        }
        index = nextFileIndex_++;
        path = directory_ + QLatin1Char('/') + fileList_[index];
    }
    if (!switchToFile(path, true))
        return false;
    currentRecord_ = index + 1;
    return true;
}
