#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <vector>

class SeismicData;

// One trace header word against trace number: geometry at a glance (offsets, coordinates,
// elevations, statics). Words are the trace keys, named as the trace model names them.
struct HeaderGraph {
    int key = -1;
    int firstTrace = 1;
    std::vector<double> values; // of traces firstTrace, firstTrace + 1, ...
    int unread = 0;

    // The stored trace key of that name, in any case; -1 for none.
    static int keyNamed(const QString& name);
    // The names keyNamed() knows, in key order.
    static QStringList keyNames();
    // Reads the word of traces first to last (within the data set's traces).
    static HeaderGraph read(SeismicData& data, int key, int first, int last);
};

// The picture: the values as a line with a dot per trace when the traces are few, trace numbers
// across and values up, round ticks on both axes, the word's name as the title.
namespace HeaderGraphPicture {

constexpr int margin = 48;

QImage draw(const HeaderGraph& graph, QSize size);
// Round tick values from low to high: about five steps of 1, 2 or 5 times a power of ten.
std::vector<double> ticks(double low, double high);

} // namespace HeaderGraphPicture
