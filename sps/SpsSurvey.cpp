#include "sps/SpsSurvey.h"

#include "sps/SpsKind.h"
#include "sps/SpsLines.h"
#include "sps/SpsScanner.h"
#include "sps/SpsValue.h"

namespace {

// The point layout's fields and the relation layout's, by their place in the layout.
enum PointField { LineName = 1, PointNumber = 2, Easting = 10, Northing = 11 };
enum RelationField {
    RecordNumber = 2,
    SourceLine = 5,
    SourcePoint = 6,
    FromChannel = 8,
    ToChannel = 9,
    ChannelIncrement = 10,
    ReceiverLine = 11,
    FromReceiver = 12,
    ToReceiver = 13
};

class RecordReader {
public:
    RecordReader(const SpsLayout& layout, std::string_view line) : layout(layout), line(line) {}

    SpsReading read(int field) const
    {
        return SpsValue::read(layout.conversion(field), SpsScanner::fieldText(line, layout.columns(field)));
    }
    // The field's number; false (and the first such field remembered) when it holds none.
    bool number(int field, qint32* value)
    {
        const SpsReading reading = read(field);
        if (reading.cell != SpsCell::Value) {
            if (failed < 0)
                failed = field;
            return false;
        }
        *value = qint32(reading.value);
        return true;
    }

    const SpsLayout& layout;
    std::string_view line;
    int failed = -1;
};

} // namespace

void SpsSurvey::read(const SpsLines& lines, const SpsLayout& layout)
{
    const SpsScanner scanner(lines);
    const SpsKind kind = layout.kind();
    QVector<Point>& points = kind == SpsKind::Source ? sources : receivers;
    for (int index = 0; index < lines.count(); ++index) {
        if (scanner.lineKind(layout, index) != SpsScanner::LineKind::Record)
            continue;
        RecordReader record(layout, lines.line(index));
        bool named = true;
        if (kind == SpsKind::Relation) {
            Relation relation;
            relation.fileLine = index + 1;
            for (const auto& [field, value] : {std::pair{SourceLine, &relation.sourceLine},
                                               {SourcePoint, &relation.sourcePoint},
                                               {FromChannel, &relation.fromChannel},
                                               {ToChannel, &relation.toChannel},
                                               {ReceiverLine, &relation.receiverLine},
                                               {FromReceiver, &relation.fromReceiver},
                                               {ToReceiver, &relation.toReceiver}})
                named = record.number(field, value) && named;
            // Neither is needed to place the relation: a blank increment steps by one.
            static_cast<void>(RecordReader(layout, record.line).number(RecordNumber, &relation.record));
            if (!RecordReader(layout, record.line).number(ChannelIncrement, &relation.channelIncrement) ||
                relation.channelIncrement <= 0)
                relation.channelIncrement = 1;
            if (named)
                relations.append(relation);
        } else {
            Point point;
            point.fileLine = index + 1;
            named = record.number(LineName, &point.line) && record.number(PointNumber, &point.point);
            const SpsReading x = record.read(Easting);
            const SpsReading y = record.read(Northing);
            point.located = x.cell == SpsCell::Value && y.cell == SpsCell::Value;
            point.x = x.value;
            point.y = y.value;
            if (named)
                points.append(point);
        }
        if (!named)
            unnamed.append({kind, index + 1, SpsKinds::fieldLabel(kind, record.failed)});
    }
}
