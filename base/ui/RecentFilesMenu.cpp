#include "base/ui/RecentFilesMenu.h"

#include "base/RecentFiles.h"

#include <QDir>
#include <QMenu>

namespace RecentFilesMenu {

QMenu* create(QWidget* parent, std::function<void(const QString& path)> open)
{
    auto* menu = new QMenu(QStringLiteral("Recent files"), parent);
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, open] {
        menu->clear();
        const QStringList files = RecentFiles::list();
        int number = 0;
        for (const QString& path : files) {
            // "&1" to "&9" and "1&0": each entry has its key.
            const QString key = ++number < 10 ? QStringLiteral("&%1").arg(number) : QStringLiteral("1&0");
            QAction* action =
                menu->addAction(QStringLiteral("%1  %2").arg(key, QDir::toNativeSeparators(path)));
            QObject::connect(action, &QAction::triggered, menu, [open, path] { open(path); });
        }
        if (files.isEmpty())
            menu->addAction(QStringLiteral("No recent files"))->setEnabled(false);
    });
    return menu;
}

} // namespace RecentFilesMenu
