#include "analyzers/ui/TraceHeaderPanel.h"

#include "seismic/SegyTraceDump.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeWidgetItemIterator>

TraceHeaderPanel::TraceHeaderPanel(QWidget* parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("TraceHeaderPanel"));
    setColumnCount(2);
    setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Value")});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setIndentation(8);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The columns share the width: no scrolling sideways to reach the values.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideMiddle);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::Stretch);
    header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
}

QTreeWidgetItem* TraceHeaderPanel::addSection(const QString& title)
{
    auto* section = new QTreeWidgetItem(this, {title});
    section->setFirstColumnSpanned(true);
    QFont bold = section->font(0);
    bold.setBold(true);
    section->setFont(0, bold);
    section->setToolTip(0, title);
    section->setExpanded(true);
    return section;
}

void TraceHeaderPanel::addRow(QTreeWidgetItem* section, const QString& name, const QString& value,
                              const QString& tip)
{
    auto* row = new QTreeWidgetItem(section, {name, value});
    row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    row->setToolTip(0, tip);
    row->setToolTip(1, value);
}

void TraceHeaderPanel::showDump(const SegyTraceDump::Dump& dump)
{
    clear();
    addSection(QStringLiteral("Trace %1 at byte %2").arg(dump.number).arg(dump.position));
    QTreeWidgetItem* words = addSection(QStringLiteral("Header words"));
    for (const SegyTraceDump::Word& word : dump.words)
        addRow(words, QStringLiteral("%1  %2").arg(word.startByte).arg(word.name), word.value,
               QStringLiteral("Byte %1, %2: %3").arg(word.startByte).arg(word.type, word.name));
    QTreeWidgetItem* keys = addSection(QStringLiteral("Decoded keys"));
    for (const SegyTraceDump::Key& key : dump.keys)
        addRow(keys, key.name, QString::number(key.value, 'g', 12),
               QStringLiteral("Trace key %1").arg(key.key));
    QTreeWidgetItem* times = addSection(QStringLiteral("Scalars and times"));
    const auto plain = [this, times](const QString& name, const QString& value) {
        addRow(times, name, value, name);
    };
    plain(QStringLiteral("Coordinate scalar"), QString::number(dump.coordinateScalar));
    plain(QStringLiteral("Elevation scalar"), QString::number(dump.elevationScalar));
    plain(QStringLiteral("Time scalar"), QString::number(dump.timeScalar));
    plain(QStringLiteral("Recording delay (ms)"), QString::number(dump.recordingDelay));
    plain(QStringLiteral("Acquisition time"), dump.acquisitionTime);
}

void TraceHeaderPanel::showMessage(const QString& text)
{
    clear();
    addSection(text);
}

void TraceHeaderPanel::keyPressEvent(QKeyEvent* event)
{
    if (!event->matches(QKeySequence::Copy)) {
        QTreeWidget::keyPressEvent(event);
        return;
    }
    QStringList lines;
    // In the order shown, whatever the order of choosing.
    for (QTreeWidgetItemIterator it(this, QTreeWidgetItemIterator::Selected); *it; ++it)
        lines.append((*it)->text(1).isEmpty() ? (*it)->text(0)
                                              : (*it)->text(0) + QLatin1Char('\t') + (*it)->text(1));
    QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

QString TraceHeaderPanel::title() const
{
    return topLevelItemCount() > 0 ? topLevelItem(0)->text(0) : QString();
}
