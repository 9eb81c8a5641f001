#pragma once

#include <QString>
#include <functional>

class QMenu;
class QWidget;

// The "Recent files" menu: the files of RecentFiles, newest first, read afresh each time it
// opens; choosing one hands its path to `open`.
namespace RecentFilesMenu {

QMenu* create(QWidget* parent, std::function<void(const QString& path)> open);

} // namespace RecentFilesMenu
