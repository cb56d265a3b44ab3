#include "UniqueLines.h"

#include "CrLfScan.h"
#include "TextViews.h"
#include "lib/BinaryOrder.h"

#include <numeric>
#include <vector>

namespace wordloom::ops {

std::optional<QString> keepUniqueSortedLines(const QString &sortedText, CommandHost &host)
{
    host.showStatus(QStringLiteral("Splitting..."));
    // One pass over the text: a sorted word list has few distinct lines,
    // and views of all of them would cost more than the text.
    std::vector<QStringView> kept;
    QStringView lastKept;
    bool cancelled = false;
    crlf::forEachCrLfPiece(sortedText, [&](QStringView line) {
        if (!line.isEmpty() && codeUnits(line) != codeUnits(lastKept)) {
            kept.push_back(line);
            lastKept = line;
        }
        cancelled = host.cancelRequested();
        return !cancelled;
    });
    if (cancelled)
        return std::nullopt;
    std::vector<std::uint32_t> order(kept.size());
    std::iota(order.begin(), order.end(), 0u);
    return joinInOrder(kept, order, kCrLf);
}

} // namespace wordloom::ops
