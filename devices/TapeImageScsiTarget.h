#pragma once

#include "devices/ScsiPassThrough.h"
#include "devices/TapeImage.h"

#include <memory>

// A SCSI sequential-access target emulated over a tape image: it answers the
// commands a tape device sends (INQUIRY, TEST UNIT READY, MODE SENSE and SELECT,
// READ BLOCK LIMITS, READ, WRITE, REWIND, SPACE, WRITE FILEMARKS, LOAD/UNLOAD,
// ERASE) with the status and fixed-format sense data of a real drive.
class TapeImageScsiTarget : public ScsiPassThrough {
public:
    // Vendor identification of every image target.
    static constexpr const char* vendor = "VIRTUAL";
    static constexpr int maximumBlockSize = 0xFFFFFF;

    explicit TapeImageScsiTarget(const QString& path);

    ScsiCompletion execute(const ScsiRequest& request) override;

private:
    ScsiCompletion inquiry(const ScsiRequest& request) const;
    ScsiCompletion modeSense(const ScsiRequest& request) const;
    ScsiCompletion modeSelect(const ScsiRequest& request) const;
    ScsiCompletion blockLimits(const ScsiRequest& request) const;
    ScsiCompletion read(const ScsiRequest& request);
    ScsiCompletion write(const ScsiRequest& request);
    ScsiCompletion writeFileMarks(const ScsiRequest& request);
    ScsiCompletion space(const ScsiRequest& request);
    ScsiCompletion loadUnload(const ScsiRequest& request);
    // The completion of a command that ended as the image says.
    static ScsiCompletion answer(TapeImage::Result result);
    bool ready() const;

    QString path;
    std::unique_ptr<TapeImage> image;
};
