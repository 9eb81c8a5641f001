#include "sps/SpsSurveyCheck.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <tuple>

namespace {

using Kind = SpsFinding::Kind;

// Receivers one relation record may span; beyond it the record is wrong, not the R file.
constexpr qint64 maximumSpread = 100000;

qint32 lineOf(qint64 key)
{
    return qint32(key >> 32);
}

qint32 pointOf(qint64 key)
{
    return qint32(quint32(key & 0xffffffff));
}

QString letter(SpsKind kind)
{
    return QString(SpsKinds::recordLetter(kind));
}

// The most common positive step between neighbouring point numbers; 1 when there is none.
qint32 commonStep(const QVector<qint64>& keys, int begin, int end)
{
    QHash<qint32, int> steps;
    for (int i = begin + 1; i < end; ++i) {
        const qint64 step = qint64(pointOf(keys[i])) - pointOf(keys[i - 1]);
        if (step > 0 && step < INT_MAX)
            ++steps[qint32(step)];
    }
    qint32 best = 1;
    int votes = 0;
    for (auto step = steps.cbegin(); step != steps.cend(); ++step) {
        if (step.value() > votes || (step.value() == votes && step.key() < best)) {
            best = step.key();
            votes = step.value();
        }
    }
    return best;
}

} // namespace

QString SpsFinding::kindName(Kind kind)
{
    static const char* const names[kindCount]{"missing-source",  "missing-receiver",   "channel-count",
                                              "duplicate-point", "duplicate-relation", "coordinate-jump",
                                              "unnamed-record"};
    return QString::fromLatin1(names[int(kind)]);
}

QString SpsFinding::kindTitle(Kind kind)
{
    static const char* const titles[kindCount]{"Relation sources not in S",
                                               "Relation receivers not in R",
                                               "Channel counts that differ from the receiver span",
                                               "Duplicate points",
                                               "Duplicate relations",
                                               "Points far from their line neighbours",
                                               "Records without line, point or channel numbers"};
    return QString::fromLatin1(titles[int(kind)]);
}

SpsSurveyCheck::SpsSurveyCheck(const SpsSurvey& survey)
{
    for (const SpsSurvey::Unnamed& record : survey.unnamed)
        add({Kind::UnnamedRecord, record.kind, record.fileLine,
             QStringLiteral("%1 line %2: no %3")
                 .arg(letter(record.kind))
                 .arg(record.fileLine)
                 .arg(record.field)});
    QVector<int> sourceOrder;
    QVector<int> receiverOrder;
    const QVector<qint64> sourceKeys = sortPoints(survey.sources, SpsKind::Source, &sourceOrder);
    const QVector<qint64> receiverKeys = sortPoints(survey.receivers, SpsKind::Receiver, &receiverOrder);
    sourceSpacing_ = checkJumps(survey.sources, sourceOrder, SpsKind::Source);
    receiverSpacing_ = checkJumps(survey.receivers, receiverOrder, SpsKind::Receiver);
    checkRelations(survey, sourceKeys, receiverKeys);
    checkDuplicateRelations(survey.relations);
    std::stable_sort(findings_.begin(), findings_.end(), [](const SpsFinding& a, const SpsFinding& b) {
        return std::tie(a.kind, a.file, a.line) < std::tie(b.kind, b.file, b.line);
    });
}

void SpsSurveyCheck::add(SpsFinding finding)
{
    ++counts[size_t(finding.kind)];
    findings_.append(std::move(finding));
}

QVector<qint64> SpsSurveyCheck::sortPoints(const QVector<SpsSurvey::Point>& points, SpsKind kind,
                                           QVector<int>* order)
{
    order->resize(points.size());
    std::iota(order->begin(), order->end(), 0);
    const auto keyOf = [&](int i) { return SpsSurvey::key(points[i].line, points[i].point); };
    std::stable_sort(order->begin(), order->end(), [&](int a, int b) { return keyOf(a) < keyOf(b); });
    QVector<qint64> keys;
    keys.reserve(points.size());
    QVector<int> unique;
    unique.reserve(points.size());
    for (int i : *order) {
        const qint64 key = keyOf(i);
        if (!keys.isEmpty() && keys.last() == key) {
            const SpsSurvey::Point& point = points[i];
            add({Kind::DuplicatePoint, kind, point.fileLine,
                 QStringLiteral("%1 line %2: point %3 %4 again (first on line %5)")
                     .arg(letter(kind))
                     .arg(point.fileLine)
                     .arg(point.line)
                     .arg(point.point)
                     .arg(points[unique.last()].fileLine),
                 point.located, point.x, point.y});
            continue;
        }
        keys.append(key);
        unique.append(i);
    }
    *order = unique;
    return keys;
}

double SpsSurveyCheck::checkJumps(const QVector<SpsSurvey::Point>& points, const QVector<int>& order,
                                  SpsKind kind)
{
    // Distances between neighbours on a line, per point number between them.
    const auto neighbours = [&](int a, int b) {
        const SpsSurvey::Point& p = points[order[a]];
        const SpsSurvey::Point& q = points[order[b]];
        return p.line == q.line && p.located && q.located;
    };
    const auto distance = [&](int a, int b) {
        const SpsSurvey::Point& p = points[order[a]];
        const SpsSurvey::Point& q = points[order[b]];
        return std::hypot(p.x - q.x, p.y - q.y);
    };
    const auto numbers = [&](int a, int b) {
        return double(std::max<qint64>(1, qint64(points[order[b]].point) - points[order[a]].point));
    };
    std::vector<double> spacings;
    spacings.reserve(size_t(order.size()));
    for (int i = 1; i < order.size(); ++i) {
        if (neighbours(i - 1, i))
            spacings.push_back(distance(i - 1, i) / numbers(i - 1, i));
    }
    if (spacings.empty())
        return 0;
    auto middle = spacings.begin() + std::ptrdiff_t(spacings.size() / 2);
    std::nth_element(spacings.begin(), middle, spacings.end());
    const double median = *middle;
    if (median <= 0)
        return median;
    const auto far = [&](int a, int b) { return distance(a, b) > jumpFactor * median * numbers(a, b); };
    for (int i = 0; i < order.size(); ++i) {
        const bool before = i > 0 && neighbours(i - 1, i);
        const bool after = i + 1 < order.size() && neighbours(i, i + 1);
        if ((!before && !after) || (before && !far(i - 1, i)) || (after && !far(i, i + 1)))
            continue;
        const SpsSurvey::Point& point = points[order[i]];
        const double nearest =
            std::min(before ? distance(i - 1, i) : INFINITY, after ? distance(i, i + 1) : INFINITY);
        add({Kind::CoordinateJump, kind, point.fileLine,
             QStringLiteral(
                 "%1 line %2: point %3 %4 lies %5 m from its nearest neighbour (median spacing %6 m)")
                 .arg(letter(kind))
                 .arg(point.fileLine)
                 .arg(point.line)
                 .arg(point.point)
                 .arg(nearest, 0, 'f', 1)
                 .arg(median, 0, 'f', 1),
             true, point.x, point.y});
    }
    return median;
}

QVector<SpsSurveyCheck::Line> SpsSurveyCheck::receiverLines(const QVector<qint64>& keys) const
{
    QVector<Line> lines;
    for (int begin = 0; begin < keys.size();) {
        int end = begin + 1;
        while (end < keys.size() && lineOf(keys[end]) == lineOf(keys[begin]))
            ++end;
        lines.append({lineOf(keys[begin]), begin, end, commonStep(keys, begin, end)});
        begin = end;
    }
    return lines;
}

void SpsSurveyCheck::checkRelations(const SpsSurvey& survey, const QVector<qint64>& sourceKeys,
                                    const QVector<qint64>& receiverKeys)
{
    const QVector<Line> lines = receiverLines(receiverKeys);
    for (const SpsSurvey::Relation& relation : survey.relations) {
        const QString place = QStringLiteral("X line %1: ").arg(relation.fileLine);
        if (!std::binary_search(sourceKeys.begin(), sourceKeys.end(),
                                SpsSurvey::key(relation.sourceLine, relation.sourcePoint)))
            add({Kind::MissingSource, SpsKind::Relation, relation.fileLine,
                 place + QStringLiteral("source %1 %2 is not in S (record %3)")
                             .arg(relation.sourceLine)
                             .arg(relation.sourcePoint)
                             .arg(relation.record)});
        const qint32 low = std::min(relation.fromReceiver, relation.toReceiver);
        const qint32 high = std::max(relation.fromReceiver, relation.toReceiver);
        const auto found = std::lower_bound(lines.begin(), lines.end(), relation.receiverLine,
                                            [](const Line& line, qint32 value) { return line.line < value; });
        const bool lineKnown = found != lines.end() && found->line == relation.receiverLine;
        const qint32 step = lineKnown ? found->increment : 1;
        const qint64 receivers = (qint64(high) - low) / step + 1;
        const qint64 channels =
            (qint64(relation.toChannel) - relation.fromChannel) / relation.channelIncrement + 1;
        const QString range = QStringLiteral("%1 %2-%3").arg(relation.receiverLine).arg(low).arg(high);
        if (channels != receivers)
            add({Kind::ChannelCount, SpsKind::Relation, relation.fileLine,
                 place + QStringLiteral("channels %1-%2/%3 make %4, receivers %5 step %6 make %7")
                             .arg(relation.fromChannel)
                             .arg(relation.toChannel)
                             .arg(relation.channelIncrement)
                             .arg(channels)
                             .arg(range)
                             .arg(step)
                             .arg(receivers)});
        if (!lineKnown) {
            add({Kind::MissingReceiver, SpsKind::Relation, relation.fileLine,
                 place + QStringLiteral("receiver line %1 is not in R (receivers %2)")
                             .arg(relation.receiverLine)
                             .arg(range)});
            continue;
        }
        const auto begin = receiverKeys.begin() + found->begin;
        const auto end = receiverKeys.begin() + found->end;
        const auto first = std::lower_bound(begin, end, SpsSurvey::key(relation.receiverLine, low));
        const auto last = std::upper_bound(begin, end, SpsSurvey::key(relation.receiverLine, high));
        // Every receiver there when the count matches (points off the line's step aside).
        if (last - first == receivers)
            continue;
        // A range of absurd width is told by its count alone.
        if (receivers > maximumSpread) {
            add({Kind::MissingReceiver, SpsKind::Relation, relation.fileLine,
                 place + QStringLiteral("receivers %1 step %2: %3 expected, %4 in R")
                             .arg(range)
                             .arg(step)
                             .arg(receivers)
                             .arg(last - first)});
            continue;
        }
        qint64 missing = 0;
        qint32 firstMissing = 0;
        for (qint64 point = low; point <= high; point += step) {
            if (!std::binary_search(first, last, SpsSurvey::key(relation.receiverLine, qint32(point))) &&
                missing++ == 0)
                firstMissing = qint32(point);
        }
        if (missing > 0)
            add({Kind::MissingReceiver, SpsKind::Relation, relation.fileLine,
                 place + QStringLiteral("%1 of receivers %2 step %3 not in R (first %4)")
                             .arg(missing)
                             .arg(range)
                             .arg(step)
                             .arg(firstMissing)});
    }
}

void SpsSurveyCheck::checkDuplicateRelations(const QVector<SpsSurvey::Relation>& relations)
{
    const auto identity = [&](int i) {
        const SpsSurvey::Relation& r = relations[i];
        return std::tie(r.record, r.sourceLine, r.sourcePoint, r.fromChannel);
    };
    QVector<int> order(relations.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return identity(a) < identity(b); });
    int first = 0;
    for (int i = 1; i < order.size(); ++i) {
        if (identity(order[i]) != identity(order[i - 1])) {
            first = i;
            continue;
        }
        const SpsSurvey::Relation& relation = relations[order[i]];
        add({Kind::DuplicateRelation, SpsKind::Relation, relation.fileLine,
             QStringLiteral("X line %1: record %2, source %3 %4, channel %5 again (first on line %6)")
                 .arg(relation.fileLine)
                 .arg(relation.record)
                 .arg(relation.sourceLine)
                 .arg(relation.sourcePoint)
                 .arg(relation.fromChannel)
                 .arg(relations[order[first]].fileLine)});
    }
}

QVector<SpsFinding> SpsSurveyCheck::findings(SpsFinding::Kind kind, int most) const
{
    // Sorted by kind: the kind's findings follow those of the kinds before it.
    int first = 0;
    for (int k = 0; k < int(kind); ++k)
        first += counts[size_t(k)];
    return findings_.mid(first, std::min(most, counts[size_t(kind)]));
}

QStringList SpsSurveyCheck::report(int most) const
{
    QStringList lines{QStringLiteral("%1 finding%2")
                          .arg(findings_.size())
                          .arg(findings_.size() == 1 ? QString() : QStringLiteral("s"))};
    for (int k = 0; k < SpsFinding::kindCount; ++k) {
        const auto kind = SpsFinding::Kind(k);
        lines << QStringLiteral("%1: %2").arg(SpsFinding::kindTitle(kind)).arg(count(kind));
        for (const SpsFinding& finding : findings(kind, most))
            lines << QStringLiteral("  ") + finding.text;
        if (count(kind) > most)
            lines << QStringLiteral("  ... %1 more").arg(count(kind) - most);
    }
    return lines;
}
