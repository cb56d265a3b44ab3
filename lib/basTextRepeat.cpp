#include "basTextRepeat.h"

#include "DecimalText.h"
#include "PhrasePruning.h"
#include "PhraseRows.h"
#include "PhraseStatus.h"
#include "PhraseWalk.h"
#include "WordSuffixIndex.h"
#include "basLibString.h"


namespace basTextRepeat {

using namespace wordloom;

namespace {

bool post(CommandHost &host, const QString &text)
{
    host.showStatus(text);
    return !host.cancelRequested();
}

// Deletes every mark that has a space before it (or after it), which is
// what replacing each pair of mark and space by one space does: such a pair
// cannot overlap another. One pass from the first mark on.
void dropMarkBesideSpace(QString &text, char16_t mark, bool spaceBefore)
{
    const qsizetype first = QStringView(text).indexOf(QChar(mark));
    if (first < 0)
        return;
    const qsizetype n = text.size();
    char16_t *units = reinterpret_cast<char16_t *>(text.data());
    char16_t before = first > 0 ? units[first - 1] : 0;
    qsizetype out = first;
    for (qsizetype i = first; i < n; ++i) {
        const char16_t unit = units[i];
        const bool drop = unit == mark && (spaceBefore ? before == u' ' : i + 1 < n && units[i + 1] == u' ');
        before = unit;
        if (!drop)
            units[out++] = unit;
    }
    text.truncate(out);
}

// The text with quotation apostrophes and grave accents removed, reduced to
// words and single spaces.
QString cleanForPhrases(QString text)
{
    dropMarkBesideSpace(text, u'`', true);
    dropMarkBesideSpace(text, u'\'', true);
    dropMarkBesideSpace(text, u'\'', false);
    return basLibString::KeepWordCharacters(text);
}

std::vector<std::int64_t> scannerStarts(const WordSuffixIndex &index)
{
    std::vector<std::int64_t> starts(size_t(index.wordCount()) + 1);
    starts[0] = 1;
    for (std::uint32_t k = 0; k < index.wordCount(); ++k)
        starts[k + 1] = starts[k] + index.spelling(index.id(k)).size() + 1;
    return starts;
}

std::optional<std::vector<bool>> prune(std::vector<RecordedPhrase> &record,
                                       const WordSuffixIndex &index, CommandHost &host)
{
    const PhrasePruner pruner(record, index);
    std::vector<bool> kept(record.size());
    QString ofAll = QStringLiteral(" of ");
    appendDecimal(ofAll, record.size());
    StatusNumber status(QStringLiteral("Pruning "), ofAll);
    for (std::size_t l = 0; l < record.size(); ++l) {
        if (!post(host, status.show(record.size() - l)))
            return std::nullopt;
        kept[l] = pruner.keeps(l);
    }
    return kept;
}

} // namespace

std::optional<FrequencyTable> BuildPhraseFrequency(QString text, CommandHost &host,
                                                   std::size_t budgetBytes, RowOrder order,
                                                   std::uint64_t workLimit)
{
    if (!post(host, QStringLiteral("Cleaning...")))
        return std::nullopt;
    // Cleaned in place when the caller gave its text away.
    const QString cleaned = cleanForPhrases(std::move(text));
    host.stayResponsive();
    const WordSuffixIndex index(cleaned, [&host] { host.stayResponsive(); });
    host.stayResponsive();
    // The searched text is " " + cleaned (+ " "); the scanner's copy drops
    // the cleaned text's own leading space.
    const WalkText walkText{index, scannerStarts(index), cleaned.startsWith(u' ') ? 2 : 1, cleaned};
    PhraseBudget budget(budgetBytes, workLimit, std::uint64_t(cleaned.size()));
    auto record = walkPhrases(walkText, host, budget);
    if (!record)
        return std::nullopt;
    if (record->empty()) {
        host.showStatus(QStringLiteral("Ready"));
        return FrequencyTable{};
    }
    if (!post(host, QStringLiteral("Sorting...")))
        return std::nullopt;
    const auto kept = prune(*record, index, host);
    if (!kept || !post(host, QStringLiteral("Exporting...")))
        return std::nullopt;
    FrequencyTable table = keptRows(walkText, *record, *kept, order == RowOrder::CountThenPhrase, budgetBytes);
    host.showStatus(QStringLiteral("Ready"));
    return table;
}

} // namespace basTextRepeat
