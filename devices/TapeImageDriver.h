#pragma once

#include "devices/TapeDriver.h"
#include "devices/TapeImage.h"

#include <memory>

// The tape driver of a tape image: the image file stands for the drive and the
// tape in it, so jobs run without hardware.
class TapeImageDriver : public TapeDriver {
public:
    // Vendor text of every image drive.
    static constexpr const char* vendor = "VIRTUAL";
    // Largest block an image drive claims; the device bounds it by its buffer.
    static constexpr int maximumBlockSize = 0xFFFFFF;

    explicit TapeImageDriver(const QString& path);

    int openDevice(bool exclusive) override;
    QString accessProblem() const override { return openProblem; }
    void closeDevice() override;
    int readData(char* buffer, int length, int* transferred) override;
    int writeData(const char* buffer, int length, int* transferred) override;
    int tapeStatus() override;
    int driveInformation(TapeDriveInformation* information) override;
    int mediaInformation(TapeMediaInformation* information) override;
    int setMediaBlockSize(int blockSize) override;
    int setPosition(Position method, qint64 count) override;
    int writeFileMarks(int count) override;
    int prepare(Preparation operation) override;
    int erase() override;
    int deviceProperty(QString* vendor, QString* product) override;

    static int code(TapeImage::Result result);

private:
    QString path;
    std::unique_ptr<TapeImage> image;
    QString openProblem;
};
