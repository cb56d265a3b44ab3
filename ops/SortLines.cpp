#include "SortLines.h"

#include "TextViews.h"
#include "lib/CodeUnitOrder.h"

namespace wordloom::ops {

namespace {
QStringView withoutLeadingSpaces(QStringView line)
{
    qsizetype start = 0;
    while (start < line.size() && line[start] == u' ')
        ++start;
    return line.sliced(start);
}
} // namespace

std::optional<SortedLines> sortLinesUpToJoin(CommandHost &host)
{
    if (host.cancelRequested())
        return cancelled(host), std::nullopt;
    host.showStatus(QStringLiteral("Detabbing..."));
    SortedLines sorted;
    sorted.text = detab(host.inputText());
    host.setWorkText(sorted.text);
    if (host.cancelRequested())
        return cancelled(host), std::nullopt;
    host.showStatus(QStringLiteral("Splitting..."));
    sorted.lines = splitAtCrLf(sorted.text);
    if (host.cancelRequested())
        return cancelled(host), std::nullopt;
    for (QStringView &line : sorted.lines)
        line = withoutLeadingSpaces(line);
    host.showStatus(QStringLiteral("Sorting..."));
    sorted.order = stableCodeUnitOrder(sorted.lines);
    if (host.cancelRequested())
        return cancelled(host), std::nullopt;
    return sorted;
}

Outcome sortLines(CommandHost &host)
{
    const std::optional<SortedLines> sorted = sortLinesUpToJoin(host);
    if (!sorted)
        return Outcome::Cancelled;
    host.showStatus(QStringLiteral("Formatting..."));
    host.setResultText(joinInOrder(sorted->lines, sorted->order, kCrLf));
    if (host.cancelRequested())
        return cancelled(host);
    host.showStatus(QStringLiteral("Ready"));
    return Outcome::Ready;
}

} // namespace wordloom::ops
