#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

class SegdData;
struct SegdChannelSet;

// What the SEG-D analyzer's header fields show, by field name: the general header, the Sercel
// extended header and one channel set's scan header, as text. The window only places them.
namespace SegdFieldTexts {

struct FieldText {
    QString name;
    QString text;
};

// The general header fields, Ffid to SourceSet.
QVector<FieldText> general(const SegdData& data);
// The Sercel extended header fields, AcqLength to PrmTilt; coded values by their names. Blank for
// files of other recorders, whose extended headers hold other things.
QVector<FieldText> extended(const SegdData& data);
// StartTime to StreamCable of one channel set.
QVector<FieldText> channelSet(const SegdChannelSet& set);

// The names that become the tool tips of TestRecType and ProcType.
QString testRecordTypeName(int type);
QString processTypeName(int type);

// The external header as the analyzer shows it: its bytes as text, or a note when it holds
// nothing but zeros and blanks.
QString externalHeaderText(const QByteArray& external);

} // namespace SegdFieldTexts
