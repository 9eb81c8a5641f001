#include "analyzers/ui/GatherChoice.h"

#include "analyzers/HeaderGraph.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QToolButton>

GatherChoice::GatherChoice(QWidget* parent, QWidget* keysArea)
    : QWidget(parent), key(new QComboBox(this)), value(new QLineEdit(this)), status(new QLabel(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Gather by"), this));
    key->setObjectName(QStringLiteral("GatherKey"));
    key->addItem(QStringLiteral("Trace range"));
    key->addItems(HeaderGraph::keyNames());
    key->setToolTip(
        QStringLiteral("Plot the traces whose header word holds a value, in place of the trace range"));
    layout->addWidget(key);
    value->setObjectName(QStringLiteral("GatherValue"));
    value->setPlaceholderText(QStringLiteral("1021 or 0-500"));
    value->setEnabled(false);
    layout->addWidget(value);
    for (auto [name, text, tip, direction, keys] :
         {std::tuple("PreviousGather", "Previous", "The gather before (PageUp)", -1, Qt::Key_PageUp),
          std::tuple("NextGather", "Next", "The gather after (PageDown)", 1, Qt::Key_PageDown)}) {
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String(name));
        button->setText(QLatin1String(text));
        button->setToolTip(QLatin1String(tip));
        layout->addWidget(button);
        connect(button, &QToolButton::clicked, this,
                [this, direction = direction] { emit stepped(direction); });
        auto* shortcut = new QShortcut(QKeySequence(keys), keysArea);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this,
                [this, direction = direction] { emit stepped(direction); });
    }
    status->setObjectName(QStringLiteral("GatherStatus"));
    layout->addWidget(status, 1);
    connect(key, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] {
        value->setEnabled(byKey());
        status->clear();
        if (!byKey() || !value->text().trimmed().isEmpty())
            emit chosen();
    });
    connect(value, &QLineEdit::editingFinished, this, [this] {
        if (value->text() != applied) {
            applied = value->text();
            emit chosen();
        }
    });
}

bool GatherChoice::byKey() const
{
    return key->currentIndex() > 0;
}

bool GatherChoice::selection(GatherSelection* chosen, QString* problem) const
{
    return byKey() && GatherSelection::parse(key->currentText(), value->text(), chosen, problem);
}

void GatherChoice::showSelection(const GatherSelection& chosen)
{
    applied = chosen.valueText();
    value->setText(applied);
}

void GatherChoice::showStatus(const QString& text)
{
    status->setText(text);
}
