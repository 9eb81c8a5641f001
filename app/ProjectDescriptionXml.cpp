// Reading and writing the project description file and the survey description.
#include "app/ProjectDescription.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <array>
#include <utility>

namespace {

using AttributeText = std::pair<int, const char*>;

constexpr std::array<AttributeText, 4> surveyDimensions = {{{2, "2D"}, {3, "3D"}, {4, "2.5D"}, {5, "VSP"}}};
constexpr std::array<AttributeText, 2> unitTexts = {{{1, "Meters"}, {2, "Feet"}}};
constexpr std::array<AttributeText, 3> acquisitionTypes = {{{0, "Land"}, {1, "Marine"}, {2, "Transition"}}};
constexpr std::array<AttributeText, 4> dataComponentTypes = {
    {{0, "1-C"}, {1, "2-C"}, {2, "3-C"}, {3, "4-C"}}};

const QString undefinedText = QStringLiteral("Undefined");

template <size_t N> QString textOf(const std::array<AttributeText, N>& table, int value)
{
    for (const AttributeText& entry : table) {
        if (entry.first == value)
            return QString::fromLatin1(entry.second);
    }
    return undefinedText;
}

// A text that is not in the table (such as "Undefined") leaves the value as it was.
template <size_t N> void readText(const std::array<AttributeText, N>& table, QStringView text, int& value)
{
    for (const AttributeText& entry : table) {
        if (text == QLatin1String(entry.second)) {
            value = entry.first;
            return;
        }
    }
}

QString boolText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

// Locations may come from the suite on Windows: backslashes become slashes, and a drive-letter
// path is kept as written instead of being taken as relative to the current directory.
QString normalisedLocation(const QString& text)
{
    QString location = text;
    location.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (location.isEmpty())
        return location;
    static const QRegularExpression driveLetter(QStringLiteral("^[A-Za-z]:/"));
    if (driveLetter.match(location).hasMatch())
        return QDir::cleanPath(location);
    return QDir::cleanPath(QDir::current().absoluteFilePath(location));
}

} // namespace

QString ProjectDescription::surveyDimensionText(int value)
{
    return textOf(surveyDimensions, value);
}

QString ProjectDescription::unitsText(int value)
{
    return textOf(unitTexts, value);
}

QString ProjectDescription::acquisitionTypeText(int value)
{
    return textOf(acquisitionTypes, value);
}

QString ProjectDescription::dataComponentTypeText(int value)
{
    return textOf(dataComponentTypes, value);
}

bool ProjectDescription::read()
{
    error_.clear();
    QFile file(descriptionFile_);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error_ = QStringLiteral("cannot open %1: %2").arg(descriptionFile_, file.errorString());
        return false;
    }
    QXmlStreamReader xml(&file);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("ProjectDescription")) {
        xml.raiseError(QStringLiteral("This is not a project description file"));
        error_ = xml.errorString();
        return false;
    }
    const QXmlStreamAttributes root = xml.attributes();
    if (root.hasAttribute(QLatin1String("Name")))
        name_ = root.value(QLatin1String("Name")).toString();
    if (root.hasAttribute(QLatin1String("Location")))
        location_ = normalisedLocation(root.value(QLatin1String("Location")).toString());

    static const std::array<std::pair<const char*, bool ProjectDescription::*>, 7> directoryElements = {{
        {"FlowDirectory", &ProjectDescription::flowDirectoryExists_},
        {"SeismicDirectory", &ProjectDescription::seismicDirectoryExists_},
        {"SurveyDirectory", &ProjectDescription::surveyDirectoryExists_},
        {"AuxiliaryDirectory", &ProjectDescription::auxiliaryDirectoryExists_},
        {"LogDirectory", &ProjectDescription::logDirectoryExists_},
        {"ImageDirectory", &ProjectDescription::imageDirectoryExists_},
        {"ReportDirectory", &ProjectDescription::reportDirectoryExists_},
    }};
    // Malformed XML ends the loop like the end of the document: what was read so far stays.
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringRef element = xml.name();
        const QXmlStreamAttributes attributes = xml.attributes();
        if (element == QLatin1String("ProjectAttributes")) {
            readProjectAttributes(attributes);
        } else if (element == QLatin1String("SegyFormat")) {
            readSegyFormat(attributes);
        } else {
            for (const auto& [elementName, flag] : directoryElements) {
                if (element == QLatin1String(elementName))
                    this->*flag = attributes.value(QLatin1String("Exists")) == QLatin1String("true");
            }
        }
    }
    return true;
}

void ProjectDescription::readProjectAttributes(const QXmlStreamAttributes& attributes)
{
    readText(surveyDimensions, attributes.value(QLatin1String("SurveyDimension")), surveyDimension_);
    readText(unitTexts, attributes.value(QLatin1String("Units")), units_);
    readText(acquisitionTypes, attributes.value(QLatin1String("AcquisitionType")), acquisitionType_);
    readText(dataComponentTypes, attributes.value(QLatin1String("DataComponentType")), dataComponentType_);
    bool ok = false;
    const qint64 identifier = attributes.value(QLatin1String("ProjectIdentifier")).toLongLong(&ok);
    if (ok)
        projectIdentifier_ = identifier;
}

void ProjectDescription::readSegyFormat(const QXmlStreamAttributes& attributes)
{
    // The file is stored as two elements: one with "UseDefault", then one with "FormatFile".
    if (attributes.hasAttribute(QLatin1String("UseDefault")))
        segyFormatUseDefault_ = attributes.value(QLatin1String("UseDefault")) == QLatin1String("true");
    if (attributes.hasAttribute(QLatin1String("FormatFile"))) {
        segyFormatFile_ = segyFormatUseDefault_ ? attributes.value(QLatin1String("FormatFile")).toString()
                                                : QStringLiteral("SEGY Standard.xml");
    }
}

bool ProjectDescription::write() const
{
    QSaveFile file(descriptionFile_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QXmlStreamWriter xml(&file);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("ProjectDescription"));
    xml.writeAttribute(QStringLiteral("Version"), QStringLiteral("%1.%2.%3").arg(1).arg(0).arg(0));
    xml.writeAttribute(QStringLiteral("Name"), fileBaseName());
    xml.writeAttribute(QStringLiteral("Location"), location_);
    xml.writeAttribute(QStringLiteral("Description"), QString());

    xml.writeEmptyElement(QStringLiteral("ProjectAttributes"));
    xml.writeAttribute(QStringLiteral("SurveyDimension"), surveyDimensionText(surveyDimension_));
    xml.writeAttribute(QStringLiteral("ProjectIdentifier"), QString::number(projectIdentifier_));
    xml.writeAttribute(QStringLiteral("Units"), unitsText(units_));
    xml.writeAttribute(QStringLiteral("AcquisitionType"), acquisitionTypeText(acquisitionType_));
    xml.writeAttribute(QStringLiteral("DataComponentType"), dataComponentTypeText(dataComponentType_));

    const std::array<std::pair<const char*, bool>, 7> directories = {{
        {"FlowDirectory", flowDirectoryExists_},
        {"SeismicDirectory", seismicDirectoryExists_},
        {"SurveyDirectory", surveyDirectoryExists_},
        {"AuxiliaryDirectory", auxiliaryDirectoryExists_},
        {"LogDirectory", logDirectoryExists_},
        {"ImageDirectory", imageDirectoryExists_},
        {"ReportDirectory", reportDirectoryExists_},
    }};
    for (const auto& [element, exists] : directories) {
        xml.writeEmptyElement(QString::fromLatin1(element));
        xml.writeAttribute(QStringLiteral("Exists"), boolText(exists));
    }

    xml.writeEmptyElement(QStringLiteral("SegyFormat"));
    xml.writeAttribute(QStringLiteral("UseDefault"), boolText(segyFormatUseDefault_));
    xml.writeEmptyElement(QStringLiteral("SegyFormat"));
    xml.writeAttribute(QStringLiteral("FormatFile"), segyFormatFile_);
    xml.writeEmptyElement(QStringLiteral("ColorScaleFormat"));
    xml.writeAttribute(QStringLiteral("UseDefault"), boolText(colorScaleFormatUseDefault_));
    xml.writeEmptyElement(QStringLiteral("ColorScaleFormat"));
    xml.writeAttribute(QStringLiteral("FormatFile"), colorScaleFormatFile_);

    xml.writeEndElement();
    xml.writeEndDocument();
    return !xml.hasError() && file.flush() && file.commit();
}

bool ProjectDescription::prepareSurveyRecord() const
{
    const QString surveyFile = surveyFilePath();
    if (surveyFile.isEmpty())
        return false;
    if (QFileInfo::exists(surveyFile))
        return true;
    QSaveFile file(surveyFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QXmlStreamWriter xml(&file);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("SurveyDescription"));
    const std::array<std::pair<const char*, QString>, 5> parameters = {{
        {"SurveyDimension", surveyDimensionText(surveyDimension_)},
        {"ProjectIdentifier", QString::number(projectIdentifier_)},
        {"Units", unitsText(units_)},
        {"AcquisitionType", acquisitionTypeText(acquisitionType_)},
        {"DataComponentType", dataComponentTypeText(dataComponentType_)},
    }};
    for (const auto& [parameterName, value] : parameters) {
        xml.writeEmptyElement(QStringLiteral("Parameter"));
        xml.writeAttribute(QStringLiteral("Name"), QString::fromLatin1(parameterName));
        xml.writeAttribute(QStringLiteral("Value"), value);
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return !xml.hasError() && file.flush() && file.commit();
}
