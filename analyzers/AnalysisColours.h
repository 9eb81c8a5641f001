#pragma once

#include <QColor>
#include <array>

// The colours the spectra and histograms keep; the pictures draw in the first.
inline std::array<QColor, 6> analysisColours()
{
    return {QColor(Qt::red),  QColor(Qt::green),   QColor(Qt::blue),
            QColor(Qt::cyan), QColor(Qt::magenta), QColor(Qt::yellow)};
}
