#include "PhraseCandidate.h"

#include "PhraseRunIndex.h"

namespace wordloom {

namespace {
constexpr std::uint32_t kNearbySteps = 16;
}

void PhraseCandidate::clear()
{
    runs_.clear();
    words_ = 0;
    chars_ = 0;
    hash_ = 0;
    rangeWords_ = 0;
}

std::uint32_t PhraseCandidate::wordAt(std::uint32_t k) const
{
    for (const auto &run : runs_) {
        if (k < run.words)
            return run.start + k;
        k -= run.words;
    }
    return kNowhere;
}

void PhraseCandidate::append(std::uint32_t position, const WordSuffixIndex &index)
{
    const std::uint32_t id = index.id(position);
    const qsizetype length = index.spelling(id).size();
    if (runs_.empty())
        firstRank_ = index.rankOf(position);
    chars_ += runs_.empty() ? length : 1 + length;
    if (!runs_.empty() && runs_.back().end() == position) {
        ++runs_.back().words;
    } else {
        if (!runs_.empty() && contiguous()) {
            // Glued from two places: the occurrences are followed word by word from now on.
            range_ = occurrences(index);
        }
        runs_.push_back({position, 1});
    }
    ++words_;
    hash_ = nextHash(hash_, id);
    if (!contiguous())
        range_ = index.narrow(range_, words_ - 1, id), rangeWords_ = words_;
}

void PhraseCandidate::appendRun(std::uint32_t words, std::int64_t chars, const PhraseRunIndex &runs)
{
    WordRun &run = runs_.back();
    hash_ = PhraseRunIndex::joined(hash_, runs.hashOf(run.end(), words), words);
    run.words += words;
    words_ += words;
    chars_ += chars;
}

WordRange PhraseCandidate::occurrences(const WordSuffixIndex &index, const PhraseRunIndex *runs)
{
    const std::uint32_t n = words();
    if (rangeWords_ == n)
        return range_;
    // Most phrases occur a few times: their neighbours in suffix order are
    // cheaper to walk than a binary search through a common shorter phrase.
    const std::optional<WordRange> nearby =
        contiguous() ? index.aroundWithin(firstRank_, n, kNearbySteps) : std::nullopt;
    if (nearby)
        range_ = *nearby;
    else if (rangeWords_ + 1 == n && n >= 2)
        range_ = index.narrow(range_, n - 1, index.id(wordAt(n - 1)));
    else if (n <= 2)
        range_ = n == 1 ? index.ofWord(index.id(wordAt(0)))
                        : index.narrow(index.ofWord(index.id(wordAt(0))), 1, index.id(wordAt(1)));
    else
        range_ = runs ? runs->around(firstRank_, n) : index.around(firstRank_, n);
    rangeWords_ = n;
    return range_;
}

std::optional<std::uint32_t> PhraseCandidate::singleOccurrence(const WordSuffixIndex &index) const
{
    if (!contiguous()) {
        // range_ follows a glued P word by word.
        if (range_.hi - range_.lo >= 2)
            return std::nullopt;
        return range_.empty() ? kNowhere : index.suffixAt(range_.lo);
    }
    if (index.repeatedFrom(front()) >= words())
        return std::nullopt;
    return front();
}

bool PhraseCandidate::is(const RecordedPhrase &phrase) const
{
    if (phrase.words != words())
        return false;
    if (contiguous())
        return firstRank_ >= phrase.lo && firstRank_ < phrase.hi;
    return !range_.empty() && range_.lo == phrase.lo;
}

} // namespace wordloom
