#include "seismic/SercelExtendedHeader.h"

#include "seismic/SegdBytes.h"

namespace SercelExtendedHeader {

const std::array<Field, count> fields = {{
    {"AcqLength", 1, Kind::Int32},       {"SampleRate", 5, Kind::Int32},
    {"TotalTraces", 9, Kind::Int32},     {"AuxTrcs", 13, Kind::Int32},
    {"SeisTrcs", 17, Kind::Int32},       {"DeadSeisTrcs", 21, Kind::Int32},
    {"LiveSeisTrcs", 25, Kind::Int32},   {"SourceType", 29, Kind::Int32},
    {"NumSamples", 33, Kind::Int32},     {"ShotNum", 37, Kind::Int32},
    {"TbWindow", 41, Kind::Float32},     {"TestRecType", 45, Kind::Int32},
    {"SwathLine1", 49, Kind::Int32},     {"SwathNum1", 53, Kind::Int32},
    {"SpreadNum", 57, Kind::Int32},      {"SpreadType", 61, Kind::Int32},
    {"TimeBreak", 65, Kind::Int32},      {"UpholeTime", 69, Kind::Int32},
    {"BlasterId", 73, Kind::Int32},      {"BlasterStatus", 77, Kind::Int32},
    {"RefracDelay", 81, Kind::Int32},    {"TbToTzero", 85, Kind::Int32},
    {"InternalTb", 89, Kind::Int32},     {"PrestackFlag", 93, Kind::Int32},
    {"NoiseElimType", 97, Kind::Int32},  {"LowTrcPrcnt", 101, Kind::Int32},
    {"LowTraceValue", 105, Kind::Int32}, {"NumWindows", 109, Kind::Int32},
    {"HistEditType", 113, Kind::Int32},  {"NoisyTrcPrcnt", 117, Kind::Int32},
    {"HistRange", 121, Kind::Int32},     {"HistTaper", 125, Kind::Int32},
    {"Threshold", 129, Kind::Int32},     {"HistThrInit", 133, Kind::Int32},
    {"HistZero", 137, Kind::Int32},      {"ProcType", 141, Kind::Int32},
    {"StackFold", 401, Kind::Int32},     {"InvestLen", 485, Kind::Int32},
    {"AutocorrPeak", 489, Kind::Int32},  {"FftExp", 493, Kind::Int32},
    {"SrcAuxNb", 497, Kind::Int32},      {"PilotLength", 501, Kind::Int32},
    {"SweepLength", 505, Kind::Int32},   {"AcqNum", 509, Kind::Int32},
    {"MaxAux", 513, Kind::Float32},      {"MaxSeis", 517, Kind::Float32},
    {"DumpStkFld", 521, Kind::Int32},    {"TapeNum", 541, Kind::Int32},
    {"SrcX", 573, Kind::Float64},        {"SrcY", 581, Kind::Float64},
    {"SrcZ", 589, Kind::Float32},        {"SlipSweep", 593, Kind::Int32},
    {"FilesPerTape", 597, Kind::Int32},  {"FileCount", 601, Kind::Int32},
    {"FilterType", 765, Kind::Int32},    {"ProfileNum", 769, Kind::Int32},
    {"PrmTilt", 777, Kind::Int32},
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
