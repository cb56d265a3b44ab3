#include "PhraseCandidate.h"

namespace wordloom {

namespace {
constexpr std::uint32_t kNearbySteps = 16;
}

void PhraseCandidate::clear()
{
    positions_.clear();
    chars_ = 0;
    hash_ = 0;
    contiguous_ = true;
    rangeWords_ = 0;
}

void PhraseCandidate::append(std::uint32_t position, const WordSuffixIndex &index)
{
    const std::uint32_t id = index.id(position);
    const qsizetype length = index.spelling(id).size();
    if (positions_.empty())
        firstRank_ = index.rankOf(position);
    chars_ += positions_.empty() ? length : 1 + length;
    if (!positions_.empty() && contiguous_ && position != positions_.front() + positions_.size()) {
        // Glued from two places: the occurrences are followed word by word from now on.
        contiguous_ = false;
        range_ = occurrences(index);
    }
    positions_.push_back(position);
    hash_ = nextHash(hash_, id);
    if (!contiguous_)
        range_ = index.narrow(range_, words() - 1, id), rangeWords_ = words();
}

WordRange PhraseCandidate::occurrences(const WordSuffixIndex &index)
{
    const std::uint32_t n = words();
    if (rangeWords_ == n)
        return range_;
    // Most phrases occur a few times: their neighbours in suffix order are
    // cheaper to walk than a binary search through a common shorter phrase.
    const std::optional<WordRange> nearby =
        contiguous_ ? index.aroundWithin(firstRank_, n, kNearbySteps) : std::nullopt;
    if (nearby)
        range_ = *nearby;
    else if (rangeWords_ + 1 == n && n >= 2)
        range_ = index.narrow(range_, n - 1, index.id(positions_.back()));
    else if (n <= 2)
        range_ = n == 1 ? index.ofWord(index.id(positions_[0]))
                        : index.narrow(index.ofWord(index.id(positions_[0])), 1, index.id(positions_[1]));
    else
        range_ = index.around(firstRank_, n);
    rangeWords_ = n;
    return range_;
}

std::optional<std::uint32_t> PhraseCandidate::singleOccurrence(const WordSuffixIndex &index) const
{
    const std::uint32_t n = words();
    if (!contiguous_) {
        // range_ follows a glued P word by word.
        if (range_.hi - range_.lo >= 2)
            return std::nullopt;
        return range_.empty() ? kNowhere : index.suffixAt(range_.lo);
    }
    if (index.repeatedFrom(positions_.front()) >= n)
        return std::nullopt;
    return positions_.front();
}

bool PhraseCandidate::is(const RecordedPhrase &phrase) const
{
    if (phrase.words != words())
        return false;
    if (contiguous_)
        return firstRank_ >= phrase.lo && firstRank_ < phrase.hi;
    return !range_.empty() && range_.lo == phrase.lo;
}

} // namespace wordloom
