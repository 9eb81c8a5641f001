#pragma once

class QComboBox;

// The sample format boxes of the SEG-Y windows: every format of SegyLayout::sampleFormats in the
// table's order, so that an entry's position is its index there, then "Undefined".
namespace SampleFormatBox {

void fill(QComboBox* box);

} // namespace SampleFormatBox
