#pragma once

#include "copy/SegdWrittenFields.h"

#include <QByteArray>

// The headers of a SEG-D revision 3.1 field file converted from SEG-Y: three general header
// blocks, sixteen three-block channel set descriptors (the traces all in the first), the
// extended header and one external header block.
namespace Segd31Headers {

constexpr int headerLength = (3 + 3 * 16 + 32 + 1) * 32;

QByteArray build(const SegdWrittenFields::Values& values);

} // namespace Segd31Headers
