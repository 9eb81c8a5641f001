#include "cli/SegdCommand.h"

#include "seismic/SegdData.h"
#include "seismic/SegdReader.h"

namespace SegdCommand {

cli::Argument fileArgument()
{
    return cli::argument("FILE", QStringLiteral("the SEG-D field file"));
}

std::unique_ptr<SegdData> open(const QString& path, ObrConsole& console)
{
    std::unique_ptr<SegdData> data = SegdReader::open(path, &console);
    if (!data || !data->ok())
        return nullptr;
    return data;
}

} // namespace SegdCommand
