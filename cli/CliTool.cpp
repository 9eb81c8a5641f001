#include "cli/CliTool.h"

#include <cstdio>

namespace cli {

static std::vector<CliTool>& registry()
{
    static std::vector<CliTool> list;
    return list;
}

void registerTool(const CliTool& tool)
{
    registry().push_back(tool);
}

const std::vector<CliTool>& tools()
{
    return registry();
}

int usageError(const QString& text)
{
    std::fprintf(stderr, "obrio: %s\n", text.toLocal8Bit().constData());
    return UsageError;
}

void printText(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    if (!text.endsWith(QLatin1Char('\n')))
        std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace cli
