#include "app/ProjectDescription.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <array>

namespace {

constexpr int projectDirectoryParent = -1;

struct TreePartInfo {
    const char* name; // last component, inside the parent
    int parent;       // a TreePart, or projectDirectoryParent
    bool madeOnDemand;
    const char* label;
};

// Indexed by TreePart.
constexpr std::array<TreePartInfo, ProjectDescription::treePartCount> treeParts = {{
    {"Flows", projectDirectoryParent, true, "flows"},
    {"Jobs", ProjectDescription::Flows, true, "flow jobs"},
    {"ServerJobs", ProjectDescription::Flows, true, "server jobs"},
    {"Models", ProjectDescription::Flows, true, "flow models"},
    {"Display", ProjectDescription::Flows, true, "flow displays"},
    {"Auxiliary", projectDirectoryParent, true, "auxiliary"},
    {"Displays", projectDirectoryParent, true, "displays"},
    {"Images", projectDirectoryParent, true, "images"},
    {"Report", projectDirectoryParent, true, "report"},
    {"Seismic", projectDirectoryParent, true, "seismic"},
    {"FieldData", ProjectDescription::Seismic, true, "field data"},
    {"Survey", projectDirectoryParent, false, "survey"},
    {"WellLogs", projectDirectoryParent, false, "well logs"},
    {"Survey.xml", projectDirectoryParent, false, "survey file"},
}};

// Creates one directory level; a missing parent makes it fail, which the callers accept.
void makeOneLevel(const QString& path)
{
    if (!QFileInfo(path).isDir())
        QDir().mkdir(path);
}

} // namespace

ProjectDescription::ProjectDescription(const QString& descriptionFile)
    : descriptionFile_(descriptionFile), projectIdentifier_(QDateTime::currentMSecsSinceEpoch())
{}

QString ProjectDescription::projectDirectory() const
{
    if (name_.isEmpty() || location_.isEmpty())
        return QString();
    const QString location = QDir::cleanPath(location_);
    if (location.section(QLatin1Char('/'), -1) == name_)
        return location;
    return location + QLatin1Char('/') + name_;
}

QString ProjectDescription::path(TreePart part) const
{
    const TreePartInfo& info = treeParts[static_cast<size_t>(part)];
    const QString parent =
        info.parent == projectDirectoryParent ? projectDirectory() : path(static_cast<TreePart>(info.parent));
    if (parent.isEmpty())
        return QString();
    return parent + QLatin1Char('/') + QLatin1String(info.name);
}

QString ProjectDescription::directory(TreePart part) const
{
    const TreePartInfo& info = treeParts[static_cast<size_t>(part)];
    if (!info.madeOnDemand)
        return path(part);
    const QString parent = info.parent == projectDirectoryParent
                               ? projectDirectory()
                               : directory(static_cast<TreePart>(info.parent));
    if (parent.isEmpty())
        return QString();
    const QString result = parent + QLatin1Char('/') + QLatin1String(info.name);
    makeOneLevel(result);
    return result;
}

const char* ProjectDescription::partLabel(TreePart part)
{
    return treeParts[static_cast<size_t>(part)].label;
}

QString ProjectDescription::fileBaseName() const
{
    return QFileInfo(descriptionFile_).completeBaseName();
}

void ProjectDescription::createTree()
{
    descriptionFile_ = projectFilesDirectory_ + QLatin1Char('/') + name_ + QStringLiteral(".xml");
    const QString top = projectDirectory();
    if (top.isEmpty())
        return;
    makeOneLevel(top);
    const auto make = [&top](const char* subPath) {
        makeOneLevel(top + QLatin1Char('/') + QLatin1String(subPath));
    };
    if (auxiliaryDirectoryExists_)
        make("Auxiliary");
    if (flowDirectoryExists_) {
        make("Flows");
        for (const char* inside : {"Flows/Jobs", "Flows/Display", "Flows/Models", "Flows/TraceCalculator"})
            make(inside);
    }
    if (imageDirectoryExists_)
        make("Images");
    if (reportDirectoryExists_)
        make("Report");
    if (seismicDirectoryExists_) {
        make("Seismic");
        make("Seismic/FieldData");
    }
    if (surveyDirectoryExists_)
        make("Survey");
}
