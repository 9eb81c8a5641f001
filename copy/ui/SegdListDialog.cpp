#include "copy/ui/SegdListDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

SegdListDialog::SegdListDialog(const QString& title, const QString& prompt, bool withExclude, QWidget* parent)
    : QDialog(parent), edit(new QLineEdit(this)), excludeOption(new QCheckBox(this)),
      errorLabel(new QLabel(this))
{
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(prompt, this);
    layout->addWidget(label);
    edit->setObjectName(QStringLiteral("ListText"));
    edit->setPlaceholderText(QStringLiteral("1-100, 150, 200-300"));
    edit->setMinimumWidth(320);
    layout->addWidget(edit);
    excludeOption->setObjectName(QStringLiteral("ExcludeOption"));
    excludeOption->setText(QStringLiteral("Exclude the listed field files (else copy only those)"));
    excludeOption->setVisible(withExclude);
    layout->addWidget(excludeOption);
    errorLabel->setObjectName(QStringLiteral("ListError"));
    errorLabel->setStyleSheet(QStringLiteral("color: red"));
    errorLabel->hide();
    layout->addWidget(errorLabel);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &SegdListDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SegdListDialog::reject);
    layout->addWidget(buttons);
}

void SegdListDialog::setText(const QString& text)
{
    edit->setText(text);
}

QString SegdListDialog::text() const
{
    return edit->text().trimmed();
}

void SegdListDialog::setExclude(bool exclude)
{
    excludeOption->setChecked(exclude);
}

bool SegdListDialog::exclude() const
{
    return excludeOption->isChecked();
}

void SegdListDialog::accept()
{
    QString errorText;
    if (!NumberList::parse(edit->text(), &parsed, &errorText)) {
        errorLabel->setText(errorText);
        errorLabel->show();
        return;
    }
    QDialog::accept();
}
