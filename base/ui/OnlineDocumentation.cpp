#include "base/ui/OnlineDocumentation.h"

#include <QDir>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

OnlineDocumentation* OnlineDocumentation::showHelp(const QString& page)
{
    const QString directory = QDir::current().absolutePath() + QStringLiteral("/Docs");
    auto* viewer = new OnlineDocumentation(directory, page);
    viewer->resize(780, 720);
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
