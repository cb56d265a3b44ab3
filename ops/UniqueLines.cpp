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
    // One pass over the text, keeping stretches rather than lines: most lines
    // of a sorted text are kept, and their views would cost more than it.
    std::vector<QStringView> stretches; // kept lines side by side, their breaks included
    QStringView lastKept;
    bool previousKept = false, cancelled = false;
    crlf::forEachCrLfPiece(sortedText, [&](QStringView line) {
        const bool keep = !line.isEmpty() && codeUnits(line) != codeUnits(lastKept);
        if (keep) {
            if (previousKept)
                stretches.back() = QStringView(stretches.back().data(), line.data() + line.size());
            else
                stretches.push_back(line);
            lastKept = line;
        }
        previousKept = keep;
        cancelled = host.cancelRequested();
        return !cancelled;
    });
    if (cancelled)
        return std::nullopt;
    std::vector<std::uint32_t> order(stretches.size());
    std::iota(order.begin(), order.end(), 0u);
    return joinInOrder(stretches, order, kCrLf);
}

} // namespace wordloom::ops
