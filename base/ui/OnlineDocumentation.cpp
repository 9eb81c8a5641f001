#include "base/ui/OnlineDocumentation.h"

#include "base/ui/ScreenFit.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// A modal dialog blocks every window but its own: help asked for from a dialog becomes one of
// the dialog's windows, so that it can be read and closed while the dialog runs. When the dialog
// ends, the help window passes to the modal window then current, or stands alone.
void adoptByActiveModal(QWidget* viewer, QWidget* leaving = nullptr)
{
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == leaving || owner == viewer)
        owner = nullptr;
    if (viewer->parentWidget() == owner)
        return;
    const bool shown = viewer->isVisible();
    const QRect geometry = viewer->geometry();
    viewer->setParent(owner, Qt::Window);
    viewer->setGeometry(geometry);
    if (auto* dialog = qobject_cast<QDialog*>(owner)) {
        QObject::connect(dialog, &QDialog::finished, viewer,
                         [viewer, dialog] { adoptByActiveModal(viewer, dialog); });
    }
    if (shown)
        viewer->show();
}

} // namespace

OnlineDocumentation* OnlineDocumentation::showHelp(const QString& page)
{
    const QString directory = QDir::current().absolutePath() + QStringLiteral("/Docs");
    auto* viewer = new OnlineDocumentation(directory, page);
    viewer->resize(780, 720);
    ScreenFit::fitToScreen(viewer);
    adoptByActiveModal(viewer);
    viewer->show();
    return viewer;
}

OnlineDocumentation::OnlineDocumentation(const QString& documentationDirectory, const QString& page,
                                         QWidget* parent, bool keepAlive)
    : QWidget(parent)
{
    if (!keepAlive)
        setAttribute(Qt::WA_DeleteOnClose);

    browser = new QTextBrowser(this);
    mainMenuButton = new QPushButton(QStringLiteral("Main menu"), this);
    previousButton = new QPushButton(QStringLiteral("Previous page"), this);
    upButton = new QPushButton(QStringLiteral("Up"), this);
    nextButton = new QPushButton(QStringLiteral("Next page"), this);
    closeButton = new QPushButton(QStringLiteral("Close"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mainMenuButton);
    buttons->addStretch();
    buttons->addWidget(previousButton);
    buttons->addWidget(upButton);
    buttons->addWidget(nextButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser);

    connect(mainMenuButton, &QPushButton::clicked, browser, &QTextBrowser::home);
    connect(previousButton, &QPushButton::clicked, browser, &QTextBrowser::backward);
    connect(nextButton, &QPushButton::clicked, browser, &QTextBrowser::forward);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(browser, &QTextBrowser::sourceChanged, this, &OnlineDocumentation::updateWindowTitle);

    browser->setSearchPaths({documentationDirectory, QStringLiteral(":/images")});
    browser->setSource(QUrl(page));
}

void OnlineDocumentation::updateWindowTitle()
{
    setWindowTitle(QStringLiteral("Online Documentation: %1").arg(browser->documentTitle()));
}
