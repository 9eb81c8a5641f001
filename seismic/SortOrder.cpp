#include "seismic/SortOrder.h"

#include "seismic/SegyTraceIndex.h"
#include "seismic/TraceKey.h"

namespace {

// What a code sorts by: its keys in sort order, the keys whose ranges are checked in the order
// the messages come, and whether it needs 3-D geometry (with the name used in that message).
struct SortPlan {
    QVector<int> sortKeys;
    QVector<int> checkKeys;
    const char* needs3D = nullptr;
};

bool planFor(int code, bool threeD, SortPlan* plan)
{
    using K = TraceKey;
    switch (code) {
    case 0:
        *plan = {{}, {}};
        return true;
    case 1:
        *plan = {{K::SourceLine, K::SourceLocation}, {K::SourceLocation, K::SourceLine}};
        return true;
    case 2:
        *plan = {{K::ReceiverLine, K::ReceiverLocation}, {K::ReceiverLocation, K::ReceiverLine}};
        return true;
    case 3:
        *plan = threeD ? SortPlan{{K::Inline, K::Crossline}, {K::Inline, K::Crossline}}
                       : SortPlan{{K::Cmp}, {K::Cmp}};
        return true;
    case 4:
        *plan = {{K::Inline, K::Cmp}, {K::Inline, K::Cmp}};
        return true;
    case 5:
        *plan = {{K::Offset}, {K::Offset}};
        return true;
    case 6:
        *plan = {{K::FieldFile}, {K::FieldFile}};
        return true;
    case 9:
        *plan = {{K::Inline}, {K::Inline}, "Inline"};
        return true;
    case 10:
        *plan = {{K::Crossline}, {K::Crossline}, "Crossline"};
        return true;
    case 11:
        *plan = {{K::Attribute}, {K::Attribute}};
        return true;
    case 12:
        *plan = threeD ? SortPlan{{K::Inline}, {K::Inline}} : SortPlan{{K::Cmp}, {K::Cmp}};
        return true;
    default:
        return false;
    }
}

// The name of a key in the "no min/max" messages.
QString keyLabel(int key)
{
    switch (key) {
    case TraceKey::SourceLocation:
        return QStringLiteral("Source location");
    case TraceKey::SourceLine:
        return QStringLiteral("Source line");
    case TraceKey::ReceiverLocation:
        return QStringLiteral("Receiver location");
    case TraceKey::ReceiverLine:
        return QStringLiteral("Receiver line");
    case TraceKey::Cmp:
        return QStringLiteral("Cmp");
    case TraceKey::Inline:
        return QStringLiteral("Inline");
    case TraceKey::Crossline:
        return QStringLiteral("Crossline");
    case TraceKey::Offset:
        return QStringLiteral("Offset");
    case TraceKey::FieldFile:
        return QStringLiteral("Field file");
    case TraceKey::Attribute:
        return QStringLiteral("Attribute");
    default:
        return QString::fromLatin1(TraceKey::info(key).name);
    }
}

} // namespace

bool SortOrder::knownCode(int code)
{
    SortPlan plan;
    return planFor(code, false, &plan);
}

SortOrder::SortOrder(const QVector<int>& keys) : keys(keys) {}

void SortOrder::prepare(const SegyTraceIndex& index)
{
    minimum.clear();
    maximum.clear();
    for (int key : keys) {
        const SegyTraceIndex::Range range = index.range(key);
        minimum.append(range.minimum);
        maximum.append(range.maximum);
    }
    ready = true;
}

bool SortOrder::prepare(int sortCode, const SegyTraceIndex& index, QStringList* errors)
{
    ready = false;
    code = sortCode;
    const bool threeD = index.threeD();
    SortPlan plan;
    if (!planFor(sortCode, threeD, &plan)) {
        errors->append(QStringLiteral("unknown sort code %1.").arg(sortCode));
        return false;
    }
    if (plan.needs3D && !threeD)
        errors->append(QStringLiteral("Data must have 3-D geometry to be sorted by %1.")
                           .arg(QString::fromLatin1(plan.needs3D)));
    for (int key : plan.checkKeys) {
        if (!index.range(key).present)
            errors->append(QStringLiteral("no min/max %1 numbers to sort by.").arg(keyLabel(key)));
    }
    if (!errors->isEmpty())
        return false;
    keys = plan.sortKeys;
    prepare(index);
    return true;
}
