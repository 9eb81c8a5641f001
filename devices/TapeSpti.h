#pragma once

#include "devices/TapeDevice.h"
#include "devices/TapeDriver.h"

#include <memory>

// A tape drive worked through the operating system's tape driver: drive N of the
// system, or a tape image behind the same driver interface. Failures answer with
// the driver's error codes, which are decoded into the console message here.
class TapeSpti : public TapeDevice {
public:
    static constexpr int transferBufferSize = 131072;

    // Identifies drive `index` through `driver`; ok() tells success.
    TapeSpti(ObrConsole* console, int index, std::unique_ptr<TapeDriver> driver);
    ~TapeSpti() override;

    bool open(unsigned mode) override;
    void close() override;
    bool read(char* buffer, int length) override;
    bool write(const char* buffer, int length) override;
    bool isReady() override;
    bool rewind() override;
    bool unload() override;
    bool skipBlocks(int count) override;
    bool skipFiles(int count) override;
    bool skipToEndOfData() override;
    bool writeFileMarks(int count) override;
    bool erase() override;
    bool load() override;

    // The device file could be opened at identification, whatever followed.
    bool deviceOpened() const { return deviceOpened_; }
    // The text of a driver error code, as the console shows it.
    static QString errorText(int code);

private:
    void identify();
    // Says the driver's own reason for a refused open, if it has one; false when it has none.
    bool sayAccessProblem();
    // Stores the code and reports it on the console.
    void decodeError(int code);
    // Closes the drive after a failed open, so that it shows as offline.
    bool failOpen(int code);

    std::unique_ptr<TapeDriver> driver;
    bool deviceOpened_ = false;
};
