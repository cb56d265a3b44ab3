#include "SortWordsSteps.h"

#include "CodeUnitOrder.h"
#include "basLibLibrary.h"

#include <algorithm>

namespace wordloom::ops {

QString lettersAndSpaces(const QString &dehyphenated)
{
    return basLibLibrary::FilterText(dehyphenated, QStringLiteral(" "), true);
}

std::vector<std::uint32_t> WordCounts::sortedOrder() const
{
    return stableCodeUnitOrder(words_);
}

WordCounts countedWords(QStringView cleaned, const std::function<void()> &between)
{
    // A slice ends before a space, so no word is cut in two.
    constexpr qsizetype kSliceUnits = qsizetype(1) << 21;
    WordCounts counts;
    for (qsizetype from = 0; from < cleaned.size();) {
        qsizetype to = std::min(cleaned.size(), from + kSliceUnits);
        while (to < cleaned.size() && cleaned[to] != u' ')
            ++to;
        forEachWord(cleaned.sliced(from, to - from), [&counts](QStringView word) { counts.add(word); });
        from = to;
        if (from < cleaned.size() && between)
            between();
    }
    return counts;
}

} // namespace wordloom::ops
