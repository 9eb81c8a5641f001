#include "sps/SpsDiagnostics.h"

#include "sps/SpsKind.h"

namespace {

constexpr int shownTextLength = 60;

QString quoted(QByteArray text)
{
    while (text.endsWith(' '))
        text.chop(1);
    const QString shown = QString::fromLatin1(text.left(shownTextLength));
    return QLatin1Char('\'') + shown +
           (text.size() > shownTextLength ? QStringLiteral("...'") : QStringLiteral("'"));
}

QString counted(qint64 count, const QString& one, const QString& many)
{
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? one : many);
}

} // namespace

void SpsFieldRange::take(double value)
{
    if (lines == 0 || value < minimum)
        minimum = value;
    if (lines == 0 || value > maximum)
        maximum = value;
    ++lines;
}

QString SpsDiagnostics::problemText(SpsKind kind, const SpsCellProblem& problem)
{
    return QStringLiteral("line %1, %2 (%3-%4): %5 is not a number")
        .arg(problem.line)
        .arg(SpsKinds::fieldLabel(kind, problem.field))
        .arg(problem.columns.start)
        .arg(problem.columns.end)
        .arg(quoted(problem.text.trimmed()));
}

QString SpsDiagnostics::strayText(const SpsStrayLine& stray)
{
    return QStringLiteral("line %1: %2 is not a record").arg(stray.line).arg(quoted(stray.text));
}

QString SpsDiagnostics::summary() const
{
    return QStringLiteral("%1 (%2), %3")
        .arg(counted(unreadableRecords, QStringLiteral("unreadable record"),
                     QStringLiteral("unreadable records")),
             counted(problemCount, QStringLiteral("field"), QStringLiteral("fields")),
             counted(strayLineCount, QStringLiteral("line that is not a record"),
                     QStringLiteral("lines that are not records")));
}
