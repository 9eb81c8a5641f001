#include "devices/SgPassThrough.h"

#include <scsi/sg.h>

namespace {
constexpr int senseBufferSize = 32;
constexpr unsigned driverSense = 0x08; // sense data came with the answer: not a failure of the driver
} // namespace

SgPassThrough::SgPassThrough(std::shared_ptr<LinuxSystemCalls> calls, int openDescriptor)
    : system(std::move(calls)), descriptor(openDescriptor)
{}

SgPassThrough::~SgPassThrough()
{
    system->close(descriptor);
}

ScsiCompletion SgPassThrough::execute(const ScsiRequest& request)
{
    unsigned char sense[senseBufferSize] = {};
    QByteArray cdb = request.cdb;
    sg_io_hdr_t header{};
    header.interface_id = 'S';
    switch (request.direction) {
    case ScsiRequest::Direction::None:
        header.dxfer_direction = SG_DXFER_NONE;
        break;
    case ScsiRequest::Direction::In:
        header.dxfer_direction = SG_DXFER_FROM_DEV;
        break;
    case ScsiRequest::Direction::Out:
        header.dxfer_direction = SG_DXFER_TO_DEV;
        break;
    }
    header.cmd_len = static_cast<unsigned char>(cdb.size());
    header.cmdp = reinterpret_cast<unsigned char*>(cdb.data());
    header.mx_sb_len = senseBufferSize;
    header.sbp = sense;
    const bool transfers = request.direction != ScsiRequest::Direction::None && request.length > 0;
    header.dxfer_len = transfers ? static_cast<unsigned>(request.length) : 0;
    header.dxferp = transfers ? request.data : nullptr;
    header.timeout = static_cast<unsigned>(request.timeLimitMs);

    ScsiCompletion completion;
    if (system->ioctl(descriptor, SG_IO, &header) < 0)
        return completion; // the command never reached the target
    completion.targetStatus = header.status;
    completion.transferred = transfers ? static_cast<int>(header.dxfer_len) - header.resid : 0;
    completion.sense = QByteArray(reinterpret_cast<const char*>(sense), header.sb_len_wr);
    const bool driverFailed = (header.driver_status & ~driverSense) != 0;
    if (header.status == 0 && header.host_status == 0 && !driverFailed)
        completion.status = ScsiCompletion::Done;
    else if (header.host_status != 0 || driverFailed)
        completion.status = ScsiCompletion::Aborted;
    return completion;
}
