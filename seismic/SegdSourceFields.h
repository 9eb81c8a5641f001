#pragma once

class SegdBytes;
struct SegdGeneralHeader;

// The source a field file was shot with, as the standard's headers describe it: general header
// block 3 in revisions 1 and 2, the source description blocks (vibrator or explosive) of
// revision 3. Zero where the file says nothing.
struct SegdSourceFields {
    // header: the field file's header bytes from its first byte.
    static SegdSourceFields read(const SegdGeneralHeader& general, const SegdBytes& header);

    int lineNumber = 0; // the integer part of line
    float line = 0;
    float location = 0;
    int index = 0;
    int set = 0;
    int type = 0; // 1 impulsive, 2 vibrator
};
