#include "basPhraseCount.h"

#include <stdexcept>

namespace basPhraseCount {

std::int64_t CountOccurrences(const QString &text, const QString &pattern, std::int64_t start)
{
    // A one-character pattern would be found again on its own match forever.
    if (pattern.size() < 2)
        throw std::invalid_argument("CountOccurrences: pattern shorter than two characters");
    if (start < 1)
        throw std::invalid_argument("CountOccurrences: start before the text");
    std::int64_t count = 0;
    qsizetype from = qsizetype(start - 1);
    while (from <= text.size()) {
        const qsizetype found = text.indexOf(pattern, from);
        if (found < 0)
            break;
        ++count;
        from = found + pattern.size() - 1;
    }
    return count;
}

} // namespace basPhraseCount
