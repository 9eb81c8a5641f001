#include "analyzers/ui/PlotArea.h"

#include "ui_SegyAnalyzer.h"

#include <QLayout>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>

namespace {

// Every widget a layout holds, also in the layouts nested in it.
void collectWidgets(QLayout* layout, QVector<QWidget*>& widgets)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget())
            widgets.append(item->widget());
        else if (item->layout())
            collectWidgets(item->layout(), widgets);
    }
}

} // namespace

PlotArea::PlotArea(Ui::SegyAnalyzerClass& form, QWidget* window)
    : QObject(window), form(form), window(window),
      formatToggle(new QPushButton(QStringLiteral("Format controls"), window)),
      fullWindowButton(new QPushButton(QStringLiteral("Full window"), window)),
      leave(new QShortcut(QKeySequence(Qt::Key_Escape), window))
{
    formatToggle->setObjectName(QStringLiteral("FormatControlsShown"));
    formatToggle->setCheckable(true);
    formatToggle->setAutoDefault(false);
    formatToggle->setToolTip(QStringLiteral("Show or hide the byte order, header and field controls"));
    form.layout_25->insertWidget(1, formatToggle);
    fullWindowButton->setObjectName(QStringLiteral("FullWindowPlot"));
    fullWindowButton->setAutoDefault(false);
    fullWindowButton->setToolTip(QStringLiteral("The trace plot in the whole window (F11; Esc or F11 back)"));
    form.layout_20->addWidget(fullWindowButton, 0, form.layout_20->columnCount());
    connect(fullWindowButton, &QPushButton::clicked, this, &PlotArea::toggleFullWindow);
    auto* f11 = new QShortcut(QKeySequence(Qt::Key_F11), window);
    connect(f11, &QShortcut::activated, this, &PlotArea::toggleFullWindow);
    // Esc leaves full window mode only; otherwise it closes the window as before.
    leave->setEnabled(false);
    connect(leave, &QShortcut::activated, this, &PlotArea::leaveFullWindow);
    connect(formatToggle, &QPushButton::toggled, this, [this](bool shown) {
        (this->form.HeaderTab->currentWidget() == this->form.SeismicViewTab ? withPlot : withTables) = shown;
        this->form.FormatPanel->setVisible(shown);
    });
    // A click makes way for the plot before its page is shown, so that a plot fitted as it is
    // shown fills the room it gets.
    connect(form.HeaderTab->tabBar(), &QTabBar::tabBarClicked, this, &PlotArea::tabShown);
    connect(form.HeaderTab, &QTabWidget::currentChanged, this, &PlotArea::tabShown);
    tabShown(form.HeaderTab->currentIndex());
}

void PlotArea::tabShown(int index)
{
    if (index >= 0 && !fullWindow())
        showFormatControls(form.HeaderTab->widget(index) == form.SeismicViewTab ? withPlot : withTables);
}

void PlotArea::showFormatControls(bool shown)
{
    formatToggle->setChecked(shown);
    form.FormatPanel->setVisible(shown);
    // The room is given at once: a plot fitted as its page is shown fits the room it has then.
    window->layout()->activate();
}

void PlotArea::toggleFullWindow()
{
    if (fullWindow())
        leaveFullWindow();
    else
        enterFullWindow();
}

void PlotArea::enterFullWindow()
{
    form.HeaderTab->setCurrentWidget(form.SeismicViewTab);
    QVector<QWidget*> others{form.FormatPanel, form.HeaderTab->tabBar()};
    collectWidgets(form.layout_20, others);
    collectWidgets(form.layout_25, others);
    for (QWidget* widget : others) {
        if (widget->isVisible()) {
            widget->hide();
            hidden.append(widget);
        }
    }
    if (hidden.isEmpty())
        return;
    stateBefore = window->windowState();
    window->setWindowState(stateBefore | Qt::WindowFullScreen);
    leave->setEnabled(true);
}

void PlotArea::leaveFullWindow()
{
    for (const QPointer<QWidget>& widget : hidden) {
        if (widget)
            widget->show();
    }
    hidden.clear();
    leave->setEnabled(false);
    window->setWindowState(stateBefore);
}
