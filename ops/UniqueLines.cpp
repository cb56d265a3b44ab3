#include "UniqueLines.h"

#include "TextViews.h"

#include <numeric>
#include <vector>

namespace wordloom::ops {

std::optional<QString> keepUniqueSortedLines(const QString &sortedText, CommandHost &host)
{
    host.showStatus(QStringLiteral("Splitting..."));
    const std::vector<QStringView> lines = splitAtCrLf(sortedText);
    std::vector<QStringView> kept;
    QStringView lastKept;
    for (const QStringView line : lines) {
        if (!line.isEmpty() && line != lastKept) {
            kept.push_back(line);
            lastKept = line;
        }
        if (host.cancelRequested())
            return std::nullopt;
    }
    std::vector<std::uint32_t> order(kept.size());
    std::iota(order.begin(), order.end(), 0u);
    return joinInOrder(kept, order, kCrLf);
}

} // namespace wordloom::ops
