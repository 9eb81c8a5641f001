#include "seismic/SegyFormatFile.h"

#include "base/RegularFile.h"
#include "base/ShareDirectory.h"
#include "seismic/SampleConversion.h"
#include "seismic/SegyLayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamWriter>

const QString SegyFormatFile::standardFileName = QStringLiteral("SEGY Standard.xml");

namespace {

// "DataType" texts by HeaderDataType code; other codes are written as an empty text, which
// readers skip.
constexpr const char* dataTypeNames[] = {"1-byte integer",
                                         "2-byte integer",
                                         "4-byte integer",
                                         "IBM Float",
                                         "IEEE Float",
                                         "2-byte unsigned integer",
                                         "8-byte integer",
                                         "4-byte unsigned integer",
                                         "8-byte unsigned integer",
                                         "IEEE Double"};
constexpr int namedTypeCount = int(sizeof dataTypeNames / sizeof dataTypeNames[0]);
static_assert(namedTypeCount == HeaderDataType::codeCount, "a text for every type");

QString dataTypeText(int type)
{
    return type >= 0 && type < namedTypeCount ? QString::fromLatin1(dataTypeNames[type]) : QString();
}

// The code a "DataType" text names, or -1.
int dataTypeCode(const QStringRef& text)
{
    for (int code = 0; code < namedTypeCount; ++code) {
        if (text == QLatin1String(dataTypeNames[code]))
            return code;
    }
    return -1;
}

QString boolText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

QString endianText(const SegyFormat& format)
{
    if (format.endianFromData)
        return QStringLiteral("Get from data");
    return format.endianOrder == SegyFormat::LittleEndian ? QStringLiteral("Little endian")
                                                          : QStringLiteral("Big endian");
}

void writeBinaryWord(QXmlStreamWriter& xml, const QString& name, const SegyFormat::BinaryWord& word,
                     bool fractional)
{
    xml.writeStartElement(QStringLiteral("HeaderWord"));
    xml.writeAttribute(QStringLiteral("Name"), name);
    xml.writeAttribute(QStringLiteral("StartByte"), QString::number(word.startByte));
    xml.writeAttribute(QStringLiteral("DataType"), dataTypeText(word.type));
    xml.writeAttribute(QStringLiteral("Override"), boolText(word.override));
    xml.writeAttribute(QStringLiteral("OverrideValue"),
                       fractional ? QString::number(word.overrideValue)
                                  : QString::number(SampleConversion::truncateToInteger(word.overrideValue)));
    xml.writeEndElement();
}

// The sample format codes the binary header word may hold, for the user who edits the file; a
// reader takes nothing from them.
void writeSampleFormats(QXmlStreamWriter& xml)
{
    xml.writeStartElement(QStringLiteral("SampleFormats"));
    for (const SegyLayout::SampleFormat& format : SegyLayout::sampleFormats) {
        xml.writeStartElement(QStringLiteral("SampleFormat"));
        xml.writeAttribute(QStringLiteral("Code"), QString::number(format.code));
        xml.writeAttribute(QStringLiteral("Bytes"), QString::number(format.bytesPerSample));
        xml.writeAttribute(QStringLiteral("Name"), QString::fromLatin1(format.name));
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

// The attribute at a position, or an empty text when the element has fewer.
QStringRef attributeAt(const QXmlStreamAttributes& attributes, int position)
{
    return position < attributes.size() ? attributes.at(position).value() : QStringRef();
}

} // namespace

SegyFormatFile::SegyFormatFile(const QString& path, int mode)
    : mode_(mode), path_(path), format_(std::make_unique<SegyFormat>(false))
{
    format_->path = path;
}

bool SegyFormatFile::read()
{
    errorString_ = RegularFile::refusal(path_);
    if (!errorString_.isEmpty())
        return false;
    QFile file(path_);
    return file.open(QIODevice::ReadOnly | QIODevice::Text) && read(file);
}

bool SegyFormatFile::read(QIODevice& device)
{
    format_->headerWords.clear();
    reader_.setDevice(&device);
    while (!reader_.atEnd() && !reader_.isStartElement())
        reader_.readNext();
    if (reader_.name() != QLatin1String("SegyFormat")) {
        reader_.raiseError(QStringLiteral("This is not a SEGY format file"));
        errorString_ = reader_.errorString();
        reader_.setDevice(nullptr);
        return false;
    }
    readRootAttributes();
    while (!reader_.atEnd()) {
        if (reader_.readNext() == QXmlStreamReader::StartElement)
            readElement();
    }
    // A document broken off half way is no format file either.
    const bool complete = !reader_.hasError();
    errorString_ = reader_.errorString();
    reader_.setDevice(nullptr);
    return complete;
}

void SegyFormatFile::readRootAttributes()
{
    const QXmlStreamAttributes attributes = reader_.attributes();
    versionText_ = attributes.value(QLatin1String("Version")).toString();
    if (versionText_ == QLatin1String("2.0.1"))
        version_ = 2.01;
    else if (versionText_ == QLatin1String("1.0.1"))
        version_ = 1.01;
    else
        version_ = 1.0;
    name_ = attributes.value(QLatin1String("Name")).toString();
    description_ = attributes.value(QLatin1String("Description")).toString();
    format_->path = attributes.value(QLatin1String("Location")).toString() + QLatin1Char('/') + name_ +
                    QStringLiteral(".xml");
}

void SegyFormatFile::readElement()
{
    SegyFormat& format = *format_;
    const QXmlStreamAttributes attributes = reader_.attributes();
    const QStringRef size = attributes.value(QLatin1String("Size"));
    const QStringRef element = reader_.name();
    if (element == QLatin1String("TextHeader")) {
        if (!size.isEmpty())
            format.textHeaderSize = size.toInt();
        if (attributes.hasAttribute(QLatin1String("Format")))
            format.textHeaderAscii = attributes.value(QLatin1String("Format")) != QLatin1String("EBCDIC");
    } else if (element == QLatin1String("BinaryHeader")) {
        if (!size.isEmpty())
            format.binaryHeaderSize = size.toInt();
        const QStringRef endian = attributes.value(QLatin1String("EndianOrder"));
        if (endian == QLatin1String("Get from data")) {
            format.endianFromData = true;
            format.endianOrder = SegyFormat::FromData;
        } else if (endian == QLatin1String("Big endian")) {
            format.endianFromData = false;
            format.endianOrder = SegyFormat::BigEndian;
        } else if (endian == QLatin1String("Little endian")) {
            format.endianFromData = false;
            format.endianOrder = SegyFormat::LittleEndian;
        }
    } else if (element == QLatin1String("TraceHeader")) {
        if (!size.isEmpty())
            format.traceHeaderSize = size.toInt();
        const QStringRef exportFull = attributes.value(QLatin1String("ExportFullHeader"));
        if (exportFull == QLatin1String("true") || exportFull == QLatin1String("false"))
            format.exportFullHeader = exportFull == QLatin1String("true");
    } else if (element == QLatin1String("HeaderWord")) {
        const QStringRef first = attributeAt(attributes, 0);
        if (first == QLatin1String("Sample format") || first == QLatin1String("Sample interval") ||
            first == QLatin1String("Samples per trace"))
            readBinaryWord(attributes);
        else
            readTraceWord(attributes);
    }
}

void SegyFormatFile::readBinaryWord(const QXmlStreamAttributes& attributes)
{
    const QStringRef name = attributeAt(attributes, 0);
    const int type = dataTypeCode(attributeAt(attributes, 2));
    if (type < 0)
        return;
    SegyFormat::BinaryWord& word = name == QLatin1String("Sample format")     ? format_->sampleFormat
                                   : name == QLatin1String("Sample interval") ? format_->sampleInterval
                                                                              : format_->samplesPerTrace;
    word.startByte = attributeAt(attributes, 1).toInt();
    word.type = type;
    const QStringRef override = attributeAt(attributes, 3);
    if (override == QLatin1String("true") || override == QLatin1String("false"))
        word.override = override == QLatin1String("true");
    const QStringRef value = attributeAt(attributes, 4);
    word.overrideValue = &word == &format_->sampleInterval ? value.toDouble() : double(value.toInt());
}

void SegyFormatFile::readTraceWord(const QXmlStreamAttributes& attributes)
{
    const bool version2 = version_ >= 2.0;
    SegyFormat::HeaderWord word;
    word.name = attributeAt(attributes, 0).toString();
    word.abbreviation = version2 ? attributeAt(attributes, 1).toString() : QString();
    word.startByte = attributeAt(attributes, version2 ? 2 : 1).toInt();
    word.type = dataTypeCode(attributeAt(attributes, version2 ? 3 : 2));
    if (word.type < 0)
        return;
    word.inIndexFile = version2 && attributeAt(attributes, 4) == QLatin1String("true");

    // A word replaces an earlier one of the same name and start byte. Words of different names
    // may share a start byte: the standard list itself overlaps.
    QVector<SegyFormat::HeaderWord>& words = format_->headerWords;
    auto same = std::find_if(words.begin(), words.end(), [&](const SegyFormat::HeaderWord& other) {
        return other.startByte == word.startByte && other.name == word.name;
    });
    if (same != words.end())
        *same = word;
    else
        words.append(word);
    const int slot = SegyFormat::keySlotByName(word.name);
    if (slot >= 0)
        format_->placeKeySlot(slot, word.startByte, word.type);
}

QByteArray SegyFormatFile::toXml(const SegyFormat& format, const QString& description)
{
    QByteArray document;
    QXmlStreamWriter xml(&document);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("SegyFormat"));
    xml.writeAttribute(QStringLiteral("Version"), QStringLiteral("2.0.1"));
    // The name without folder and extension: readers put the location and ".xml" back.
    xml.writeAttribute(QStringLiteral("Name"), QFileInfo(format.path).completeBaseName());
    xml.writeAttribute(QStringLiteral("Location"), QStringLiteral("SegyFormats"));
    xml.writeAttribute(QStringLiteral("Description"), description);

    xml.writeStartElement(QStringLiteral("TextHeader"));
    xml.writeAttribute(QStringLiteral("Size"), QString::number(format.textHeaderSize));
    xml.writeAttribute(QStringLiteral("Format"),
                       format.textHeaderAscii ? QStringLiteral("ASCII") : QStringLiteral("EBCDIC"));
    xml.writeEndElement();

    xml.writeStartElement(QStringLiteral("BinaryHeader"));
    xml.writeAttribute(QStringLiteral("Size"), QString::number(format.binaryHeaderSize));
    xml.writeAttribute(QStringLiteral("EndianOrder"), endianText(format));
    writeBinaryWord(xml, QStringLiteral("Sample format"), format.sampleFormat, false);
    writeBinaryWord(xml, QStringLiteral("Sample interval"), format.sampleInterval, true);
    writeBinaryWord(xml, QStringLiteral("Samples per trace"), format.samplesPerTrace, false);
    xml.writeEndElement();
    writeSampleFormats(xml);

    xml.writeStartElement(QStringLiteral("TraceHeader"));
    xml.writeAttribute(QStringLiteral("Size"), QString::number(format.traceHeaderSize));
    xml.writeAttribute(QStringLiteral("ExportFullHeader"), boolText(format.exportFullHeader));
    for (const SegyFormat::HeaderWord& word : format.headerWords) {
        xml.writeStartElement(QStringLiteral("HeaderWord"));
        xml.writeAttribute(QStringLiteral("Name"), word.name);
        xml.writeAttribute(QStringLiteral("Abbreviation"), word.abbreviation);
        xml.writeAttribute(QStringLiteral("StartByte"), QString::number(word.startByte));
        xml.writeAttribute(QStringLiteral("DataType"), dataTypeText(word.type));
        xml.writeAttribute(QStringLiteral("InIndexFile"), boolText(word.inIndexFile));
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return document;
}

bool SegyFormatFile::write(const SegyFormat& format, const QString& description)
{
    // Written whole or not at all: a half-written format file would mislead every reader.
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    // The last bytes reach the file only at the flush, whose failure commit() would not see.
    file.write(toXml(format, description));
    return file.flush() && file.commit();
}

bool SegyFormatFile::installStandard(const QString& directory, QString* errorText)
{
    const QString path = directory + QLatin1Char('/') + standardFileName;
    if (QFileInfo::exists(path))
        return true;
    const QString installed = ShareDirectory::file(standardFileName);
    QFile source(installed);
    if (!source.open(QIODevice::ReadOnly)) {
        if (errorText)
            *errorText = QStringLiteral("cannot read the standard SEG-Y format file %1").arg(installed);
        return false;
    }
    QSaveFile target(path);
    if (QDir().mkpath(directory) && target.open(QIODevice::WriteOnly) &&
        target.write(source.readAll()) == source.size() && target.flush() && target.commit())
        return true;
    if (errorText)
        *errorText = QStringLiteral("cannot write the standard SEG-Y format file %1").arg(path);
    return false;
}
