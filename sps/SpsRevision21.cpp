#include "sps/SpsRevision21.h"

#include "sps/SpsLines.h"

namespace SpsRevision21 {

bool declaredBy(const SpsLines& lines)
{
    constexpr std::string_view header = "H00";
    for (int index = 0; index < lines.count(); ++index) {
        const std::string_view line = lines.line(index);
        if (line.substr(0, header.size()) == header)
            return line.find("2.1", header.size()) != std::string_view::npos;
    }
    return false;
}

bool inForce(const SpsLayout& layout)
{
    return layout.sameColumns(SpsLayout::revision21(layout.kind()));
}

QString mismatchText(const QString& path)
{
    return QStringLiteral(
               "%1 is an SPS 2.1 file (H00 line), but the layout in force is not the SPS 2.1 layout")
        .arg(path);
}

} // namespace SpsRevision21
