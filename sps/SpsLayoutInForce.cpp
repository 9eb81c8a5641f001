#include "sps/SpsLayoutInForce.h"

#include "sps/SpsFormatFile.h"

#include <QFileInfo>

namespace {

const QString revision21Name = QStringLiteral("sps21");

QString layerText(SpsFormatFile::Layer layer, const QString& error)
{
    switch (layer) {
    case SpsFormatFile::Layer::Absent:
        return QStringLiteral("absent");
    case SpsFormatFile::Layer::Read:
        return error.isEmpty() ? QStringLiteral("read")
                               : QStringLiteral("read up to an error: %1").arg(error);
    case SpsFormatFile::Layer::Refused:
        break;
    }
    return QStringLiteral("refused: %1").arg(error);
}

} // namespace

SpsLayoutInForce::SpsLayoutInForce(SpsKind kind) : layout_(SpsLayout::defaults(kind))
{
    fieldOrigins_.fill(Origin::BuiltIn);
}

void SpsLayoutInForce::take(Origin origin, bool startOfFile,
                            const std::array<bool, SpsLayout::fieldCount>& fields)
{
    if (startOfFile)
        startOrigin_ = origin;
    for (int field = 0; field < SpsLayout::fieldCount; ++field) {
        if (fields[size_t(field)])
            fieldOrigins_[size_t(field)] = origin;
    }
}

SpsLayoutInForce SpsLayoutInForce::forFile(SpsKind kind, const QString& spsPath)
{
    SpsLayoutInForce result(kind);
    SpsFormatFile file(spsPath, kind);
    result.userDefaultPath = SpsFormatFile(SpsFormatFile::userDefaultBase(kind), kind).path();
    if (spsPath.isEmpty()) {
        // An empty base name would name a ".fmt" file in the current directory.
        const auto layer = file.read(result.userDefaultPath, result.layout_);
        if (layer == SpsFormatFile::Layer::Absent)
            SpsFormatFile::prepareUserDefaultFolder();
        result.layers_ << QStringLiteral("user default %1: %2")
                              .arg(result.userDefaultPath, layerText(layer, file.errorString()));
        if (layer == SpsFormatFile::Layer::Refused)
            result.problems_ << QStringLiteral("%1: %2").arg(result.userDefaultPath, file.errorString());
        result.take(Origin::UserDefault, file.readParts().startOfFile, file.readParts().fields);
        return result;
    }
    static_cast<void>(file.load(result.layout_));
    result.ownPath = file.path();
    const bool ownRead = file.userDefaultLayer() != SpsFormatFile::Layer::Refused;
    const QString error = file.errorString();
    result.layers_ << QStringLiteral("user default %1: %2")
                          .arg(result.userDefaultPath,
                               layerText(file.userDefaultLayer(), ownRead ? QString() : error));
    result.layers_ << QStringLiteral("own format file %1: %2")
                          .arg(result.ownPath,
                               ownRead ? layerText(file.ownLayer(), error)
                                       : QStringLiteral("not read after the refused user default"));
    if (!ownRead)
        result.problems_ << QStringLiteral("%1: %2").arg(result.userDefaultPath, error);
    else if (file.ownLayer() == SpsFormatFile::Layer::Refused)
        result.problems_ << QStringLiteral("%1: %2").arg(result.ownPath, error);
    result.take(Origin::UserDefault, file.userDefaultParts().startOfFile, file.userDefaultParts().fields);
    result.take(Origin::OwnFile, file.ownParts().startOfFile, file.ownParts().fields);
    return result;
}

SpsLayoutInForce SpsLayoutInForce::chosen(SpsKind kind, const QString& choice)
{
    SpsLayoutInForce result(kind);
    result.chosenName = choice;
    std::array<bool, SpsLayout::fieldCount> all;
    all.fill(true);
    if (choice == revision21Name) {
        result.layout_ = SpsLayout::revision21(kind);
        result.layers_ << QStringLiteral("SPS revision 2.1 layout");
        result.take(Origin::Chosen, true, all);
        return result;
    }
    SpsFormatFile file(choice, kind);
    const auto layer =
        QFileInfo(choice).isFile() ? file.read(choice, result.layout_) : SpsFormatFile::Layer::Absent;
    result.layers_ << QStringLiteral("format file %1: %2").arg(choice, layerText(layer, file.errorString()));
    if (layer != SpsFormatFile::Layer::Read) {
        result.ok_ = false;
        result.problems_ << (layer == SpsFormatFile::Layer::Absent
                                 ? QStringLiteral("cannot read format file %1").arg(choice)
                                 : QStringLiteral("%1: %2").arg(choice, file.errorString()));
        return result;
    }
    result.take(Origin::Chosen, file.readParts().startOfFile, file.readParts().fields);
    return result;
}

QString SpsLayoutInForce::originSource(Origin origin) const
{
    switch (origin) {
    case Origin::BuiltIn:
        break;
    case Origin::UserDefault:
        return userDefaultPath;
    case Origin::OwnFile:
        return ownPath;
    case Origin::Chosen:
        return chosenName;
    }
    return QString();
}
