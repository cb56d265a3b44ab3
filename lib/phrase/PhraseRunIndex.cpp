#include "PhraseRunIndex.h"

#include "PhraseCandidate.h"

#include <algorithm>

namespace wordloom {

namespace {
constexpr std::uint32_t kBlock = 64;
constexpr std::uint32_t kSuper = kBlock * kBlock;
constexpr std::uint64_t kMultiplier = PhraseCandidate::kHashMultiplier;

std::uint64_t power(std::uint64_t base, std::uint32_t exponent)
{
    std::uint64_t result = 1;
    for (; exponent != 0; exponent >>= 1, base *= base)
        if (exponent & 1)
            result *= base;
    return result;
}

std::vector<std::uint32_t> leastPerBlock(std::uint32_t count, std::uint32_t block,
                                         const auto &valueAt)
{
    std::vector<std::uint32_t> least((count + block - 1) / block, ~std::uint32_t(0));
    for (std::uint32_t k = 0; k < count; ++k)
        least[k / block] = std::min(least[k / block], valueAt(k));
    return least;
}
} // namespace

PhraseRunIndex::PhraseRunIndex(const WordSuffixIndex &index) : index_(index)
{
    const std::uint32_t n = index.wordCount();
    prefix_.resize(std::size_t(n) + 1);
    for (std::uint32_t k = 0; k < n; ++k)
        prefix_[k + 1] = PhraseCandidate::nextHash(prefix_[k], index.id(k));
    blockLeast_ = leastPerBlock(n, kBlock, [&](std::uint32_t k) { return index.sharedWithPrevious(k); });
    superLeast_ = leastPerBlock(std::uint32_t(blockLeast_.size()), kBlock,
                                [&](std::uint32_t b) { return blockLeast_[b]; });
}

std::uint64_t PhraseRunIndex::joined(std::uint64_t head, std::uint64_t tail, std::uint32_t words)
{
    return head * power(kMultiplier, words) + tail;
}

std::uint64_t PhraseRunIndex::hashOf(std::uint32_t start, std::uint32_t words) const
{
    return prefix_[start + words] - prefix_[start] * power(kMultiplier, words);
}

WordRange PhraseRunIndex::around(std::uint32_t rank, std::uint32_t depth) const
{
    // The range grows while the shared length at its edge is at least depth;
    // a whole block (or block of blocks) is passed when its least one is.
    // The shared length at rank 0 is 0, so block 0 is never passed leftwards.
    const std::uint32_t n = index_.wordCount();
    std::uint32_t lo = rank;
    while (lo > 0) {
        if (lo % kSuper == kSuper - 1 && superLeast_[lo / kSuper] >= depth)
            lo -= kSuper;
        else if (lo % kBlock == kBlock - 1 && blockLeast_[lo / kBlock] >= depth)
            lo -= kBlock;
        else if (index_.sharedWithPrevious(lo) >= depth)
            --lo;
        else
            break;
    }
    std::uint32_t hi = rank + 1;
    while (hi < n) {
        if (hi % kSuper == 0 && superLeast_[hi / kSuper] >= depth)
            hi = std::min(n, hi + kSuper);
        else if (hi % kBlock == 0 && blockLeast_[hi / kBlock] >= depth)
            hi = std::min(n, hi + kBlock);
        else if (index_.sharedWithPrevious(hi) >= depth)
            ++hi;
        else
            break;
    }
    return {lo, hi};
}

} // namespace wordloom
