#include "sps/SpsFormatFile.h"

#include "base/RegularFile.h"
#include "base/WholeFile.h"
#include "base/WorkingRoot.h"

#include <QDir>
#include <QFile>
#include <QXmlStreamWriter>

namespace {

QString rootName(const SpsLayout& layout)
{
    return layout.isRelation() ? QStringLiteral("SpsRelationFormat") : QStringLiteral("SpsPointFormat");
}

QString recordName(const SpsLayout& layout)
{
    return layout.isRelation() ? QStringLiteral("RelationRecord") : QStringLiteral("PointRecord");
}

QString fieldElementName(const SpsLayout& layout)
{
    return layout.isRelation() ? QStringLiteral("RelationField") : QStringLiteral("PointField");
}

QString boolText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

const QString auxiliaryFolder = QStringLiteral("AuxiliaryFormat");

} // namespace

SpsFormatFile::SpsFormatFile(const QString& baseName, SpsKind kind) : baseName_(baseName), kind_(kind) {}

QString SpsFormatFile::userDefaultBase(SpsKind kind)
{
    return WorkingRoot::path() + QLatin1Char('/') + auxiliaryFolder + QLatin1Char('/') +
           SpsKinds::defaultFormatName(kind);
}

void SpsFormatFile::prepareUserDefaultFolder()
{
    // Only inside an existing working root: the folder belongs there and nowhere else.
    QDir root(WorkingRoot::path());
    if (root.exists() && !root.exists(auxiliaryFolder))
        root.mkdir(auxiliaryFolder);
}

bool SpsFormatFile::load(SpsLayout& layout)
{
    userDefaultLayer_ = read(SpsFormatFile(userDefaultBase(kind_), kind_).path(), layout);
    userDefaultParts_ = readParts_;
    ownLayer_ = Layer::Absent;
    ownParts_ = Parts();
    if (userDefaultLayer_ == Layer::Absent)
        prepareUserDefaultFolder();
    if (userDefaultLayer_ == Layer::Refused)
        return false;
    ownLayer_ = read(path(), layout);
    ownParts_ = readParts_;
    return ownLayer_ == Layer::Read;
}

SpsFormatFile::Layer SpsFormatFile::read(const QString& path, SpsLayout& layout)
{
    readParts_ = Parts();
    error_ = RegularFile::refusal(path);
    if (!error_.isEmpty())
        return Layer::Refused;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return Layer::Absent;
    return read(file, layout);
}

SpsFormatFile::Layer SpsFormatFile::read(QIODevice& device, SpsLayout& layout)
{
    error_.clear();
    readParts_ = Parts();
    reader_.setDevice(&device);
    while (!reader_.atEnd() && !reader_.isStartElement())
        reader_.readNext();
    // A document broken off before its root counts as read, with nothing taken from it.
    Layer layer = Layer::Read;
    if (reader_.isStartElement()) {
        if (reader_.name() == rootName(layout)) {
            readRoot(layout);
        } else {
            reader_.raiseError(QStringLiteral("This is not a SPS format file"));
            layer = Layer::Refused;
        }
    }
    error_ = reader_.hasError() ? reader_.errorString() : QString();
    reader_.setDevice(nullptr);
    return layer;
}

void SpsFormatFile::readRoot(SpsLayout& layout)
{
    const QXmlStreamAttributes attributes = reader_.attributes();
    version_ = attributes.value(QLatin1String("Version")).toString();
    name_ = attributes.value(QLatin1String("Name")).toString();
    description_ = attributes.value(QLatin1String("Description")).toString();
    const QString fieldElement = fieldElementName(layout);
    while (!reader_.atEnd()) {
        if (reader_.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader_.name() == QLatin1String("StartOfFile"))
            readStartOfFile(layout);
        else if (reader_.name() == fieldElement)
            readField(layout);
    }
}

void SpsFormatFile::readStartOfFile(SpsLayout& layout)
{
    const QXmlStreamAttributes attributes = reader_.attributes();
    if (attributes.hasAttribute(QLatin1String("ReadPointId")))
        layout.setReadPointId(attributes.value(QLatin1String("ReadPointId")) == QLatin1String("true"));
    if (attributes.hasAttribute(QLatin1String("FirstLine")))
        layout.setFirstLine(attributes.value(QLatin1String("FirstLine")).toInt());
    readParts_.startOfFile = true;
}

void SpsFormatFile::readField(SpsLayout& layout)
{
    const QXmlStreamAttributes attributes = reader_.attributes();
    QStringRef name;
    QStringRef load;
    QStringRef start;
    QStringRef end;
    bool hasLoad = true;
    if (attributes.hasAttribute(QLatin1String("Name")) &&
        attributes.hasAttribute(QLatin1String("StartColumn")) &&
        attributes.hasAttribute(QLatin1String("EndColumn"))) {
        // Named attributes are read by name, whatever their order.
        name = attributes.value(QLatin1String("Name"));
        hasLoad = attributes.hasAttribute(QLatin1String("Load"));
        load = attributes.value(QLatin1String("Load"));
        start = attributes.value(QLatin1String("StartColumn"));
        end = attributes.value(QLatin1String("EndColumn"));
    } else if (attributes.size() == 4) {
        name = attributes.at(0).value();
        load = attributes.at(1).value();
        start = attributes.at(2).value();
        end = attributes.at(3).value();
    } else if (attributes.size() == 3) {
        name = attributes.at(0).value();
        hasLoad = false;
        start = attributes.at(1).value();
        end = attributes.at(2).value();
    } else {
        return;
    }
    const int field = layout.fieldByName(name.toString());
    if (field < 0)
        return;
    layout.setColumns(field, {start.toInt(), end.toInt()});
    readParts_.fields[size_t(field)] = true;
    // Without a load flag (the older form) a field is loaded; the record letter's flag, which
    // says how data lines are told, then stays as it is.
    if (hasLoad)
        layout.setLoad(field, load == QLatin1String("true"));
    else if (field != SpsLayout::pointIdField)
        layout.setLoad(field, true);
}

QByteArray SpsFormatFile::toXml(const SpsLayout& layout, const QString& name, const QString& description)
{
    QByteArray document;
    QXmlStreamWriter xml(&document);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(rootName(layout));
    xml.writeAttribute(QStringLiteral("Version"), QStringLiteral("2.0.1"));
    xml.writeAttribute(QStringLiteral("Name"), name);
    xml.writeAttribute(QStringLiteral("Location"), QStringLiteral("Survey"));
    xml.writeAttribute(QStringLiteral("Description"), description);

    xml.writeEmptyElement(QStringLiteral("StartOfFile"));
    xml.writeAttribute(QStringLiteral("ReadPointId"), boolText(layout.readPointId()));
    xml.writeAttribute(QStringLiteral("FirstLine"), QString::number(layout.firstLine()));

    xml.writeStartElement(recordName(layout));
    for (int field = 0; field < SpsLayout::fieldCount; ++field) {
        xml.writeEmptyElement(fieldElementName(layout));
        xml.writeAttribute(QStringLiteral("Name"), layout.fieldName(field));
        xml.writeAttribute(QStringLiteral("Load"), boolText(layout.load(field)));
        xml.writeAttribute(QStringLiteral("StartColumn"), QString::number(layout.columns(field).start));
        xml.writeAttribute(QStringLiteral("EndColumn"), QString::number(layout.columns(field).end));
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return document;
}

bool SpsFormatFile::write(const SpsLayout& layout, const QString& description)
{
    // A failed write leaves the file that was there untouched, and no temporary file.
    WholeFile file(path());
    if (!file.open() || !file.write(toXml(layout, path(), description)) || !file.commit(true)) {
        error_ = file.errorString();
        return false;
    }
    error_.clear();
    return true;
}
