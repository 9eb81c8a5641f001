#include "tests/support/SegyFixture.h"

#include "devices/DiskDevice.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFileHeader.h"
#include "seismic/SegyFormat.h"
#include "seismic/SeismicTrace.h"
#include "seismic/TraceGather.h"

#include <QProcess>

namespace segytest {

bool writeFile(const QString& path, SegyFormat& format, const FileLayout& layout, const Fill& fill,
               ObrConsole* console)
{
    SegyData data(console, path, 4, &format);
    if (!data.ok())
        return false;
    SegyFileHeader::Description description;
    description.text = layout.text;
    description.samples = layout.samples;
    description.intervalMs = layout.intervalMs;
    description.sampleFormat = layout.sampleFormat;
    description.revision = layout.revision;
    const QByteArray headers = SegyFileHeader::build(format, description);
    if (!data.device()->write(headers.constData(), headers.size()))
        return false;
    data.describeForWriting(layout.samples, layout.intervalMs, layout.sampleFormat, layout.traces);
    auto gather = data.makeGather(false);
    if (!gather)
        return false;
    for (int i = 0; i < layout.traces; ++i) {
        if (fill)
            fill(*gather->trace(i), i);
    }
    return data.writeRecord(*gather);
}

QByteArray runPeer(const QString& program, const QStringList& arguments)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral("-c"), program} + arguments);
    if (!python.waitForFinished(60000) || python.exitStatus() != QProcess::NormalExit ||
        python.exitCode() != 0)
        return QByteArray();
    return python.readAllStandardOutput();
}

} // namespace segytest
