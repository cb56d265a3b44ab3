#include "basTextRepeat.h"

#include "BinaryOrder.h"
#include "DecimalText.h"
#include "PhrasePruning.h"
#include "PhraseWalk.h"
#include "WordSuffixIndex.h"
#include "basLibString.h"
#include "ops/CommandError.h"

#include <algorithm>

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
    QString status;
    for (std::size_t l = 0; l < record.size(); ++l) {
        status = QStringLiteral("Pruning ");
        appendDecimal(status, record.size() - l);
        status.append(QStringLiteral(" of "));
        appendDecimal(status, record.size());
        if (!post(host, status))
            return std::nullopt;
        kept[l] = pruner.keeps(l);
    }
    return kept;
}

QString phraseText(const WalkText &text, const RecordedPhrase &p)
{
    const std::uint32_t first = text.index.suffixAt(p.lo);
    QString phrase;
    phrase.reserve(qsizetype(text.scanStart[first + p.words] - text.scanStart[first] - 1));
    for (std::uint32_t k = first; k < first + p.words; ++k) {
        if (k > first)
            phrase.append(u' ');
        phrase.append(text.index.spelling(text.index.id(k)));
    }
    return phrase;
}

// Binary order of the texts phrase + " - " + count, without building them.
bool encodedLess(const FrequencyRow &a, const FrequencyRow &b)
{
    const QString tailA = QStringLiteral(" - ") + QString::number(a.count);
    const QString tailB = QStringLiteral(" - ") + QString::number(b.count);
    const auto at = [](const FrequencyRow &row, const QString &tail, qsizetype i) {
        return i < row.text.size() ? row.text[i].unicode() : tail[i - row.text.size()].unicode();
    };
    const qsizetype lengthA = a.text.size() + tailA.size(), lengthB = b.text.size() + tailB.size();
    for (qsizetype i = 0; i < std::min(lengthA, lengthB); ++i) {
        const char16_t x = at(a, tailA, i), y = at(b, tailB, i);
        if (x != y)
            return x < y;
    }
    return lengthA < lengthB;
}

// The kept phrases as rows, in binary order of their "phrase - count" texts.
FrequencyTable exportRows(const WalkText &text, const std::vector<RecordedPhrase> &record,
                          const std::vector<bool> &kept, std::size_t budgetBytes)
{
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < record.size(); ++i)
        if (kept[i]) {
            const std::uint32_t first = text.index.suffixAt(record[i].lo);
            bytes += 4 * std::size_t(text.scanStart[first + record[i].words] - text.scanStart[first]) + 128;
        }
    if (bytes > budgetBytes)
        throw CommandError(tooRepetitiveMessage(budgetBytes));
    FrequencyTable rows;
    for (std::size_t i = 0; i < record.size(); ++i)
        if (kept[i])
            rows.push_back({phraseText(text, record[i]), record[i].count});
    std::sort(rows.begin(), rows.end(), [](const FrequencyRow &a, const FrequencyRow &b) {
        // Distinct phrases: the counts matter only when one phrase begins the other.
        const qsizetype common = std::min(a.text.size(), b.text.size());
        const int c = compareCodeUnits(QStringView(a.text).first(common), QStringView(b.text).first(common));
        return c != 0 ? c < 0 : encodedLess(a, b);
    });
    return rows;
}

} // namespace

std::optional<FrequencyTable> BuildPhraseFrequency(const QString &text, CommandHost &host,
                                                   std::size_t budgetBytes)
{
    if (!post(host, QStringLiteral("Cleaning...")))
        return std::nullopt;
    const QString cleaned = cleanForPhrases(text);
    const WordSuffixIndex index(cleaned);
    // The searched text is " " + cleaned (+ " "); the scanner's copy drops
    // the cleaned text's own leading space.
    const WalkText walkText{index, scannerStarts(index), cleaned.startsWith(u' ') ? 2 : 1};
    auto record = walkPhrases(walkText, host, budgetBytes);
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
    FrequencyTable table = exportRows(walkText, *record, *kept, budgetBytes);
    host.showStatus(QStringLiteral("Ready"));
    return table;
}

} // namespace basTextRepeat
