#include "SortWordsSteps.h"

#include "CodeUnitOrder.h"
#include "basLibLibrary.h"

namespace wordloom::ops {

QString lettersAndSpaces(const QString &dehyphenated)
{
    return basLibLibrary::FilterText(dehyphenated, QStringLiteral(" "), true);
}

std::vector<std::uint32_t> WordCounts::sortedOrder() const
{
    return stableCodeUnitOrder(words_);
}

WordCounts countedWords(QStringView cleaned)
{
    WordCounts counts;
    forEachWord(cleaned, [&counts](QStringView word) { counts.add(word); });
    return counts;
}

} // namespace wordloom::ops
