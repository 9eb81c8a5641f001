#pragma once

// Some recorders put a 128-byte label block in front of a field file's headers on tape.
namespace SegdTapeLabel {

constexpr int labelBytes = 128;

// Whether a tape block is such a label: 128 bytes that are not a field file header of their own
// length (one channel set, no extended or external header).
bool isLabelBlock(const char* data, int length);

} // namespace SegdTapeLabel
