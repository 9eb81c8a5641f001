#include "seismic/SegyTraceDump.h"

#include "seismic/HeaderDataType.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyTraceExtension.h"
#include "seismic/SeismicTrace.h"
#include "seismic/TraceKey.h"

#include <QDateTime>
#include <algorithm>
#include <vector>

namespace SegyTraceDump {

namespace {

// By HeaderDataType code.
const char* typeNames[] = {"int8",   "int16", "int32",  "ibm",    "ieee",
                           "uint16", "int64", "uint32", "uint64", "double"};
static_assert(sizeof typeNames / sizeof typeNames[0] == HeaderDataType::codeCount, "a name for every type");

// The format's words, with those of extension 1 the format does not list when the header holds it.
QVector<SegyFormat::HeaderWord> shownWords(const SegyFormat& format, bool extended)
{
    QVector<SegyFormat::HeaderWord> words = format.headerWords;
    if (extended) {
        for (const SegyFormat::HeaderWord& word : SegyFormat::extensionOneHeaderWords()) {
            if (!words.contains(word))
                words.append(word);
        }
    }
    std::stable_sort(words.begin(), words.end(),
                     [](const SegyFormat::HeaderWord& a, const SegyFormat::HeaderWord& b) {
                         return a.startByte < b.startByte;
                     });
    return words;
}

} // namespace

bool read(SegyData& data, int number, Dump& out)
{
    out = Dump();
    const SegyFormat* format = data.format();
    const auto trace = data.makeTrace();
    if (!format || !trace || !data.seekSequentialTrace(number))
        return false;
    std::vector<char> bytes(size_t(std::max(data.traceLength(), 0)));
    // The raw bytes first, then the full decoding of the same trace.
    if (!data.readTraceInto(bytes.data(), *trace) || !data.seekSequentialTrace(number) ||
        !data.readTrace(*trace))
        return false;

    out.number = number;
    out.position = trace->filePosition;
    const qint64 headerLength = SegyTraceExtension::headerLength(data);
    const bool extended = SegyTraceExtension::holdsExtensionOne(bytes.data(), headerLength);
    for (const SegyFormat::HeaderWord& word : shownWords(*format, extended)) {
        const double value = HeaderDataType::readValue(bytes.data(), headerLength, word.startByte, word.type,
                                                       data.swapBytes());
        const bool known = word.type >= 0 && word.type < HeaderDataType::codeCount;
        // 64-bit words in full: 'g' would round them to 10 digits.
        const bool wide = HeaderDataType::size(word.type) == 8;
        out.words.append({word.startByte, QString::fromLatin1(known ? typeNames[word.type] : "?"), word.name,
                          wide ? HeaderDataType::text(value, word.type) : QString::number(value, 'g', 10)});
    }
    if (extended)
        out.words.append({SegyTraceExtension::nameStartByte, QStringLiteral("text"),
                          QStringLiteral("Extension 1 header name"), QStringLiteral("SEG00001")});
    for (const TraceKey::Info& info : TraceKey::table) {
        if (TraceKey::isStored(info.key))
            out.keys.append({info.key, QString::fromLatin1(info.name), trace->value(info.key)});
    }
    out.coordinateScalar = trace->coordinateScalar;
    out.elevationScalar = trace->elevationScalar;
    out.timeScalar = trace->timeScalar;
    out.recordingDelay = trace->startTime;
    out.acquisitionTime =
        trace->timestamp ? QDateTime::fromMSecsSinceEpoch(trace->timestamp, Qt::UTC).toString(Qt::ISODate)
                         : QStringLiteral("unknown");
    return true;
}

bool lines(SegyData& data, int number, QStringList& out)
{
    out.clear();
    Dump dump;
    if (!read(data, number, dump))
        return false;
    out << QStringLiteral("Trace %1 at byte %2").arg(number).arg(dump.position)
        << QStringLiteral("Header words:");
    for (const Word& word : qAsConst(dump.words))
        out << QStringLiteral("  %1 %2 %3 %4")
                   .arg(word.startByte, 4)
                   .arg(word.type, -6)
                   .arg(word.name, -46)
                   .arg(word.value);
    out << QStringLiteral("Decoded keys:");
    for (const Key& key : qAsConst(dump.keys))
        out << QStringLiteral("  %1 %2 %3").arg(key.key, 3).arg(key.name, -26).arg(key.value, 0, 'g', 12);
    out << QStringLiteral("  Coordinate scalar %1, elevation scalar %2, time scalar %3")
               .arg(dump.coordinateScalar)
               .arg(dump.elevationScalar)
               .arg(dump.timeScalar)
        << QStringLiteral("  Recording delay %1 ms, acquisition time %2")
               .arg(dump.recordingDelay)
               .arg(dump.acquisitionTime);
    return true;
}

} // namespace SegyTraceDump
