#pragma once

#include "seismic/SegdData.h"

class ObrConsole;

// SEG-D field files as Sercel 408 and 428 recorders write them: the standard's reading plus
// the source description, position and DC removal blocks of revision 3, the source values of
// revision 1 and 2 headers, and the trace header extensions that carry receiver positions,
// sensor tests and the descale multiplier.
class SercelData : public SegdData {
public:
    // Opens path (read only) and its directory as a data set; owners test ok().
    SercelData(ObrConsole* console, const QString& path, bool seismicOnly, bool directoryMode);
    // Reads through device, which the object owns; open() reads the file.
    SercelData(ObrDevice* device, bool seismicOnly, bool directoryMode);

    // The standard's trace, then the Sercel keys, the geometry derived from them, DC removal
    // and the descale multiplier.
    [[nodiscard]] bool readTrace(SeismicTrace& trace) override;

protected:
    [[nodiscard]] bool readHeaders() override;

private:
    void readRevision3Blocks();
    void readRevision2Source();
    void fillSercelKeys(SeismicTrace& trace) const;
    void removeDcFrom(SeismicTrace& trace) const;
    void descale(SeismicTrace& trace) const;
};
