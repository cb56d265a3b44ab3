#include "basTextRepeat.h"

#include "DecimalText.h"
#include "PhraseForecast.h"
#include "PhrasePruning.h"
#include "PhraseRows.h"
#include "PhraseStatus.h"
#include "PhraseWalk.h"
#include "WordSuffixIndex.h"
#include "basLibString.h"
#include "SideBySide.h"

#include <atomic>


namespace basTextRepeat {

using namespace wordloom;

namespace {

// Below this many recorded phrases the pruning stays on one core.
constexpr std::size_t kPhrasesWorthASecondCore = 50000;

Outcome post(CommandHost &host, const QString &text)
{
    host.showStatus(text);
    return host.cancelRequested() ? Outcome::Cancelled : Outcome::Ready;
}

std::vector<std::int64_t> scannerStarts(const WordSuffixIndex &index)
{
    std::vector<std::int64_t> starts(size_t(index.wordCount()) + 1);
    starts[0] = 1;
    for (std::uint32_t k = 0; k < index.wordCount(); ++k)
        starts[k + 1] = starts[k] + index.spelling(index.id(k)).size() + 1;
    return starts;
}

// Decides which phrases stay, posting the countdown for each in order. On a
// large record the second half is decided on a second core meanwhile; its
// posts follow once the first half's are done.
Outcome prune(std::vector<RecordedPhrase> &record, const WordSuffixIndex &index, CommandHost &host,
              std::vector<std::uint8_t> &kept)
{
    const PhrasePruner pruner(record, index);
    const std::size_t n = record.size();
    kept.assign(n, 0);
    QString ofAll = QStringLiteral(" of ");
    appendDecimal(ofAll, n);
    StatusNumber status(QStringLiteral("Pruning "), ofAll);
    const std::size_t half = n >= kPhrasesWorthASecondCore ? n / 2 : n;
    std::atomic<bool> stop = false;
    Outcome firstOutcome = Outcome::Ready;
    const auto firstHalf = [&] {
        for (std::size_t l = 0; l < half; ++l) {
            if (post(host, status.show(n - l)) == Outcome::Cancelled) {
                firstOutcome = Outcome::Cancelled;
                stop = true;
                return;
            }
            kept[l] = pruner.keeps(l);
        }
    };
    const auto secondHalf = [&] {
        for (std::size_t l = half; l < n && !stop.load(std::memory_order_relaxed); ++l)
            kept[l] = pruner.keeps(l);
    };
    if (half < n)
        runSideBySide(firstHalf, secondHalf);
    else
        firstHalf();
    if (firstOutcome == Outcome::Cancelled)
        return Outcome::Cancelled;
    for (std::size_t l = half; l < n; ++l)
        if (post(host, status.show(n - l)) == Outcome::Cancelled)
            return Outcome::Cancelled;
    return Outcome::Ready;
}

} // namespace

QString CleanForPhraseSearch(QString text)
{
    // Four passes, each on the outcome of the one before, done as a chain of
    // stages over one reading of the text, written back in place (no stage
    // writes more than it reads, and the third holds one character back):
    //   1. a grave accent after a space goes,
    //   2. then an apostrophe after a space,
    //   3. then an apostrophe before a space (replacing each such pair by one
    //      space, as no pair can overlap another),
    //   4. then every character but a word character is a space, and each run
    //      of spaces one space.
    char16_t *units = reinterpret_cast<char16_t *>(text.data());
    const qsizetype n = text.size();
    basLibString::WordCharacterWriter fourth(units);
    // Without either mark (a log, say) the first three stages change nothing.
    if (!QStringView(text).contains(u'\'') && !QStringView(text).contains(u'`')) {
        for (qsizetype i = 0; i < n; ++i)
            fourth.put(units[i]);
        text.truncate(fourth.written());
        return text;
    }
    char16_t beforeFirst = 0, beforeSecond = 0, held = 0;
    bool holding = false;
    const auto third = [&](char16_t unit) {
        if (holding && !(held == u'\'' && unit == u' '))
            fourth.put(held);
        held = unit;
        holding = true;
    };
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t unit = units[i];
        const bool dropFirst = unit == u'`' && beforeFirst == u' ';
        beforeFirst = unit;
        if (dropFirst)
            continue;
        const bool dropSecond = unit == u'\'' && beforeSecond == u' ';
        beforeSecond = unit;
        if (!dropSecond)
            third(unit);
    }
    if (holding)
        fourth.put(held);
    text.truncate(fourth.written());
    return text;
}

Outcome BuildPhraseFrequency(QString text, CommandHost &host, FrequencyTable &table, std::size_t budgetBytes,
                             RowOrder order, std::uint64_t workLimit)
{
    if (post(host, QStringLiteral("Cleaning...")) == Outcome::Cancelled)
        return Outcome::Cancelled;
    // Cleaned in place when the caller gave its text away.
    const QString cleaned = CleanForPhraseSearch(std::move(text));
    host.stayResponsive();
    const WordSuffixIndex index(cleaned, [&host] { host.stayResponsive(); });
    host.stayResponsive();
    // The searched text is " " + cleaned (+ " "); the scanner's copy drops
    // the cleaned text's own leading space.
    const WalkText walkText{index, scannerStarts(index), cleaned.startsWith(u' ') ? 2 : 1, cleaned};
    PhraseBudget budget(budgetBytes, workLimit, std::uint64_t(cleaned.size()));
    // A text that repeats long passages often is refused before the walk
    // spends seconds on what it would refuse in the end.
    const PhraseForecast ceiling = forecastCeiling(walkText);
    if (budget.refuses(ceiling.phrases, ceiling.longestChars, ceiling.firstWords)) {
        host.stayResponsive();
        const PhraseForecast forecast = forecastPhrases(walkText, [&host] { host.stayResponsive(); });
        host.stayResponsive();
        budget.expect(forecast.phrases, forecast.longestChars, forecast.firstWords);
    }
    std::vector<RecordedPhrase> record;
    if (walkPhrases(walkText, host, budget, record) == Outcome::Cancelled)
        return Outcome::Cancelled;
    if (record.empty()) {
        table.clear();
        host.showStatus(QStringLiteral("Ready"));
        return Outcome::Ready;
    }
    if (post(host, QStringLiteral("Sorting...")) == Outcome::Cancelled)
        return Outcome::Cancelled;
    std::vector<std::uint8_t> kept;
    if (prune(record, index, host, kept) == Outcome::Cancelled
        || post(host, QStringLiteral("Exporting...")) == Outcome::Cancelled)
        return Outcome::Cancelled;
    table = keptRows(walkText, record, kept, order == RowOrder::CountThenPhrase, budgetBytes);
    host.showStatus(QStringLiteral("Ready"));
    return Outcome::Ready;
}

} // namespace basTextRepeat
