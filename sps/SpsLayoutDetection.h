#pragma once

#include "sps/SpsLayout.h"

#include <QString>

class SpsLines;

// The layout a file's header lines and first records point to: the built-in (SPS 1.0 and 2.0)
// columns or those of SPS 2.1, moved right when the records start after leading blanks.
struct SpsDetection {
    enum class Revision { Revision1, Revision21 };

    // Records looked at: enough to outvote a few faulty ones, few enough to be instant.
    static constexpr int sampledRecords = 200;

    Revision revision = Revision::Revision1;
    int shift = 0; // blanks before the record letter
    SpsLayout layout = SpsLayout::defaults(SpsKind::Source);
    // Why: the H00 line, the unreadable fields of the first records under each layout, the shift.
    QString reason;

    // Looks at the file as records of the kind.
    static SpsDetection detect(SpsKind kind, const SpsLines& lines);
    // The layout with every column moved right by that many.
    static SpsLayout shifted(SpsLayout layout, int columns);

    // "SPS 2.1", "SPS 1.0/2.0", with ", shifted by 1 column" when the records start late.
    QString name() const;
};
