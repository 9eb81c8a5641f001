#include "sps/SpsLayoutDetection.h"

#include "sps/SpsLines.h"
#include "sps/SpsScanner.h"

#include <QMap>
#include <algorithm>
#include <array>

namespace {

// Leading blanks beyond this make no record.
constexpr int largestShift = 20;
constexpr int headerLinesLooked = 100;

int leadingBlanks(std::string_view line)
{
    const size_t first = line.find_first_not_of(' ');
    return first == std::string_view::npos ? int(line.size()) : int(first);
}

// The blanks before the letter that most of the first records share.
int commonShift(char letter, const SpsLines& lines)
{
    QMap<int, int> votes;
    int voters = 0;
    for (int index = 0; index < lines.count() && voters < SpsDetection::sampledRecords; ++index) {
        const std::string_view line = lines.line(index);
        const int blanks = leadingBlanks(line);
        if (blanks > largestShift || size_t(blanks) + 1 >= line.size() || line[size_t(blanks)] != letter)
            continue;
        const char next = line[size_t(blanks) + 1];
        if (next == ' ' || (next >= '0' && next <= '9')) {
            ++votes[blanks];
            ++voters;
        }
    }
    int best = 0;
    for (auto vote = votes.cbegin(); vote != votes.cend(); ++vote) {
        if (vote.value() > votes.value(best))
            best = vote.key();
    }
    return best;
}

// The H00 line among the first lines: its 1-based number, 0 when there is none.
int versionLine(const SpsLines& lines, bool* revision21)
{
    for (int index = 0; index < std::min(lines.count(), headerLinesLooked); ++index) {
        std::string_view line = lines.line(index);
        line.remove_prefix(size_t(std::min<int>(leadingBlanks(line), int(line.size()))));
        if (line.substr(0, 3) == "H00") {
            *revision21 = line.find("2.1", 3) != std::string_view::npos;
            return index + 1;
        }
    }
    return 0;
}

struct Trial {
    qint64 unreadable = 0;
    qint64 values = 0;
};

// How the first records read under a layout: unreadable fields and records with text in the
// columns between fields (where a layout that does not fit cuts numbers apart) are faults.
Trial tryLayout(const SpsLayout& layout, const SpsLines& sample)
{
    const SpsDiagnostics found = SpsScanner(sample).diagnose(layout);
    Trial trial{found.problemCount, 0};
    for (const SpsFieldRange& range : found.ranges)
        trial.values += range.lines;
    std::array<bool, 80> covered{};
    for (int field = 0; field < SpsLayout::fieldCount; ++field) {
        const SpsColumns columns = layout.columns(field);
        for (int column = std::max(columns.start, 1); column <= std::min(columns.end, 80); ++column)
            covered[size_t(column - 1)] = true;
    }
    for (int index = 0; index < sample.count(); ++index) {
        const std::string_view line = sample.line(index);
        for (size_t column = size_t(layout.columns(SpsLayout::pointIdField).start);
             column < std::min<size_t>(line.size(), covered.size()); ++column) {
            if (!covered[column] && line[column] != ' ') {
                ++trial.unreadable;
                break;
            }
        }
    }
    return trial;
}

// The first lines of the file that carry the letter after the shift, as a file of their own.
SpsLines sampleOf(char letter, int shift, const SpsLines& lines)
{
    QByteArray text;
    int taken = 0;
    for (int index = 0; index < lines.count() && taken < SpsDetection::sampledRecords; ++index) {
        const std::string_view line = lines.line(index);
        if (line.size() > size_t(shift) && line[size_t(shift)] == letter) {
            text.append(line.data(), int(line.size())).append('\n');
            ++taken;
        }
    }
    SpsLines sample;
    static_cast<void>(sample.setText(text));
    return sample;
}

QString revisionName(SpsDetection::Revision revision)
{
    return revision == SpsDetection::Revision::Revision21 ? QStringLiteral("SPS 2.1")
                                                          : QStringLiteral("SPS 1.0/2.0");
}

} // namespace

SpsLayout SpsDetection::shifted(SpsLayout layout, int columns)
{
    for (int field = 0; field < SpsLayout::fieldCount; ++field) {
        const SpsColumns at = layout.columns(field);
        layout.setColumns(field, {at.start + columns, at.end + columns});
    }
    return layout;
}

SpsDetection SpsDetection::detect(SpsKind kind, const SpsLines& lines)
{
    const char letter = char(SpsKinds::recordLetter(kind).toLatin1());
    SpsDetection found;
    found.shift = commonShift(letter, lines);
    const SpsLines sample = sampleOf(letter, found.shift, lines);
    const SpsLayout first = shifted(SpsLayout::defaults(kind), found.shift);
    const SpsLayout second = shifted(SpsLayout::revision21(kind), found.shift);
    const Trial one = tryLayout(first, sample);
    const Trial two = tryLayout(second, sample);
    // Sparse records can read alike under both; the later revision is then the likelier.
    const bool twoReadsBetter =
        two.unreadable < one.unreadable || (two.unreadable == one.unreadable && two.values >= one.values);

    bool declared21 = false;
    const int h00 = versionLine(lines, &declared21);
    const Revision declared = declared21 ? Revision::Revision21 : Revision::Revision1;
    const QString trials = QStringLiteral("the first %1 records have %2 faults as SPS 2.1, %3 as SPS 1.0/2.0")
                               .arg(sample.count())
                               .arg(two.unreadable)
                               .arg(one.unreadable);
    const qint64 declaredUnreadable = declared21 ? two.unreadable : one.unreadable;
    const qint64 otherUnreadable = declared21 ? one.unreadable : two.unreadable;
    if (h00 > 0 && declaredUnreadable <= otherUnreadable) {
        found.revision = declared;
        found.reason = QStringLiteral("H00 line %1 says %2").arg(h00).arg(revisionName(declared));
    } else {
        found.revision = twoReadsBetter ? Revision::Revision21 : Revision::Revision1;
        found.reason =
            h00 > 0
                ? QStringLiteral("H00 line %1 says %2, but %3").arg(h00).arg(revisionName(declared), trials)
                : QStringLiteral("no H00 line; %1").arg(trials);
    }
    found.layout = found.revision == Revision::Revision21 ? second : first;
    if (found.shift > 0)
        found.reason += QStringLiteral("; the records start after %1 blank%2")
                            .arg(found.shift)
                            .arg(found.shift == 1 ? QString() : QStringLiteral("s"));
    return found;
}

QString SpsDetection::name() const
{
    if (shift == 0)
        return revisionName(revision);
    return QStringLiteral("%1, shifted by %2 column%3")
        .arg(revisionName(revision))
        .arg(shift)
        .arg(shift == 1 ? QString() : QStringLiteral("s"));
}
