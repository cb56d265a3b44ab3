#include "SuffixSorting.h"

#include "CommandError.h"

#include <algorithm>
#include <limits>
#include <span>

namespace wordloom {

namespace {

// Read in place: word numbers are below 2^31, so as signed values they are the same.
using Text = std::span<const std::int32_t>;
// Whether each suffix is S-type, a byte each: read at random while inducing.
using Types = std::vector<std::uint8_t>;
// Runs between stretches of about a million suffixes (or none).
using Pause = std::function<void()>;
constexpr std::int32_t kStretch = std::int32_t(1) << 20;

struct Buckets {
    std::vector<std::int32_t> sStart; // where the S-type suffixes of a value begin
    std::vector<std::int32_t> lStart; // where the L-type suffixes of a value begin
};

Buckets bucketStarts(const Text &s, const Types &isS, std::int32_t upper)
{
    Buckets b{std::vector<std::int32_t>(upper + 1), std::vector<std::int32_t>(upper + 1)};
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (!isS[i])
            ++b.sStart[s[i]];
        else
            ++b.lStart[s[i] + 1];
    }
    for (std::int32_t v = 0; v <= upper; ++v) {
        b.sStart[v] += b.lStart[v];
        if (v < upper)
            b.lStart[v + 1] += b.sStart[v];
    }
    return b;
}

// Places the LMS suffixes in this order, then induces the L-type suffixes
// left to right and the S-type ones right to left.
void induce(const Text &s, const Types &isS, const Buckets &b, const std::vector<std::int32_t> &lms,
            std::vector<std::int32_t> &sa, const Pause &pause)
{
    const auto n = std::int32_t(s.size());
    std::fill(sa.begin(), sa.end(), -1);
    std::vector<std::int32_t> next = b.sStart;
    for (const auto d : lms)
        if (d != n)
            sa[next[s[d]]++] = d;
    next = b.lStart;
    sa[next[s[n - 1]]++] = n - 1;
    for (std::int32_t i = 0; i < n;) {
        for (const std::int32_t end = std::min(n, i + kStretch); i < end; ++i) {
            const std::int32_t v = sa[i];
            if (v >= 1 && !isS[v - 1])
                sa[next[s[v - 1]]++] = v - 1;
        }
        pause();
    }
    next = b.lStart;
    for (std::int32_t i = n - 1; i >= 0;) {
        for (const std::int32_t end = std::max(-1, i - kStretch); i > end; --i) {
            const std::int32_t v = sa[i];
            if (v >= 1 && isS[v - 1])
                sa[--next[s[v - 1] + 1]] = v - 1;
        }
        pause();
    }
}

std::vector<std::int32_t> suffixArray(const Text &s, std::int32_t upper, const Pause &pause);

// Names the sorted LMS substrings (equal ones alike), sorts the reduced text
// and returns the LMS suffixes in their final order.
std::vector<std::int32_t> sortedLms(const Text &s, const std::vector<std::int32_t> &lms,
                                    const std::vector<std::int32_t> &lmsIndex, const std::vector<std::int32_t> &sa,
                                    const Pause &pause)
{
    const auto n = std::int32_t(s.size());
    const auto m = std::int32_t(lms.size());
    std::vector<std::int32_t> order;
    order.reserve(m);
    for (const auto v : sa)
        if (lmsIndex[v] != -1)
            order.push_back(v);
    pause();
    std::vector<std::int32_t> reduced(m);
    std::int32_t names = 0;
    reduced[lmsIndex[order[0]]] = 0;
    for (std::int32_t i = 1; i < m; ++i) {
        std::int32_t l = order[i - 1], r = order[i];
        const std::int32_t endL = lmsIndex[l] + 1 < m ? lms[lmsIndex[l] + 1] : n;
        const std::int32_t endR = lmsIndex[r] + 1 < m ? lms[lmsIndex[r] + 1] : n;
        bool same = endL - l == endR - r;
        if (same) {
            while (l < endL && s[l] == s[r])
                ++l, ++r;
            same = l != n && r != n && s[l] == s[r];
        }
        if (!same)
            ++names;
        reduced[lmsIndex[order[i]]] = names;
    }
    pause();
    const auto reducedSa = suffixArray(reduced, names, pause);
    for (std::int32_t i = 0; i < m; ++i)
        order[i] = lms[reducedSa[i]];
    return order;
}

std::vector<std::int32_t> suffixArray(const Text &s, std::int32_t upper, const Pause &pause)
{
    const auto n = std::int32_t(s.size());
    if (n == 0)
        return {};
    if (n == 1)
        return {0};
    if (n == 2)
        return s[0] < s[1] ? std::vector<std::int32_t>{0, 1} : std::vector<std::int32_t>{1, 0};
    Types isS(n);
    for (std::int32_t i = n - 2; i >= 0; --i)
        isS[i] = s[i] == s[i + 1] ? isS[i + 1] : std::uint8_t(s[i] < s[i + 1]);
    pause();
    const Buckets buckets = bucketStarts(s, isS, upper);
    pause();
    std::vector<std::int32_t> lmsIndex(n + 1, -1), lms;
    for (std::int32_t i = 1; i < n; ++i)
        if (!isS[i - 1] && isS[i]) {
            lmsIndex[i] = std::int32_t(lms.size());
            lms.push_back(i);
        }
    std::vector<std::int32_t> sa(n);
    pause();
    induce(s, isS, buckets, lms, sa, pause);
    if (!lms.empty())
        induce(s, isS, buckets, sortedLms(s, lms, lmsIndex, sa, pause), sa, pause);
    return sa;
}

} // namespace

std::vector<std::uint32_t> sortSuffixes(const std::vector<std::uint32_t> &text, std::uint32_t alphabet,
                                        const std::function<void()> &between)
{
    const Pause pause = between ? between : [] {};
    if (text.size() >= std::size_t(std::numeric_limits<std::int32_t>::max()))
        throw CommandError("The text has too many words for Phrase Count.");
    const Text s(reinterpret_cast<const std::int32_t *>(text.data()), text.size());
    const auto sa = suffixArray(s, std::int32_t(std::max<std::uint32_t>(alphabet, 1) - 1), pause);
    return std::vector<std::uint32_t>(sa.begin(), sa.end());
}

} // namespace wordloom
