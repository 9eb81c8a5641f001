#include "seismic/SercelExtendedHeader.h"

#include "seismic/SegdBytes.h"

namespace SercelExtendedHeader {

const std::array<Field, count> fields = {{
    {"AcqLength", 1, Kind::Int32, Meaning::Number},
    {"SampleRate", 5, Kind::Int32, Meaning::Number},
    {"TotalTraces", 9, Kind::Int32, Meaning::Number},
    {"SourceType", 29, Kind::Int32, Meaning::SourceType},
    {"SeisTrcs", 17, Kind::Int32, Meaning::Number},
    {"AuxTrcs", 13, Kind::Int32, Meaning::Number},
    {"LiveSeisTrcs", 25, Kind::Int32, Meaning::Number},
    {"DeadSeisTrcs", 21, Kind::Int32, Meaning::Number},
    {"NumSamples", 33, Kind::Int32, Meaning::Samples},
    {"ShotNum", 37, Kind::Int32, Meaning::Number},
    {"TbWindow", 41, Kind::Float32, Meaning::Hundredths},
    {"TestRecType", 45, Kind::Int32, Meaning::Number},
    {"SwathLine1", 49, Kind::Int32, Meaning::Number},
    {"SwathNum1", 53, Kind::Int32, Meaning::Number},
    {"SpreadNum", 57, Kind::Int32, Meaning::Number},
    {"SpreadType", 61, Kind::Int32, Meaning::SpreadType},
    {"TimeBreak", 65, Kind::Int32, Meaning::Number},
    {"UpholeTime", 69, Kind::Int32, Meaning::Number},
    {"BlasterId", 73, Kind::Int32, Meaning::Number},
    {"BlasterStatus", 77, Kind::Int32, Meaning::Number},
    {"RefracDelay", 81, Kind::Int32, Meaning::Number},
    {"TbToTzero", 85, Kind::Int32, Meaning::Number},
    {"InternalTb", 89, Kind::Int32, Meaning::NoYes},
    {"PrestackFlag", 93, Kind::Int32, Meaning::NoYes},
    {"NoiseElimType", 97, Kind::Int32, Meaning::NoiseElimination},
    {"LowTrcPrcnt", 101, Kind::Int32, Meaning::Number},
    {"LowTraceValue", 105, Kind::Int32, Meaning::Number},
    {"NumWindows", 109, Kind::Int32, Meaning::Number},
    {"NoisyTrcPrcnt", 117, Kind::Int32, Meaning::Number},
    {"HistEditType", 113, Kind::Int32, Meaning::HistoricEditing},
    {"HistRange", 121, Kind::Int32, Meaning::Number},
    {"HistTaper", 125, Kind::Int32, Meaning::Number},
    {"Threshold", 129, Kind::Int32, Meaning::Threshold},
    {"HistThrInit", 133, Kind::Int32, Meaning::Number},
    {"HistZero", 137, Kind::Int32, Meaning::Number},
    {"ProcType", 141, Kind::Int32, Meaning::Number},
    {"StackFold", 401, Kind::Int32, Meaning::Number},
    {"InvestLen", 485, Kind::Int32, Meaning::Number},
    {"AutocorrPeak", 489, Kind::Int32, Meaning::Number},
    {"FftExp", 493, Kind::Int32, Meaning::Number},
    {"SrcAuxNb", 497, Kind::Int32, Meaning::Number},
    {"PilotLength", 501, Kind::Int32, Meaning::Number},
    {"SweepLength", 505, Kind::Int32, Meaning::Number},
    {"AcqNum", 509, Kind::Int32, Meaning::Number},
    {"DumpStkFld", 521, Kind::Int32, Meaning::Number},
    {"MaxSeis", 517, Kind::Float32, Meaning::Amplitude},
    {"MaxAux", 513, Kind::Float32, Meaning::Amplitude},
    {"TapeNum", 541, Kind::Int32, Meaning::Number},
    {"SrcX", 573, Kind::Float64, Meaning::Hundredths},
    {"SrcY", 581, Kind::Float64, Meaning::Hundredths},
    {"SrcZ", 589, Kind::Float32, Meaning::Hundredths},
    {"SlipSweep", 593, Kind::Int32, Meaning::NoYes},
    {"FilesPerTape", 597, Kind::Int32, Meaning::Number},
    {"FileCount", 601, Kind::Int32, Meaning::Number},
    {"FilterType", 765, Kind::Int32, Meaning::FilterType},
    {"ProfileNum", 769, Kind::Int32, Meaning::Number},
    {"PrmTilt", 777, Kind::Int32, Meaning::NoYes},
}};

const Field* find(const QString& name)
{
    for (const Field& field : fields) {
        if (name == QLatin1String(field.name))
            return &field;
    }
    return nullptr;
}

double value(const SegdBytes& extendedHeader, const Field& field)
{
    switch (field.kind) {
    case Kind::Int32:
        return extendedHeader.int32(field.byte);
    case Kind::Float32:
        return double(extendedHeader.float32(field.byte));
    case Kind::Float64:
        return extendedHeader.float64(field.byte);
    }
    return 0;
}

} // namespace SercelExtendedHeader
