#include "analyzers/TraceQc.h"

#include "seismic/SeismicData.h"
#include "seismic/SeismicTrace.h"
#include "seismic/TraceGather.h"

#include <QHash>
#include <algorithm>
#include <cmath>

namespace {

double finiteOrZero(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    const size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + long(middle), values.end());
    return values[middle];
}

} // namespace

TraceQc::Measure TraceQc::measure(const double* samples, int count)
{
    Measure result;
    result.dead = true;
    double peak = 0;
    double squares = 0;
    for (int i = 0; i < count; ++i) {
        const double value = finiteOrZero(samples[i]);
        result.dead = result.dead && value == finiteOrZero(samples[0]);
        peak = std::max(peak, std::abs(value));
        squares += value * value;
    }
    result.rms = count > 0 ? std::sqrt(squares / count) : 0.0;
    int run = 0;
    for (int i = 0; i < count && !result.dead && peak > 0; ++i) {
        run = std::abs(finiteOrZero(samples[i])) == peak ? run + 1 : 0;
        if (run >= clippedRun) {
            result.clipped = true;
            break;
        }
    }
    return result;
}

TraceQc TraceQc::judge(const std::vector<Measure>& measures)
{
    TraceQc qc;
    qc.traces = int(measures.size());
    QHash<double, std::vector<double>> live;
    std::vector<double> allLive;
    for (const Measure& m : measures) {
        if (m.dead) {
            qc.dead.append(m.trace);
        } else {
            live[m.gather].push_back(m.rms);
            allLive.push_back(m.rms);
        }
        if (m.clipped)
            qc.clipped.append(m.trace);
    }
    const double overall = median(allLive);
    QHash<double, double> medians;
    for (auto it = live.cbegin(); it != live.cend(); ++it)
        medians.insert(it.key(), int(it.value().size()) >= smallestGather ? median(it.value()) : overall);
    for (const Measure& m : measures) {
        if (!m.dead && m.rms > noisyFactor * medians.value(m.gather))
            qc.noisy.append(m.trace);
    }
    return qc;
}

TraceQc::Measure TraceQc::measured(const SeismicTrace& trace, int number)
{
    Measure m = measure(trace.data(), trace.sampleCount());
    m.trace = number;
    m.gather = trace.value(TraceKey::FieldFile);
    return m;
}

TraceQc TraceQc::scan(SeismicData& data, int first, int last)
{
    QVector<int> numbers;
    for (int n = std::max(first, 1); n <= std::min(last, data.traceCount()); ++n)
        numbers.push_back(n);
    return scan(data, numbers);
}

TraceQc TraceQc::scan(SeismicData& data, const QVector<int>& numbers)
{
    std::vector<Measure> measures;
    const auto trace = data.makeTrace();
    int unread = 0;
    for (int n : numbers) {
        if (!trace || !data.readTraceInRecord(*trace, n) || !trace->hasSamples())
            ++unread;
        else
            measures.push_back(measured(*trace, n));
    }
    return judged(measures, unread);
}

TraceQc TraceQc::ofGather(const TraceGather& gather)
{
    std::vector<Measure> measures;
    int unread = 0;
    for (int i = 0; i < gather.count(); ++i) {
        const SeismicTrace& trace = *gather.trace(i);
        if (!trace.hasSamples())
            ++unread;
        else
            measures.push_back(measured(trace, i + 1));
    }
    return judged(measures, unread);
}

TraceQc TraceQc::judged(const std::vector<Measure>& measures, int unread)
{
    TraceQc qc = judge(measures);
    qc.unread = unread;
    qc.traces += unread;
    return qc;
}
