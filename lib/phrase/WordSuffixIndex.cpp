#include "WordSuffixIndex.h"

#include "BinaryOrder.h"
#include "SuffixSorting.h"
#include "CommandError.h"
#include "SideBySide.h"

#include <algorithm>
#include <numeric>

namespace wordloom {

namespace {
// Words in a text of about a megabyte.
constexpr std::uint32_t kWordsWorthASecondCore = std::uint32_t(kUnitsWorthASecondCore / 6);
}

WordSuffixIndex::WordSuffixIndex(QStringView cleanedText, const std::function<void()> &betweenPhases)
{
    const Pause pause = betweenPhases ? betweenPhases : [] {};
    numberWords(cleanedText, pause);
    pause();
    buildSuffixArray(pause);
    pause();
    buildSharedLengths(pause);
}

namespace {

// The words of a text numbered in order of first sight. Qt's string hash is
// seeded and slow for a million short words; FNV-1a over an open-addressing
// table is enough here.
struct FirstSightNumbers {
    std::vector<QStringView> words;
    std::vector<std::uint64_t> hashes;
    std::vector<std::uint32_t> ids;

    // pause, if given, runs every few million characters.
    void scan(QStringView text, const std::function<void()> &pause = {})
    {
        std::vector<std::uint32_t> table(1024, kFree);
        const char16_t *units = reinterpret_cast<const char16_t *>(text.utf16());
        ids.reserve(std::size_t(text.size() / 5));
        constexpr qsizetype kStretchUnits = qsizetype(1) << 21;
        qsizetype pauseAt = pause ? kStretchUnits : text.size();
        for (qsizetype i = 0; i < text.size();) {
            if (units[i] == u' ') {
                if (i >= pauseAt) {
                    pause();
                    pauseAt = i + kStretchUnits;
                }
                ++i;
                continue;
            }
            const qsizetype start = i;
            std::uint64_t hash = 0xCBF29CE484222325ull;
            for (; i < text.size() && units[i] != u' '; ++i)
                hash = (hash ^ units[i]) * 0x100000001B3ull;
            const QStringView word(units + start, i - start);
            std::size_t slot = hash & (table.size() - 1);
            for (; table[slot] != kFree; slot = (slot + 1) & (table.size() - 1))
                if (hashes[table[slot]] == hash && sameUnits(words[table[slot]], word))
                    break;
            std::uint32_t id = table[slot];
            if (id == kFree) {
                id = table[slot] = std::uint32_t(words.size());
                words.push_back(word);
                hashes.push_back(hash);
                if (words.size() * 2 > table.size())
                    grow(table);
            }
            ids.push_back(id);
            if (ids.size() >= 0x7FFFFFF0u)
                throw CommandError("The text has too many words for Phrase Count.");
        }
    }

private:
    static constexpr std::uint32_t kFree = 0xFFFFFFFFu;

    // Inline: a call into Qt for each of a million short words costs more
    // than the comparison.
    static bool sameUnits(QStringView a, QStringView b)
    {
        return a.size() == b.size() && std::equal(a.utf16(), a.utf16() + a.size(), b.utf16());
    }

    void grow(std::vector<std::uint32_t> &table) const
    {
        table.assign(table.size() * 2, kFree);
        for (std::uint32_t w = 0; w < words.size(); ++w) {
            std::size_t j = hashes[w] & (table.size() - 1);
            while (table[j] != kFree)
                j = (j + 1) & (table.size() - 1);
            table[j] = w;
        }
    }
};

} // namespace

void WordSuffixIndex::numberWords(QStringView text, const Pause &pause)
{
    // A large text is numbered in two parts at once, split at a space; the
    // numbers are then given again in binary order of the spelling, which
    // does not depend on the order in which words were first seen.
    qsizetype split = text.size();
    if (text.size() >= kUnitsWorthASecondCore) {
        split = text.size() / 2;
        while (split < text.size() && text[split] != u' ')
            ++split;
    }
    FirstSightNumbers parts[2];
    if (split < text.size())
        runSideBySide([&] { parts[0].scan(text.first(split), pause); }, [&] { parts[1].scan(text.sliced(split)); });
    else
        parts[0].scan(text, pause);
    pause();
    if (std::uint64_t(parts[0].ids.size()) + parts[1].ids.size() >= 0x7FFFFFF0u)
        throw CommandError("The text has too many words for Phrase Count.");
    // Renumber in binary order of the spelling: words that begin with the same
    // characters get neighbouring numbers, which the pruning relies on.
    std::vector<QStringView> all = parts[0].words;
    all.insert(all.end(), parts[1].words.begin(), parts[1].words.end());
    std::vector<std::uint32_t> order(all.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return codeUnitsLess(all[a], all[b]);
    });
    std::vector<std::uint32_t> renumbered(order.size());
    for (std::uint32_t i = 0; i < order.size(); ++i) {
        const bool repeat = i > 0 && all[order[i]] == all[order[i - 1]];
        if (!repeat)
            spellings_.push_back(all[order[i]]);
        renumbered[order[i]] = std::uint32_t(spellings_.size() - 1);
    }
    ids_.resize(parts[0].ids.size() + parts[1].ids.size());
    const auto renumber = [&](int part) {
        const std::uint32_t base = part == 0 ? 0 : std::uint32_t(parts[0].words.size());
        auto out = ids_.begin() + (part == 0 ? 0 : std::ptrdiff_t(parts[0].ids.size()));
        for (const auto id : parts[part].ids)
            *out++ = renumbered[base + id];
    };
    if (split < text.size())
        runSideBySide([&] { renumber(0); }, [&] { renumber(1); });
    else
        renumber(0);
}

void WordSuffixIndex::buildSuffixArray(const Pause &pause)
{
    suffixes_ = sortSuffixes(ids_, distinctWords(), pause);
    ranks_.resize(suffixes_.size());
    for (std::uint32_t r = 0; r < suffixes_.size(); ++r)
        ranks_[suffixes_[r]] = r;
    pause();
    firstRankOfWord_.assign(size_t(distinctWords()) + 1, 0);
    for (const auto id : ids_)
        ++firstRankOfWord_[id + 1];
    std::partial_sum(firstRankOfWord_.begin(), firstRankOfWord_.end(), firstRankOfWord_.begin());
}

void WordSuffixIndex::sharedLengthsFrom(std::uint32_t begin, std::uint32_t end)
{
    // Kasai's method: the shared length drops by at most one from a suffix to
    // the next one in text order, so a part of the text can start from zero.
    const std::uint32_t n = wordCount();
    std::uint32_t h = 0;
    for (std::uint32_t p = begin; p < end; ++p) {
        const std::uint32_t r = ranks_[p];
        if (r == 0) {
            h = 0;
            continue;
        }
        const std::uint32_t q = suffixes_[r - 1];
        while (p + h < n && q + h < n && ids_[p + h] == ids_[q + h])
            ++h;
        shared_[r] = h;
        if (h > 0)
            --h;
    }
}

void WordSuffixIndex::repeatsFrom(std::uint32_t begin, std::uint32_t end)
{
    for (std::uint32_t p = begin; p < end; ++p) {
        const std::uint32_t r = ranks_[p];
        repeated_[p] = std::max(shared_[r], r + 1 < wordCount() ? shared_[r + 1] : 0u);
    }
}

void WordSuffixIndex::buildSharedLengths(const Pause &pause)
{
    const std::uint32_t n = wordCount();
    shared_.assign(n, 0);
    repeated_.assign(n, 0);
    // Each part writes the entries of its own positions only. The calling
    // thread's part goes a stretch at a time, pausing between.
    const auto inStretches = [&pause](auto part, std::uint32_t begin, std::uint32_t end) {
        constexpr std::uint32_t kStretch = std::uint32_t(1) << 20;
        for (std::uint32_t from = begin; from < end; from += std::min(kStretch, end - from)) {
            part(from, from + std::min(kStretch, end - from));
            pause();
        }
    };
    const auto inTwoParts = [&](auto part) {
        if (n < kWordsWorthASecondCore)
            return inStretches(part, 0, n);
        runSideBySide([&] { inStretches(part, 0, n / 2); }, [&] { part(n / 2, n); });
    };
    inTwoParts([this](std::uint32_t begin, std::uint32_t end) { sharedLengthsFrom(begin, end); });
    inTwoParts([this](std::uint32_t begin, std::uint32_t end) { repeatsFrom(begin, end); });
}

std::int64_t WordSuffixIndex::wordAfter(std::uint32_t rank, std::uint32_t depth) const
{
    const std::uint64_t position = std::uint64_t(suffixes_[rank]) + depth;
    return position < ids_.size() ? std::int64_t(ids_[position]) : -1;
}

WordRange WordSuffixIndex::around(std::uint32_t rank, std::uint32_t depth) const
{
    std::uint32_t lo = rank, hi = rank + 1;
    while (lo > 0 && shared_[lo] >= depth)
        --lo;
    while (hi < wordCount() && shared_[hi] >= depth)
        ++hi;
    return {lo, hi};
}

std::optional<WordRange> WordSuffixIndex::aroundWithin(std::uint32_t rank, std::uint32_t depth,
                                                       std::uint32_t steps) const
{
    std::uint32_t lo = rank, hi = rank + 1;
    for (std::uint32_t s = 0; lo > 0 && shared_[lo] >= depth; ++s, --lo)
        if (s == steps)
            return std::nullopt;
    for (std::uint32_t s = 0; hi < wordCount() && shared_[hi] >= depth; ++s, ++hi)
        if (s == steps)
            return std::nullopt;
    return WordRange{lo, hi};
}

WordRange WordSuffixIndex::narrow(WordRange range, std::uint32_t depth, std::uint32_t id) const
{
    const auto firstAtLeast = [&](std::int64_t wanted) {
        std::uint32_t lo = range.lo, hi = range.hi;
        while (lo < hi) {
            const std::uint32_t mid = lo + (hi - lo) / 2;
            if (wordAfter(mid, depth) < wanted)
                lo = mid + 1;
            else
                hi = mid;
        }
        return lo;
    };
    return {firstAtLeast(id), firstAtLeast(std::int64_t(id) + 1)};
}

WordRange WordSuffixIndex::rangeOf(std::span<const std::uint32_t> positions) const
{
    if (positions.empty())
        return {0, wordCount()};
    const std::uint32_t first = ids_[positions[0]];
    WordRange range{firstRankOfWord_[first], firstRankOfWord_[first + 1]};
    for (std::uint32_t d = 1; d < positions.size() && !range.empty(); ++d)
        range = narrow(range, d, ids_[positions[d]]);
    return range;
}

} // namespace wordloom
