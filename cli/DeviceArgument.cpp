#include "cli/DeviceArgument.h"

#include "devices/TapeDevice.h"
#include "devices/TapeDriveList.h"

#include <QFileInfo>

namespace {
const QString tapePrefix = QStringLiteral("tape:");
} // namespace

bool DeviceArgument::parse(const QString& text, DeviceArgument* argument, QString* errorText)
{
    *argument = DeviceArgument();
    if (text.isEmpty()) {
        *errorText = QStringLiteral("empty device name");
        return false;
    }
    if (!text.startsWith(tapePrefix)) {
        argument->path = text;
        return true;
    }
    const QString rest = text.mid(tapePrefix.size());
    if (rest.isEmpty()) {
        *errorText = QStringLiteral("'tape:' needs a drive number or an image path");
        return false;
    }
    bool number = false;
    const int index = rest.toInt(&number);
    // Digits only: a drive number. Anything else is an image path ("tape:./7" for a file named 7).
    if (number && index >= 0 && !rest.startsWith(QLatin1Char('+'))) {
        argument->kind = Kind::TapeDrive;
        argument->driveIndex = index;
        return true;
    }
    argument->kind = Kind::TapeImage;
    argument->path = rest;
    return true;
}

TapeArgument::TapeArgument() = default;
TapeArgument::~TapeArgument() = default;

bool TapeArgument::resolve(const DeviceArgument& argument, ObrConsole* console, QString* errorText)
{
    tape = nullptr;
    if (argument.kind == DeviceArgument::Kind::Disk) {
        *errorText = QStringLiteral("%1 is not a tape (use tape:N or tape:PATH)").arg(argument.path);
        return false;
    }
    if (argument.kind == DeviceArgument::Kind::TapeDrive) {
        registry = std::make_unique<TapeDriveList>(console);
        tape = registry->drive(argument.driveIndex);
        if (!tape)
            *errorText = QStringLiteral("there is no tape drive %1 (obrio tape list shows the drives)")
                             .arg(argument.driveIndex);
        return tape != nullptr;
    }
    const QFileInfo image(argument.path);
    if (!image.isFile()) {
        *errorText = QStringLiteral("no such tape image: %1").arg(argument.path);
        return false;
    }
    registry = std::make_unique<TapeDriveList>(console, QStringList{image.absoluteFilePath()},
                                               TapeRoadSetting::configured());
    tape = registry->drive(0);
    if (!tape)
        *errorText = QStringLiteral("tape image %1 could not be used as a drive").arg(argument.path);
    return tape != nullptr;
}
