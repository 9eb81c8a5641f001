#include "seismic/ui/SampleFormatBox.h"

#include "seismic/SegyLayout.h"

#include <QComboBox>

namespace SampleFormatBox {

void fill(QComboBox* box)
{
    box->clear();
    for (const SegyLayout::SampleFormat& format : SegyLayout::sampleFormats)
        box->addItem(QString::fromLatin1(format.label));
    box->addItem(QStringLiteral("Undefined"));
}

} // namespace SampleFormatBox
