// How files reach the SEG-Y analyzer besides File Browse: the recent files, drag and drop, and
// the window's keys.
#include "analyzers/ui/SegyAnalysis.h"
#include "base/ui/FileDrops.h"
#include "base/ui/RecentFilesMenu.h"
#include "seismic/SegyData.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <functional>

void SegyAnalysis::openFile(const QString& path)
{
    file.path = path;
    setTitleFromFileName();
    file.data.reset();
    static_cast<void>(openSegyFile());
}

void SegyAnalysis::addFileActions()
{
    const struct {
        const char* text;
        QKeySequence keys;
        std::function<void()> act;
    } actions[] = {{"Open SEG-Y file...", QKeySequence(Qt::CTRL + Qt::Key_O), [this] { onFileBrowse(); }},
                   {"Close", QKeySequence(Qt::CTRL + Qt::Key_W), [this] { close(); }},
                   {"Export image", QKeySequence(Qt::CTRL + Qt::Key_E), [this] { exportTracePlot(); }},
                   {"Help", QKeySequence(Qt::Key_F1), [this] { showHelp(); }}};
    for (const auto& entry : actions) {
        auto* action = new QAction(QString::fromLatin1(entry.text), this);
        action->setShortcut(entry.keys);
        connect(action, &QAction::triggered, this, entry.act);
        addAction(action);
    }
    FileBrowse->setToolTip(QStringLiteral("Ctrl+O; a SEG-Y file dropped on the window opens as well"));
    auto* recent = new QPushButton(QStringLiteral("Recent files"), this);
    recent->setObjectName(QStringLiteral("RecentFiles"));
    recent->setAutoDefault(false);
    recent->setMenu(RecentFilesMenu::create(recent, [this](const QString& path) { openFile(path); }));
    layout_25->insertWidget(layout_25->indexOf(FileBrowse), recent);
    setAcceptDrops(true);
}

void SegyAnalysis::dragEnterEvent(QDragEnterEvent* event)
{
    if (!FileDrops::segyFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void SegyAnalysis::dropEvent(QDropEvent* event)
{
    const QString file = FileDrops::segyFile(event->mimeData());
    if (file.isEmpty())
        return;
    event->acceptProposedAction();
    // The drop finishes before the file is read.
    QMetaObject::invokeMethod(
        this, [this, file] { openFile(file); }, Qt::QueuedConnection);
}
