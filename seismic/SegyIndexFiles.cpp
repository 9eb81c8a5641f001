#include "seismic/SegyIndexFiles.h"

#include "base/ObrConsole.h"
#include "devices/ObrDevice.h"
#include "seismic/SampleConversion.h"
#include "seismic/SegyData.h"
#include "seismic/SegyTraceIndex.h"
#include "seismic/SortOrder.h"
#include "seismic/TraceKey.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QMetaType>
#include <QSaveFile>
#include <QVariant>
#include <memory>

namespace {

constexpr QDataStream::Version streamVersion = QDataStream::Qt_5_15;
constexpr qint32 firstVersionWithFloatBytes = 4;
constexpr qint32 firstVersionWithScalars = 10;
// More traces than this are no index of a real file.
constexpr qint32 maxEntries = 1 << 26;

void writeDescription(QDataStream& out, const SegyData& data)
{
    out << qint32(data.traceCount()) << qint32(data.recordCount()) << qint32(data.samples())
        << qint32(data.tracesPerRecord()) << data.bytesPerSample() << qint32(data.sampleFormat())
        << data.sampleInterval() << qint32(data.traceLength());
}

// The description as stored; the data set it belongs to must agree on the trace layout.
struct Description {
    qint32 traceCount = 0, recordCount = 0, samples = 0, tracesPerRecord = 0;
    float bytesPerSample = 0;
    qint32 sampleFormat = 0;
    float sampleInterval = 0;
    qint32 traceLength = 0;
};

Description readDescription(QDataStream& in, qint32 version)
{
    Description d;
    in >> d.traceCount >> d.recordCount >> d.samples >> d.tracesPerRecord;
    if (version < firstVersionWithFloatBytes) {
        qint32 bytes = 0;
        in >> bytes;
        d.bytesPerSample = bytes >= 1 && bytes <= 8 ? float(bytes) : 4.0f;
    } else {
        in >> d.bytesPerSample;
    }
    in >> d.sampleFormat >> d.sampleInterval >> d.traceLength;
    return d;
}

bool fits(const Description& d, const SegyData& data)
{
    return d.traceCount == data.traceCount() && d.traceLength == data.traceLength();
}

void writeColumnKeys(QDataStream& out)
{
    out << qint32(SegyTraceIndex::columnCount);
    for (int key : SegyTraceIndex::columnKeys)
        out << qint32(key);
}

// A vector as the stream writes it (count, then the items); false when the count is beyond
// `limit` or the stream failed. The stream's own reader would make room for any count first.
template <typename T> bool readVector(QDataStream& in, QVector<T>* items, int limit)
{
    quint32 count = 0;
    in >> count;
    if (in.status() != QDataStream::Ok || count > quint32(limit))
        return false;
    items->resize(int(count));
    for (T& item : *items)
        in >> item;
    return in.status() == QDataStream::Ok;
}

// One value of an index file row: a variant holding a 64-bit float, as written. Taken apart by
// hand (type, null flag, value), so that a damaged file never makes the stream build a value of
// some other type. False when the type is another or the stream failed.
bool readStoredNumber(QDataStream& in, double* value)
{
    quint32 type = 0;
    qint8 null = 0;
    in >> type >> null;
    if (in.status() != QDataStream::Ok || type != QMetaType::Double)
        return false;
    in >> *value;
    return in.status() == QDataStream::Ok;
}

// The entry points at a whole trace of the data set and numbers one of its traces.
bool insideDataSet(const SegyTraceIndex::Entry& entry, const SegyData& data)
{
    return entry.filePosition >= data.dataStart() &&
           entry.filePosition <= data.device()->size() - data.traceLength() && entry.fileTrace >= 1 &&
           entry.fileTrace <= data.traceCount();
}

QString outsideDataSet(int entry)
{
    return QStringLiteral("\ntrace entry %1 lies outside the data set").arg(entry + 1);
}

} // namespace

bool SegyIndexFiles::saveBackup(SegyData& data, const QString& path)
{
    ObrConsole* console = data.console();
    SegyTraceIndex* index = data.index();
    QSaveFile file(path);
    if (!index || !file.open(QIODevice::WriteOnly)) {
        console->error(QStringLiteral("error creating index backup file: ") + path, true);
        return false;
    }
    QDataStream out(&file);
    out.setVersion(streamVersion);
    out << backupType << backupVersion << data.indexName();
    writeDescription(out, data);
    out << qint32(index->traceCount());
    writeColumnKeys(out);
    for (const SegyTraceIndex::Entry& entry : index->entries) {
        out << entry.filePosition << entry.fileTrace << entry.scalars[0] << entry.scalars[1]
            << entry.scalars[2];
        for (double value : entry.values)
            out << value;
    }
    const SortOrder* order = data.sortOrder();
    out << qint32(order ? order->code : -1) << (order ? order->keys : QVector<int>())
        << (order ? order->minimum : QVector<double>()) << (order ? order->maximum : QVector<double>())
        << bool(order && order->ready);
    out << QVector<int>(index->recordStartList().begin(), index->recordStartList().end());
    if (out.status() != QDataStream::Ok || !file.flush() || !file.commit()) {
        console->error(QStringLiteral("error creating index backup file: ") + path, true);
        return false;
    }
    return true;
}

bool SegyIndexFiles::readEntries(QDataStream& in, qint32 version, SegyTraceIndex& index,
                                 const QString& fileName, SegyData& data)
{
    ObrConsole* console = data.console();
    qint32 count = 0;
    qint32 columns = 0;
    in >> count >> columns;
    if (count < 0 || count > maxEntries || count != data.traceCount()) {
        console->error(QStringLiteral("Unable to allocate memory for more trace headers."), true);
        return false;
    }
    if (columns < 0 || columns > TraceKey::count) {
        console->error(QStringLiteral("Unable to allocate memory for sorting keys."), true);
        return false;
    }
    QVector<qint32> keys(columns);
    for (qint32& key : keys)
        in >> key;
    index.entries.resize(size_t(count));
    for (int i = 0; i < count; ++i) {
        SegyTraceIndex::Entry& entry = index.entries[size_t(i)];
        in >> entry.filePosition >> entry.fileTrace;
        if (version >= firstVersionWithScalars)
            in >> entry.scalars[0] >> entry.scalars[1] >> entry.scalars[2];
        for (qint32 key : keys) {
            double value = 0;
            in >> value;
            entry.setValue(key, value);
        }
        if (in.status() != QDataStream::Ok)
            break;
        if (!insideDataSet(entry, data)) {
            console->error(QStringLiteral("error opening .indxbak file: ") + fileName + outsideDataSet(i),
                           true);
            return false;
        }
    }
    if (in.status() != QDataStream::Ok) {
        console->error(QStringLiteral("error opening .indxbak file: ") + fileName, true);
        return false;
    }
    return true;
}

bool SegyIndexFiles::loadBackup(SegyData& data, const QString& path)
{
    const QString fileName = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        data.console()->error(QStringLiteral("error opening .indxbak file: ") + fileName, true);
        return false;
    }
    return loadBackup(data, file, fileName);
}

bool SegyIndexFiles::loadBackup(SegyData& data, QIODevice& device, const QString& fileName)
{
    ObrConsole* console = data.console();
    QDataStream in(&device);
    in.setVersion(streamVersion);
    quint32 type = 0;
    qint32 version = 0;
    in >> type;
    if (type != backupType) {
        console->error(fileName +
                           QStringLiteral(" file type error - \nthis does not appear to be a .indxbak file."),
                       true);
        return false;
    }
    in >> version;
    if (version < 1 || version > backupVersion) {
        console->error(fileName +
                           QStringLiteral(" file version error - \nthis software release does not support "
                                          "version %1 of the .indxbak file.")
                               .arg(version),
                       true);
        return false;
    }
    QString name;
    in >> name;
    if (name != data.indexName()) {
        console->error(
            fileName +
                QStringLiteral(
                    " file name error - \nthis internal dataset name for this .indxbak file is: ") +
                name,
            true);
        return false;
    }
    const Description description = readDescription(in, version);
    auto index = std::make_unique<SegyTraceIndex>();
    if (in.status() != QDataStream::Ok || !fits(description, data)) {
        console->error(QStringLiteral("error opening .indxbak file: ") + fileName, true);
        return false;
    }
    if (!readEntries(in, version, *index, fileName, data))
        return false;
    qint32 code = -1;
    QVector<int> keys;
    QVector<double> minimum;
    QVector<double> maximum;
    bool ready = false;
    QVector<int> starts;
    in >> code;
    const bool lists = readVector(in, &keys, TraceKey::count) && readVector(in, &minimum, TraceKey::count) &&
                       readVector(in, &maximum, TraceKey::count);
    in >> ready;
    if (!lists || !readVector(in, &starts, index->traceCount()) || minimum.size() != keys.size() ||
        maximum.size() != keys.size() ||
        !index->setRecordStarts(std::vector<int>(starts.begin(), starts.end()))) {
        console->error(QStringLiteral("error opening .indxbak file: ") + fileName, true);
        return false;
    }
    auto order = std::make_unique<SortOrder>(keys);
    order->code = code;
    order->minimum = minimum;
    order->maximum = maximum;
    order->ready = ready;
    data.adoptIndex(std::move(index), std::move(order));
    return true;
}

bool SegyIndexFiles::writeIndex(SegyData& data, const QString& path)
{
    ObrConsole* console = data.console();
    const SegyTraceIndex* index = data.index();
    QSaveFile file(path);
    if (!index || !file.open(QIODevice::WriteOnly)) {
        console->error(QStringLiteral("error opening index file."), true);
        return false;
    }
    QDataStream out(&file);
    out.setVersion(streamVersion);
    writeDescription(out, data);
    // The ranges the analyzer keeps for the data set, by column.
    writeColumnKeys(out);
    for (int key : SegyTraceIndex::columnKeys) {
        const SegyTraceIndex::Range range = index->range(key);
        out << range.minimum << range.maximum;
    }
    const int total = index->traceCount();
    console->initProgress(QStringLiteral("Writing SEGY index for %1").arg(data.indexName()), 100, false);
    int step = 0;
    for (int i = 0; i < total; ++i) {
        const SegyTraceIndex::Entry& entry = index->entries[size_t(i)];
        out << QVariant(double(entry.filePosition)) << QVariant(double(entry.fileTrace));
        for (double value : entry.values)
            out << QVariant(value);
        const int percent = int(qint64(i + 1) * 100 / total);
        if (percent != step) {
            step = percent;
            console->updateProgress(step);
            QCoreApplication::processEvents();
        }
    }
    out << QVector<int>(index->recordStartList().begin(), index->recordStartList().end());
    console->clearProgress();
    if (out.status() != QDataStream::Ok || !file.flush() || !file.commit()) {
        console->error(QStringLiteral("error opening index file."), true);
        return false;
    }
    return true;
}

bool SegyIndexFiles::readIndex(SegyData& data, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        data.console()->error(QStringLiteral("error opening index file."), true);
        return false;
    }
    return readIndex(data, file, path);
}

bool SegyIndexFiles::readIndex(SegyData& data, QIODevice& device, const QString& path)
{
    ObrConsole* console = data.console();
    QDataStream in(&device);
    in.setVersion(streamVersion);
    const Description description = readDescription(in, backupVersion);
    qint32 columns = 0;
    in >> columns;
    if (in.status() != QDataStream::Ok || !fits(description, data) ||
        columns != SegyTraceIndex::columnCount) {
        console->error(QStringLiteral("error opening index file."), true);
        return false;
    }
    bool sameColumns = true;
    for (int key : SegyTraceIndex::columnKeys) {
        qint32 stored = 0;
        in >> stored;
        sameColumns = sameColumns && stored == key;
    }
    // The stored ranges serve other readers; ours come from the entries themselves.
    for (qint32 c = 0; c < 2 * columns; ++c) {
        double bound = 0;
        in >> bound;
    }
    if (!sameColumns) {
        console->error(QStringLiteral("error opening index file."), true);
        return false;
    }
    auto index = std::make_unique<SegyTraceIndex>();
    index->entries.resize(size_t(description.traceCount));
    console->initProgress(QStringLiteral("Reading SEGY index file\n   %1").arg(path), 100, false);
    QString fault;
    int step = 0;
    for (int i = 0; i < description.traceCount && in.status() == QDataStream::Ok && fault.isEmpty(); ++i) {
        SegyTraceIndex::Entry& entry = index->entries[size_t(i)];
        double position = 0;
        double fileTrace = 0;
        bool numbers = readStoredNumber(in, &position) && readStoredNumber(in, &fileTrace);
        for (double& value : entry.values)
            numbers = numbers && readStoredNumber(in, &value);
        entry.filePosition = SampleConversion::truncateToInteger(position);
        entry.fileTrace = SampleConversion::truncateToInt32(fileTrace);
        if (in.status() != QDataStream::Ok)
            break;
        if (!numbers)
            fault = QStringLiteral("\ntrace entry %1 holds a value that is not a number").arg(i + 1);
        else if (!insideDataSet(entry, data))
            fault = outsideDataSet(i);
        const int percent = int(qint64(i + 1) * 100 / description.traceCount);
        if (percent != step) {
            step = percent;
            console->updateProgress(step);
        }
    }
    QVector<int> starts;
    const bool startsRead = fault.isEmpty() && readVector(in, &starts, index->traceCount());
    console->clearProgress();
    if (!startsRead || !index->setRecordStarts(std::vector<int>(starts.begin(), starts.end()))) {
        console->error(QStringLiteral("error opening index file.") + fault, true);
        return false;
    }
    data.adoptIndex(std::move(index), nullptr);
    return true;
}
