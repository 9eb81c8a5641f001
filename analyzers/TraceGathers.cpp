#include "analyzers/TraceGathers.h"

#include "analyzers/HeaderGraph.h"
#include "analyzers/WorkerJob.h"
#include "base/DeferredConsole.h"
#include "devices/ObrDevice.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyTraceIndex.h"
#include "seismic/SeismicTrace.h"
#include "seismic/TraceKey.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace {

QString number(double value)
{
    return QString::number(value, 'g', 12);
}

// The values of the key in file order from an index that holds it; empty when it does not.
std::vector<double> valuesInIndex(const SegyTraceIndex& index, int key, int traceCount)
{
    if (SegyTraceIndex::column(key) < 0 || index.traceCount() != traceCount)
        return {};
    std::vector<double> values(size_t(traceCount), 0.0);
    for (const SegyTraceIndex::Entry& entry : index.entries) {
        if (entry.fileTrace < 1 || entry.fileTrace > traceCount)
            return {};
        values[size_t(entry.fileTrace - 1)] = entry.value(key);
    }
    return values;
}

// The index file beside the data set, read into a data set of its own: the one given keeps
// addressing its traces in file order.
std::vector<double> fromIndexFile(const SegyData& data, int key)
{
    if (!data.device() || SegyTraceIndex::column(key) < 0 || !QFileInfo::exists(data.indexFilePath()))
        return {};
    DeferredConsole quiet(0);
    SegyFormat format = *data.format();
    SegyData indexed(&quiet, data.device()->path(), 0u, &format);
    if (!indexed.ok() || !indexed.readIndexFile() || !indexed.index())
        return {};
    return valuesInIndex(*indexed.index(), key, data.traceCount());
}

} // namespace

bool GatherSelection::parse(const QString& keyName, const QString& value, GatherSelection* selection,
                            QString* problem)
{
    const int key = HeaderGraph::keyNamed(keyName.trimmed());
    if (key < 0) {
        *problem = QStringLiteral("%1 is no trace key; the keys are: %2")
                       .arg(keyName, HeaderGraph::keyNames().join(QStringLiteral(", ")));
        return false;
    }
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*(-?\d+(?:\.\d*)?)\s*(?:-\s*(-?\d+(?:\.\d*)?))?\s*$)"));
    const QRegularExpressionMatch match = pattern.match(value);
    if (!match.hasMatch()) {
        *problem =
            QStringLiteral("%1 is no value or range of values: give a number (1021) or a range (0-500)")
                .arg(value);
        return false;
    }
    const double low = match.captured(1).toDouble();
    const double high = match.captured(2).isEmpty() ? low : match.captured(2).toDouble();
    if (high < low) {
        *problem = QStringLiteral("the range %1 ends before it starts").arg(value);
        return false;
    }
    *selection = {key, low, high};
    return true;
}

QString GatherSelection::valueText() const
{
    return low == high ? number(low) : number(low) + QLatin1Char('-') + number(high);
}

QString GatherSelection::text() const
{
    return QLatin1String(TraceKey::info(key).name) + QLatin1Char(' ') + valueText();
}

TraceGathers TraceGathers::read(SegyData& data, int key, const JobSteps* steps)
{
    TraceGathers gathers;
    gathers.key = key;
    gathers.values =
        data.index() ? valuesInIndex(*data.index(), key, data.traceCount()) : fromIndexFile(data, key);
    gathers.fromIndex = !gathers.values.empty();
    if (gathers.fromIndex)
        return gathers;
    const auto trace = data.makeTrace();
    if (!trace || data.traceCount() < 1 || !data.seekSequentialTrace(1))
        return gathers;
    gathers.values.reserve(size_t(data.traceCount()));
    for (int n = 1; n <= data.traceCount(); ++n) {
        if ((steps && steps->cancelled()) || !data.readTrace(*trace))
            break;
        if (steps)
            steps->step();
        gathers.values.push_back(trace->value(key));
    }
    return gathers;
}

QVector<int> TraceGathers::traces(const GatherSelection& selection) const
{
    QVector<int> found;
    for (size_t i = 0; i < values.size(); ++i) {
        if (values[i] >= selection.low && values[i] <= selection.high)
            found.append(int(i) + 1);
    }
    return found;
}

bool TraceGathers::step(const GatherSelection& selection, int direction, GatherSelection* next) const
{
    const double width = selection.high - selection.low;
    double nearest = direction > 0 ? INFINITY : -INFINITY;
    for (double value : values) {
        if (direction > 0 && value > selection.high)
            nearest = std::min(nearest, value);
        else if (direction < 0 && value < selection.low)
            nearest = std::max(nearest, value);
    }
    if (!std::isfinite(nearest))
        return false;
    *next = direction > 0 ? GatherSelection{selection.key, nearest, nearest + width}
                          : GatherSelection{selection.key, nearest - width, nearest};
    return true;
}
