#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>
#include <string_view>

// An SPS file held in memory once, as its bytes and the start of every line. A line ends at a
// line feed; a carriage return before it is not part of the line. Each byte is one column.
class SpsLines {
public:
    // Files beyond these limits are refused rather than read into memory.
    static constexpr qint64 maximumFileSize = qint64(1) << 30;
    static constexpr int maximumLineCount = 20000000;

    // Reads the whole file. False when it cannot be read or is beyond the limits; errorString()
    // then says why and no line is held.
    [[nodiscard]] bool read(const QString& path);
    // Takes the text as a file's content, under the same limits.
    [[nodiscard]] bool setText(const QByteArray& text);

    int count() const { return starts_.isEmpty() ? 0 : starts_.size() - 1; }
    std::string_view line(int index) const;
    const QString& errorString() const { return error_; }

private:
    void clear();

    QByteArray text_;
    // One entry per line and one past the end, placed as if the text ended in a line feed.
    QVector<int> starts_;
    QString error_;
};
