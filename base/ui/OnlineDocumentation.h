#pragma once

#include <QString>
#include <QWidget>

class QPushButton;
class QTextBrowser;

// A small browser window over the HTML help pages, with a history and a home page.
class OnlineDocumentation : public QWidget {
    Q_OBJECT
public:
    // Opens a new viewer on a page of the "Docs" directory beside the working directory. Any number
    // of viewers may be open; each lives on its own until the user closes it.
    static OnlineDocumentation* showHelp(const QString& page);

    // The page is a file name found through the documentation directory (then the built-in
    // images). Unless keepAlive is set, closing the window deletes it.
    OnlineDocumentation(const QString& documentationDirectory, const QString& page, QWidget* parent = nullptr,
                        bool keepAlive = false);

public slots:
    void updateWindowTitle();

private:
    QTextBrowser* browser;
    QPushButton* mainMenuButton;
    QPushButton* previousButton;
    QPushButton* upButton;
    QPushButton* nextButton;
    QPushButton* closeButton;
};
