#include "devices/ObrDevice.h"

ObrDevice::ObrDevice(ObrConsole* console) : console_(console) {}

ObrDevice::~ObrDevice()
{
    delete[] buffer_;
}

qint64 ObrDevice::size()
{
    return 0;
}

qint64 ObrDevice::pos()
{
    return 0;
}

bool ObrDevice::seek(qint64)
{
    return false;
}

bool ObrDevice::atEnd()
{
    return false;
}

QString ObrDevice::dirPath() const
{
    return QString();
}
