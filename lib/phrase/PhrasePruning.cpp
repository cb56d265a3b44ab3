#include "PhrasePruning.h"

#include <algorithm>
#include <tuple>

namespace wordloom {

namespace {
auto orderKey(const RecordedPhrase &p)
{
    return std::tuple(p.count, p.lo, p.words);
}

// One stable counting pass on 16 bits of a field; skipped when they never differ.
void radixPass(std::vector<RecordedPhrase> &items, std::vector<RecordedPhrase> &spare,
               std::uint32_t RecordedPhrase::*field, int shift)
{
    std::vector<std::uint32_t> counts(65537, 0);
    for (const auto &item : items)
        ++counts[((item.*field >> shift) & 0xFFFF) + 1];
    if (counts[((items.front().*field >> shift) & 0xFFFF) + 1] == items.size())
        return;
    for (std::size_t d = 1; d < counts.size(); ++d)
        counts[d] += counts[d - 1];
    spare.resize(items.size());
    for (const auto &item : items)
        spare[counts[(item.*field >> shift) & 0xFFFF]++] = item;
    items.swap(spare);
}

// By count, then occurrences, then length: least significant field first.
void sortByOrderKey(std::vector<RecordedPhrase> &record)
{
    if (record.size() < 2)
        return;
    std::vector<RecordedPhrase> spare;
    for (const auto field : {&RecordedPhrase::words, &RecordedPhrase::lo, &RecordedPhrase::count})
        for (const int shift : {0, 16})
            radixPass(record, spare, field, shift);
}
} // namespace

PhrasePruner::PhrasePruner(std::vector<RecordedPhrase> &record, const WordSuffixIndex &index)
    : record_(record), index_(index)
{
    sortByOrderKey(record);
    findPrefixBlocks();
}

void PhrasePruner::findPrefixBlocks()
{
    // Spellings are numbered in binary order, so the words that begin with a
    // given word follow it directly; a stack of open prefixes finds each block's end.
    const std::uint32_t words = index_.distinctWords();
    prefixBlockEnd_.assign(words, 0);
    std::vector<std::uint32_t> open;
    for (std::uint32_t id = 0; id < words; ++id) {
        while (!open.empty() && !index_.spelling(id).startsWith(index_.spelling(open.back()))) {
            prefixBlockEnd_[open.back()] = id - 1;
            open.pop_back();
        }
        open.push_back(id);
    }
    for (const auto id : open)
        prefixBlockEnd_[id] = words - 1;
    while (apostropheWords_ < words && index_.spelling(apostropheWords_).startsWith(u'\''))
        ++apostropheWords_;
}

// Within p's occurrences (ordered by the word that follows), the first one
// followed by a word that does not begin with an apostrophe.
std::uint32_t PhrasePruner::firstPlainContinuation(const RecordedPhrase &p) const
{
    std::uint32_t lo = p.lo, hi = p.hi;
    while (lo < hi) {
        const std::uint32_t mid = lo + (hi - lo) / 2;
        if (index_.wordAfter(mid, p.words) < std::int64_t(apostropheWords_))
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

// The end of the ranks right after p's whose suffixes share p's words but
// the last, and whose next word begins with p's last word.
std::uint32_t PhrasePruner::endOfLongerLastWords(const RecordedPhrase &p) const
{
    const std::uint32_t last = std::uint32_t(index_.wordAfter(p.lo, p.words - 1));
    const std::uint32_t blockEnd = prefixBlockEnd_[last];
    std::uint32_t r = p.hi;
    while (r < index_.wordCount() && index_.sharedWithPrevious(r) >= p.words - 1) {
        const std::int64_t word = index_.wordAfter(r, p.words - 1);
        if (word < 0 || word > blockEnd)
            break;
        ++r;
    }
    return r;
}

bool PhrasePruner::keeps(std::size_t phrase) const
{
    // A recorded phrase that continues p starts its occurrence range in
    // [from, to); one that starts exactly where p does must be longer.
    const RecordedPhrase &p = record_[phrase];
    const std::uint32_t from = firstPlainContinuation(p);
    const std::uint32_t to = endOfLongerLastWords(p);
    const RecordedPhrase probe = from > p.lo ? RecordedPhrase{from, 0, 0, p.count}
                                             : RecordedPhrase{p.lo, 0, p.words + 1, p.count};
    const auto it = std::lower_bound(record_.begin(), record_.end(), probe,
                                     [](const auto &a, const auto &b) { return orderKey(a) < orderKey(b); });
    return !(it != record_.end() && it->count == p.count && it->lo < to);
}

} // namespace wordloom
