#include "seismic/SegyWordRanges.h"

#include "seismic/HeaderDataType.h"

#include <algorithm>
#include <cmath>
#include <utility>

SegyWordRanges::SegyWordRanges(QVector<SegyFormat::HeaderWord> words)
    : words_(std::move(words)), ranges_(words_.size())
{}

void SegyWordRanges::add(const char* header, qint64 length, bool swap)
{
    for (int row = 0; row < words_.size(); ++row) {
        const SegyFormat::HeaderWord& word = words_[row];
        const int size = HeaderDataType::size(word.type);
        if (size == 0 || word.startByte < 1 || qint64(word.startByte) - 1 + size > length)
            continue;
        const double value = HeaderDataType::readValue(header, length, word.startByte, word.type, swap);
        if (std::isnan(value))
            continue;
        Range& range = ranges_[row];
        range.minimum = range.seen ? std::min(range.minimum, value) : value;
        range.maximum = range.seen ? std::max(range.maximum, value) : value;
        range.seen = true;
    }
}

QString SegyWordRanges::minimumText(int row) const
{
    const Range& range = ranges_.at(row);
    return range.seen ? HeaderDataType::text(range.minimum, words_[row].type) : QString();
}

QString SegyWordRanges::maximumText(int row) const
{
    const Range& range = ranges_.at(row);
    return range.seen ? HeaderDataType::text(range.maximum, words_[row].type) : QString();
}
