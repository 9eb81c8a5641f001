#pragma once

#include <QString>
#include <QtGlobal>

// What a SEG-Y binary header says at the standard's positions beyond the three words a format
// file may move: the revision, and the fields of revision 2 (2017) that decide the file's byte
// order, its sample count and interval beyond the 16-bit words, the textual and trace headers
// that lengthen it, where its traces start and how many stanzas trail them. Positions are
// 1-based from the start of the binary header (add 3200 for the file's byte).
struct SegyBinaryHeader {
    enum class ByteOrder { NotStated, BigEndian, LittleEndian, PairSwapped };

    // Bytes 97-100: 16909060 (01020304h) written in the file's byte order.
    static constexpr int byteOrderConstantByte = 97;
    // Bytes 313-320: the traces the file holds.
    static constexpr int traceCountByte = 313;
    static constexpr quint32 byteOrderConstant = 0x01020304;
    // The extended textual header count that means: read them until the end stanza.
    static constexpr int variableTextHeaders = -1;
    // The first line of the stanza that ends a variable number of extended textual headers.
    static constexpr const char* endTextStanza = "((SEG: EndText))";
    // Additional trace headers and trailer stanzas are of these sizes whatever a format file says.
    static constexpr int additionalTraceHeaderSize = 240;
    static constexpr int stanzaSize = 3200;

    // The order the constant states; NotStated when the bytes hold no form of it.
    static ByteOrder statedByteOrder(const char* binary, qint64 length);

    // The fields in the byte order given (swap: the other order than the machine's); fields not
    // inside length bytes read 0.
    static SegyBinaryHeader read(const char* binary, qint64 length, bool swap);

    // Revision 2.0 or later: the extended fields count. Earlier files leave these bytes
    // unassigned, and what stands in them is not taken.
    bool revision2() const { return majorRevision >= 2; }
    // "2.0", "1.0": bytes 301 and 302 for revision 2, the 16-bit word (256 = 1.0) before it.
    QString revisionText() const;

    int majorRevision = 0;
    int minorRevision = 0;
    // Bytes 69-72 and 73-80 (microseconds, IEEE double): used when not 0.
    quint32 samples = 0;
    double intervalMicroseconds = 0;
    // Bytes 305-306: extended textual headers; -1 when a stanza ends them.
    int extendedTextHeaders = 0;
    // Bytes 307-310: additional 240-byte trace headers in every trace record.
    quint32 additionalTraceHeaders = 0;
    // Bytes 313-320 and 321-328: the traces in the file and the byte offset of the first; 0
    // when not stated.
    quint64 traceCount = 0;
    quint64 firstTraceOffset = 0;
    // Bytes 329-332: 3200-byte stanzas after the last trace.
    qint32 trailerStanzas = 0;
};
