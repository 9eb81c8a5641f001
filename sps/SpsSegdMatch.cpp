#include "sps/SpsSegdMatch.h"

#include "seismic/SegdData.h"
#include "seismic/SegdReader.h"
#include "seismic/SeismicTrace.h"
#include "seismic/TraceGather.h"

#include <QFileInfo>
#include <QMap>
#include <algorithm>
#include <cmath>

bool SpsFieldFileShot::read(const QString& file, ObrConsole* console)
{
    path = file;
    const std::unique_ptr<SegdData> data = SegdReader::open(file, console);
    if (!data || !data->ok())
        return false;
    fieldFile = data->generalHeader().fieldFile;
    sourceLine = data->sourceLine();
    sourcePoint = data->sourceLocation();
    TraceGather gather(data.get());
    if (!data->readRecord(gather))
        return false;
    receivers.clear();
    for (const SegdTraceHeaderRecord& record : data->traceHeaderRecords()) {
        const SegdBytes header = record.bytes();
        const int set = SegdTraceHeaderRecord::channelSet(header);
        const auto& sets = data->channelSets();
        // Auxiliary traces have no receiver.
        if (std::none_of(sets.begin(), sets.end(),
                         [set](const SegdChannelSet& each) { return each.number == set && each.seismic(); }))
            continue;
        const bool extended = SegdTraceHeaderRecord::extensions(header) > 0 &&
                              header.size() >= SegdTraceHeaderRecord::headerBytes + 6;
        receivers.append(extended ? qMakePair(qint32(SegdTraceHeaderRecord::receiverLine(header)),
                                              qint32(SegdTraceHeaderRecord::receiverPoint(header)))
                                  : qMakePair(0, 0));
    }
    return true;
}

QString SpsSegdMatch::kindName(Kind kind)
{
    static const char* const names[kindCount]{"missing-field-file", "no-relation", "source-differs",
                                              "receivers-differ", "channel-count"};
    return QString::fromLatin1(names[int(kind)]);
}

QString SpsSegdMatch::kindTitle(Kind kind)
{
    static const char* const titles[kindCount]{"X records without a field file",
                                               "Field files without an X record", "Sources that differ",
                                               "Receivers that differ", "Channel counts that differ"};
    return QString::fromLatin1(titles[int(kind)]);
}

SpsSegdMatch::SpsSegdMatch(const QVector<SpsFieldFileShot>& shots, const SpsSurvey& survey)
{
    QMap<qint32, QVector<SpsSurvey::Relation>> byRecord;
    for (const SpsSurvey::Relation& relation : survey.relations)
        byRecord[relation.record].append(relation);
    QMap<int, QString> seen;
    for (const SpsFieldFileShot& shot : shots) {
        const QString name = QFileInfo(shot.path).fileName();
        if (seen.contains(shot.fieldFile))
            continue;
        seen.insert(shot.fieldFile, name);
        const auto relations = byRecord.constFind(shot.fieldFile);
        if (relations == byRecord.cend())
            add(Kind::NoRelation, shot.fieldFile,
                QStringLiteral("FFID %1 (%2): no X record %1").arg(shot.fieldFile).arg(name));
        else
            compare(shot, *relations);
    }
    for (auto record = byRecord.cbegin(); record != byRecord.cend(); ++record) {
        if (!seen.contains(record.key()))
            add(Kind::MissingFieldFile, record.key(),
                QStringLiteral("X line %1: record %2 has no field file")
                    .arg(record->first().fileLine)
                    .arg(record.key()));
    }
    std::stable_sort(findings_.begin(), findings_.end(), [](const Finding& a, const Finding& b) {
        return std::tie(a.kind, a.fieldFile) < std::tie(b.kind, b.fieldFile);
    });
}

void SpsSegdMatch::add(Kind kind, int fieldFile, const QString& text)
{
    ++counts[size_t(kind)];
    findings_.append({kind, fieldFile, text});
}

void SpsSegdMatch::compare(const SpsFieldFileShot& shot, const QVector<SpsSurvey::Relation>& relations)
{
    const SpsSurvey::Relation& first = relations.first();
    const QString place = QStringLiteral("FFID %1 (X line %2): ").arg(shot.fieldFile).arg(first.fileLine);
    // A field file that names no source leaves nothing to compare.
    if ((shot.sourceLine != 0 || shot.sourcePoint != 0) &&
        (qint32(shot.sourceLine) != first.sourceLine || qint32(shot.sourcePoint) != first.sourcePoint))
        add(Kind::SourceDiffers, shot.fieldFile,
            place + QStringLiteral("source %1 %2 in SEG-D, %3 %4 in X")
                        .arg(shot.sourceLine)
                        .arg(shot.sourcePoint)
                        .arg(first.sourceLine)
                        .arg(first.sourcePoint));
    // Channel -> receiver, spread evenly over each record's receivers.
    QMap<qint64, QPair<qint32, qint32>> expected;
    for (const SpsSurvey::Relation& relation : relations) {
        const qint64 channels = std::max<qint64>(
            1, (qint64(relation.toChannel) - relation.fromChannel) / relation.channelIncrement + 1);
        const double step =
            channels > 1 ? double(relation.toReceiver - relation.fromReceiver) / double(channels - 1) : 0;
        for (qint64 k = 0; k < channels && expected.size() <= shot.receivers.size() + 1; ++k)
            expected.insert(
                relation.fromChannel + k * relation.channelIncrement,
                qMakePair(relation.receiverLine, qint32(std::lround(relation.fromReceiver + k * step))));
    }
    if (expected.size() != shot.receivers.size())
        add(Kind::ChannelCount, shot.fieldFile,
            place + QStringLiteral("%1 seismic traces in SEG-D, %2 channels in X")
                        .arg(shot.receivers.size())
                        .arg(expected.size()));
    int differ = 0;
    QString firstDiffer;
    int channel = 0;
    for (auto at = expected.cbegin(); at != expected.cend() && channel < shot.receivers.size();
         ++at, ++channel) {
        const QPair<qint32, qint32> found = shot.receivers[channel];
        if (found == qMakePair(0, 0) || found == at.value())
            continue;
        if (differ++ == 0)
            firstDiffer = QStringLiteral("channel %1: %2 %3 in SEG-D, %4 %5 in X")
                              .arg(at.key())
                              .arg(found.first)
                              .arg(found.second)
                              .arg(at.value().first)
                              .arg(at.value().second);
    }
    if (differ > 0)
        add(Kind::ReceiversDiffer, shot.fieldFile,
            place + QStringLiteral("%1 of %2 receivers differ (first %3)")
                        .arg(differ)
                        .arg(channel)
                        .arg(firstDiffer));
}

QStringList SpsSegdMatch::report(int most) const
{
    QStringList lines{QStringLiteral("%1 finding%2")
                          .arg(findings_.size())
                          .arg(findings_.size() == 1 ? QString() : QStringLiteral("s"))};
    int index = 0;
    for (int k = 0; k < kindCount; ++k) {
        lines << QStringLiteral("%1: %2").arg(kindTitle(Kind(k))).arg(counts[size_t(k)]);
        for (int i = 0; i < std::min(most, counts[size_t(k)]); ++i)
            lines << QStringLiteral("  ") + findings_[index + i].text;
        if (counts[size_t(k)] > most)
            lines << QStringLiteral("  ... %1 more").arg(counts[size_t(k)] - most);
        index += counts[size_t(k)];
    }
    return lines;
}
