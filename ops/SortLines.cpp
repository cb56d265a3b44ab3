#include "SortLines.h"

#include "CrLfScan.h"
#include "TextViews.h"
#include "BinaryOrder.h"
#include "CodeUnitOrder.h"

namespace wordloom::ops {

void removeLeadingSpaces(std::vector<QStringView> &lines)
{
    for (QStringView &line : lines) {
        qsizetype start = 0;
        while (start < line.size() && line[start] == u' ')
            ++start;
        line = line.sliced(start);
    }
}

std::optional<QString> joinedIfAlreadyInOrder(const QString &detabbed)
{
    QStringView previous;
    qsizetype pieces = 0;
    bool inOrder = true, lastOutOfOrder = false;
    crlf::forEachCrLfPiece(detabbed, [&](QStringView piece) {
        if (lastOutOfOrder || piece.startsWith(u' ')) // a piece after the misplaced one, or one to trim
            return inOrder = false;
        if (pieces > 0 && compareCodeUnits(previous, piece) > 0) {
            if (!piece.isEmpty())
                return inOrder = false;
            lastOutOfOrder = true; // fine only if it is the last piece
        }
        previous = piece;
        ++pieces;
        return true;
    });
    if (!inOrder)
        return std::nullopt;
    if (!lastOutOfOrder)
        return detabbed;
    // The stable sort puts the empty last piece after the leading empty ones
    // (none: an empty piece elsewhere would be in order only at the front,
    // where it joins the same way), so the joined text starts with its break.
    QString joined(detabbed.size(), Qt::Uninitialized);
    std::copy(kCrLf.begin(), kCrLf.end(), joined.data());
    std::copy(detabbed.cbegin(), detabbed.cend() - kCrLf.size(), joined.data() + kCrLf.size());
    return joined;
}

Outcome sortLinesUpToJoin(CommandHost &host, SortedLines &sorted, JoinedShortcut shortcut)
{
    if (host.cancelRequested())
        return cancelled(host);
    host.showStatus(QStringLiteral("Detabbing..."));
    sorted.text = detab(host.inputText());
    host.setWorkText(sorted.text);
    if (host.cancelRequested())
        return cancelled(host);
    host.showStatus(QStringLiteral("Splitting..."));
    if (shortcut == JoinedShortcut::Accepted)
        sorted.joined = joinedIfAlreadyInOrder(sorted.text);
    if (sorted.joined) {
        if (host.cancelRequested())
            return cancelled(host);
        host.showStatus(QStringLiteral("Sorting..."));
        if (host.cancelRequested())
            return cancelled(host);
        return Outcome::Ready;
    }
    sorted.lines = splitAtCrLf(sorted.text);
    if (host.cancelRequested())
        return cancelled(host);
    removeLeadingSpaces(sorted.lines);
    host.showStatus(QStringLiteral("Sorting..."));
    sorted.order = stableCodeUnitOrder(sorted.lines);
    if (host.cancelRequested())
        return cancelled(host);
    return Outcome::Ready;
}

Outcome sortLines(CommandHost &host)
{
    SortedLines sorted;
    if (sortLinesUpToJoin(host, sorted, JoinedShortcut::Accepted) == Outcome::Cancelled)
        return Outcome::Cancelled;
    host.showStatus(QStringLiteral("Formatting..."));
    if (sorted.joined)
        host.setResultText(*std::move(sorted.joined));
    else if (host.nestDepth() == 0 && host.acceptsResultLines()) // a nested run's result is read back
        host.setResultLines(sorted.lines, sorted.order);
    else
        host.setResultText(joinInOrder(sorted.lines, sorted.order, kCrLf));
    if (host.cancelRequested())
        return cancelled(host);
    host.showStatus(QStringLiteral("Ready"));
    return Outcome::Ready;
}

} // namespace wordloom::ops
