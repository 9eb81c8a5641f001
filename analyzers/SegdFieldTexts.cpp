#include "analyzers/SegdFieldTexts.h"

#include "seismic/SegdBytes.h"
#include "seismic/SegdChannelSet.h"
#include "seismic/SegdData.h"
#include "seismic/SegdGeneralHeader.h"
#include "seismic/SercelExtendedHeader.h"

#include <array>
#include <cmath>
#include <limits>

namespace SegdFieldTexts {

namespace {

QString integer(double value)
{
    // Beyond 64 bits (only a damaged float can be) the number is shown as it is.
    if (!std::isfinite(value) || std::abs(value) >= 9.2e18)
        return QString::number(value);
    return QString::number(qint64(value));
}

QString fixed2(double value)
{
    return QString::number(value, 'f', 2);
}

QString general6(double value)
{
    return QString::number(value, 'g', 6);
}

// A coded value's name; codes outside the list read "N/A".
struct Code {
    int value;
    const char* name;
};

template <size_t N>
QString codeName(int value, const std::array<Code, N>& codes, const char* otherwise = "N/A")
{
    for (const Code& code : codes) {
        if (code.value == value)
            return QString::fromLatin1(code.name);
    }
    return QString::fromLatin1(otherwise);
}

constexpr std::array<Code, 2> noYes{{{0, "No"}, {1, "Yes"}}};
constexpr std::array<Code, 3> sourceTypes{{{0, "No source"}, {1, "Impulsive"}, {2, "Vibroseis"}}};
constexpr std::array<Code, 2> spreadTypes{{{1, "Generic"}, {2, "Absolute"}}};
constexpr std::array<Code, 4> noiseEliminations{
    {{1, "None"}, {2, "Diversity Stk"}, {3, "Historic"}, {4, "Off"}}};
constexpr std::array<Code, 2> historicEditings{{{1, "Zeroing"}, {2, "Clipping"}}};
constexpr std::array<Code, 2> thresholds{{{1, "Hold"}, {2, "Var"}}};
constexpr std::array<Code, 3> filterTypes{{{1, "0.8 Min"}, {2, "0.8 Lin"}, {3, "SU6R-like"}}};
constexpr std::array<Code, 12> testRecordTypes{{
    {0, "normal record"},
    {1, "field noise"},
    {2, "field impulse"},
    {4, "instrument noise"},
    {5, "instrument distortion"},
    {6, "instrument gain/phase"},
    {7, "intrument crosstalk"},
    {8, "instrument common mode"},
    {9, "synthetic"},
    {10, "similarity"},
    {11, "instrument pulse"},
    {12, "field distortion"},
}};
constexpr std::array<Code, 7> processTypes{{
    {1, "no operation (raw data)"},
    {2, "stack"},
    {3, "correlation after stack"},
    {4, "correlation before stack"},
    {5, "raw data, stack"},
    {6, "raw data, correlation after stack"},
    {7, "raw data, correlation before stack"},
}};

// How an extended header field is written.
QString shownValue(SercelExtendedHeader::Meaning meaning, double value, const SegdData& data)
{
    const int code =
        std::isfinite(value) && std::abs(value) < std::numeric_limits<int>::max() ? int(value) : -1;
    using Meaning = SercelExtendedHeader::Meaning;
    switch (meaning) {
    case Meaning::Number:
        return integer(value);
    case Meaning::Hundredths:
        return fixed2(value);
    case Meaning::Amplitude:
        return general6(value);
    case Meaning::Samples:
        return QString::number(data.samples());
    case Meaning::SourceType:
        return codeName(code, sourceTypes);
    case Meaning::SpreadType:
        return codeName(code, spreadTypes);
    case Meaning::NoYes:
        return codeName(code, noYes);
    case Meaning::NoiseElimination:
        return codeName(code, noiseEliminations);
    case Meaning::HistoricEditing:
        return codeName(code, historicEditings);
    case Meaning::Threshold:
        return codeName(code, thresholds);
    case Meaning::FilterType:
        return codeName(code, filterTypes);
    }
    return QString();
}

} // namespace

QVector<FieldText> general(const SegdData& data)
{
    const SegdGeneralHeader& header = data.generalHeader();
    // A file whose traces could not be described still has what its general header says.
    const float interval = data.sampleInterval() > 0 ? data.sampleInterval() : header.sampleInterval;
    const float length = data.recordLength() > 0 ? data.recordLength() : header.recordLength;
    return {
        {QStringLiteral("Ffid"), QString::number(header.fieldFile)},
        {QStringLiteral("FmtCode"), QString::number(header.formatCode)},
        {QStringLiteral("Date"), header.dateWithDayText()},
        {QStringLiteral("Time"), header.timeText()},
        {QStringLiteral("BytesPerScan"), QString::number(header.bytesPerScan)},
        {QStringLiteral("BaseScanIntvl"), fixed2(double(interval))},
        {QStringLiteral("RecordType"), QString::number(header.recordType)},
        {QStringLiteral("RecordLength"), general6(double(length))},
        {QStringLiteral("ChannelSets"), QString::number(header.channelSets)},
        {QStringLiteral("ExternHdrs"), QString::number(header.externalBlocks)},
        {QStringLiteral("SourceLine"), fixed2(double(data.sourceLine()))},
        {QStringLiteral("SourcePoint"), fixed2(double(data.sourceLocation()))},
        {QStringLiteral("SrcPointIndx"), QString::number(data.sourceIndex())},
        {QStringLiteral("SourceSet"), QString::number(data.sourceSet())},
    };
}

QVector<FieldText> extended(const SegdData& data)
{
    const SegdBytes header = data.extendedHeader();
    QVector<FieldText> fields;
    fields.reserve(int(SercelExtendedHeader::fields.size()));
    for (const SercelExtendedHeader::Field& field : SercelExtendedHeader::fields) {
        const QString text = data.sercel()
                                 ? shownValue(field.meaning, SercelExtendedHeader::value(header, field), data)
                                 : QString();
        fields.append({QLatin1String(field.name), text});
    }
    return fields;
}

QVector<FieldText> channelSet(const SegdChannelSet& set)
{
    return {
        {QStringLiteral("StartTime"), QString::number(double(set.startTime))},
        {QStringLiteral("EndTime"), QString::number(double(set.endTime))},
        {QStringLiteral("Descale"), QString::number(set.descaleWord, 16).toUpper()},
        {QStringLiteral("NumChan"), QString::number(set.channels)},
        {QStringLiteral("ChanType"), QString::number(set.type)},
        {QStringLiteral("AliasFreq"), integer(double(set.filters[SegdChannelSet::AliasFrequency]))},
        {QStringLiteral("AliasSlope"), integer(double(set.filters[SegdChannelSet::AliasSlope]))},
        {QStringLiteral("LowCutFreq"), integer(double(set.filters[SegdChannelSet::LowCutFrequency]))},
        {QStringLiteral("LowCutSlope"), integer(double(set.filters[SegdChannelSet::LowCutSlope]))},
        {QStringLiteral("VertStack"), QString::number(set.verticalStack)},
        {QStringLiteral("StreamCable"), QString::number(set.streamerCable)},
    };
}

QString testRecordTypeName(int type)
{
    return codeName(type, testRecordTypes, "undefined type");
}

QString processTypeName(int type)
{
    return codeName(type, processTypes, "undefined type");
}

QString externalHeaderText(const QByteArray& external)
{
    // Recorders fill unused blocks with zeros or blanks; a text view would stop at the first NUL.
    QByteArray text = external;
    text.replace('\0', ' ');
    if (text.trimmed().isEmpty())
        return QStringLiteral("\n\n     No Text");
    return QString::fromLatin1(text);
}

} // namespace SegdFieldTexts
