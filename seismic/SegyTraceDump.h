#pragma once

#include <QStringList>

class SegyData;

// The header words of one trace as text: the words of the format's trace header list in byte
// order (byte, type, name, value as stored), with those of trace header extension 1 when the
// header holds it, then every trace key as the reader decodes it,
// the scalars, the recording delay and the acquisition time.
namespace SegyTraceDump {

// The lines for trace number (counted from 1) of the data set; false, with no lines, when the
// trace cannot be read. The data set is left positioned after the trace.
[[nodiscard]] bool lines(SegyData& data, int number, QStringList& out);

} // namespace SegyTraceDump
