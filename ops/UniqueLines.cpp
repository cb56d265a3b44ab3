#include "UniqueLines.h"

#include "SortLines.h"
#include "TextViews.h"

#include <vector>

namespace wordloom::ops {

std::optional<QStringList> keepUniqueSortedLines(const QString &sortedText, CommandHost &host)
{
    host.showStatus(QStringLiteral("Splitting..."));
    const std::vector<QStringView> lines = splitAtCrLf(sortedText);
    QStringList kept;
    QStringView lastKept;
    for (const QStringView line : lines) {
        if (!line.isEmpty() && line != lastKept) {
            kept.append(line.toString());
            lastKept = line;
        }
        if (host.cancelRequested())
            return std::nullopt;
    }
    if (kept.isEmpty())
        kept.append(QString());
    return kept;
}

QString joinLines(const QStringList &lines)
{
    return lines.join(kCrLf);
}

namespace {
// The sorted text that Unique Lines splits again has the sorted lines as its
// pieces, except that a single empty line joins to the empty text, which
// splits into no piece at all.
std::size_t piecesOfJoinedLines(const SortedLines &sorted)
{
    if (sorted.lines.size() == 1 && sorted.lines.front().isEmpty())
        return 0;
    return sorted.lines.size();
}

// Kept lines as indices into the sorted lines: the first of each run of equal
// non-empty lines. Nothing when a cancel test found the request.
std::optional<std::vector<std::uint32_t>> keptInOrder(const SortedLines &sorted, CommandHost &host)
{
    constexpr std::size_t kViewsAhead = 16, kUnitsAhead = 8;
    std::vector<std::uint32_t> kept;
    QStringView lastKept;
    const std::size_t pieces = piecesOfJoinedLines(sorted);
    for (std::size_t k = 0; k < pieces; ++k) {
        // The lines stand anywhere in memory: fetch a few ahead.
        if (k + kViewsAhead < pieces)
            __builtin_prefetch(&sorted.lines[sorted.order[k + kViewsAhead]]);
        if (k + kUnitsAhead < pieces)
            __builtin_prefetch(sorted.lines[sorted.order[k + kUnitsAhead]].utf16());
        const QStringView line = sorted.lines[sorted.order[k]];
        if (!line.isEmpty() && line != lastKept) {
            kept.push_back(sorted.order[k]);
            lastKept = line;
        }
        if (host.cancelRequested())
            return std::nullopt;
    }
    return kept;
}
} // namespace

Outcome uniqueLines(CommandHost &host)
{
    const std::optional<SortedLines> sorted = sortLinesUpToJoin(host);
    if (!sorted)
        return cancelled(host); // the second "Cancelled" is Unique Lines' own
    host.showStatus(QStringLiteral("Formatting..."));
    if (host.cancelRequested())
        return cancelled(host), cancelled(host);
    host.showStatus(QStringLiteral("Ready"));
    if (host.cancelRequested())
        return cancelled(host);
    host.showStatus(QStringLiteral("Shuffling..."));
    if (host.cancelRequested())
        return cancelled(host);
    host.showStatus(QStringLiteral("Splitting..."));
    const auto kept = keptInOrder(*sorted, host);
    if (!kept)
        return cancelled(host);
    host.showStatus(QStringLiteral("Reshuffling..."));
    host.processEvents();
    host.showStatus(QStringLiteral("Formatting..."));
    host.setResultText(joinInOrder(sorted->lines, *kept, kCrLf));
    if (host.cancelRequested())
        return cancelled(host);
    host.showStatus(QStringLiteral("Ready"));
    return Outcome::Ready;
}

} // namespace wordloom::ops
