#include "basTextRepeat.h"

#include "DecimalText.h"
#include "PhrasePruning.h"
#include "PhraseRows.h"
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

// The text with quotation apostrophes and grave accents removed, reduced to
// words and single spaces.
QString cleanForPhrases(QString text)
{
    text.replace(QStringLiteral(" `"), QStringLiteral(" "));
    text.replace(QStringLiteral(" '"), QStringLiteral(" "));
    text.replace(QStringLiteral("' "), QStringLiteral(" "));
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
    QString status = QStringLiteral("Pruning ");
    const qsizetype prefix = status.size();
    QString ofAll = QStringLiteral(" of ");
    appendDecimal(ofAll, record.size());
    for (std::size_t l = 0; l < record.size(); ++l) {
        status.resize(prefix);
        appendDecimal(status, record.size() - l);
        status.append(ofAll);
        if (!post(host, status))
            return std::nullopt;
        kept[l] = pruner.keeps(l);
    }
    return kept;
}

} // namespace

std::optional<FrequencyTable> BuildPhraseFrequency(const QString &text, CommandHost &host,
                                                   std::size_t budgetBytes, RowOrder order,
                                                   std::uint64_t workLimit)
{
    if (!post(host, QStringLiteral("Cleaning...")))
        return std::nullopt;
    const QString cleaned = cleanForPhrases(text);
    const WordSuffixIndex index(cleaned);
    // The searched text is " " + cleaned (+ " "); the scanner's copy drops
    // the cleaned text's own leading space.
    const WalkText walkText{index, scannerStarts(index), cleaned.startsWith(u' ') ? 2 : 1};
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
