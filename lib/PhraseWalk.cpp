#include "PhraseWalk.h"

#include "DecimalText.h"
#include "ops/CommandError.h"

#include <algorithm>
#include <deque>

namespace wordloom {

std::string tooRepetitiveMessage(std::size_t budgetBytes)
{
    return "The text is too repetitive for Phrase Count: its repeated phrases would need more than "
        + std::to_string(budgetBytes >> 20) + " MB of memory.";
}

namespace {

constexpr std::uint64_t kHashBase = 0x9E3779B97F4A7C15ull;

std::uint64_t mixKey(std::uint64_t hash, std::uint32_t words)
{
    std::uint64_t x = hash ^ (std::uint64_t(words) * 0xC2B2AE3D27D4EB4Full);
    x ^= x >> 31;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 29;
    return x;
}

// The candidate phrase P as the positions of its words in the text. Usually a
// run of consecutive words; the walk can also glue words from two places.
class Candidate {
public:
    void clear()
    {
        positions_.clear();
        chars_ = 0;
        hash_ = 0;
        contiguous_ = true;
        rangeKnown_ = false;
    }

    void append(std::uint32_t position, const WordSuffixIndex &index)
    {
        const std::uint32_t id = index.id(position);
        const qsizetype length = index.spelling(id).size();
        if (!positions_.empty()) {
            chars_ += 1 + length;
            if (contiguous_ && position != positions_.front() + positions_.size()) {
                contiguous_ = false;
                range_ = index.rangeOf(positions_);
            }
            if (!contiguous_)
                range_ = index.narrow(range_, std::uint32_t(positions_.size()), id);
        } else {
            chars_ = length;
        }
        rangeKnown_ = !contiguous_;
        positions_.push_back(position);
        hash_ = hash_ * kHashBase + id + 1;
    }

    // All occurrences of P in the text; for a run of words found on demand.
    WordRange occurrences(const WordSuffixIndex &index)
    {
        if (!rangeKnown_) {
            range_ = index.around(index.rankOf(positions_.front()), words());
            rangeKnown_ = true;
        }
        return range_;
    }

    // True when P is the phrase recorded with these occurrences and length.
    bool is(const RecordedPhrase &phrase, const WordSuffixIndex &index) const
    {
        if (phrase.words != words())
            return false;
        if (contiguous_) {
            const std::uint32_t rank = index.rankOf(positions_.front());
            return rank >= phrase.lo && rank < phrase.hi;
        }
        return !range_.empty() && range_.lo == phrase.lo;
    }

    const std::vector<std::uint32_t> &positions() const { return positions_; }
    std::uint32_t words() const { return std::uint32_t(positions_.size()); }
    bool empty() const { return positions_.empty(); }
    std::int64_t chars() const { return chars_; }
    std::uint64_t key() const { return mixKey(hash_, words()); }

private:
    std::vector<std::uint32_t> positions_;
    std::int64_t chars_ = 0;
    std::uint64_t hash_ = 0;
    bool contiguous_ = true;
    bool rangeKnown_ = false;
    WordRange range_;
};

// The recorded phrases in walk order, with an open-addressing table keyed by
// a hash of the word numbers.
class PhraseRecord {
public:
    explicit PhraseRecord(std::size_t budgetBytes) : budget_(budgetBytes) { rehash(1024); }

    bool contains(const Candidate &p, const WordSuffixIndex &index) const
    {
        const std::uint64_t key = p.key();
        for (std::size_t i = key & mask_; slots_[i] != kEmpty; i = (i + 1) & mask_)
            if (keys_[i] == key && p.is(phrases_[slots_[i]], index))
                return true;
        return false;
    }

    void add(const Candidate &p, WordRange range, std::uint32_t count)
    {
        if ((phrases_.size() + 1) * kRecordBytesPerPhrase > budget_)
            throw CommandError(tooRepetitiveMessage(budget_));
        if ((phrases_.size() + 1) * 2 > slots_.size())
            rehash(slots_.size() * 2);
        insert(p.key(), std::uint32_t(phrases_.size()));
        phrases_.push_back({range.lo, range.hi, p.words(), count});
    }

    std::vector<RecordedPhrase> release() { return std::move(phrases_); }

private:
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;

    void insert(std::uint64_t key, std::uint32_t slot)
    {
        std::size_t i = key & mask_;
        while (slots_[i] != kEmpty)
            i = (i + 1) & mask_;
        keys_[i] = key;
        slots_[i] = slot;
    }

    void rehash(std::size_t capacity)
    {
        auto oldKeys = std::move(keys_);
        auto oldSlots = std::move(slots_);
        keys_.assign(capacity, 0);
        slots_.assign(capacity, kEmpty);
        mask_ = capacity - 1;
        for (std::size_t i = 0; i < oldSlots.size(); ++i)
            if (oldSlots[i] != kEmpty)
                insert(oldKeys[i], oldSlots[i]);
    }

    std::size_t budget_;
    std::vector<RecordedPhrase> phrases_;
    std::vector<std::uint64_t> keys_;
    std::vector<std::uint32_t> slots_;
    std::size_t mask_ = 0;
};

class Walk {
public:
    Walk(const WalkText &text, CommandHost &host, std::size_t budget)
        : text_(text), index_(text.index), host_(host), record_(budget)
    {
        status_ = QStringLiteral("Analyzing word ");
    }

    std::optional<std::vector<RecordedPhrase>> run();

private:
    void restart();
    bool extend();
    bool postAnalyzing();
    std::uint32_t countFromSearchStart();
    // The scanner's next word, or nothing once the text is exhausted; counts j.
    std::optional<std::uint32_t> nextWord();

    const WalkText &text_;
    const WordSuffixIndex &index_;
    CommandHost &host_;
    PhraseRecord record_;
    Candidate p_;
    std::deque<std::uint32_t> pending_;
    std::uint32_t scanned_ = 0;
    std::int64_t requests_ = 0;
    std::int64_t searchStart_ = 0;
    std::int64_t verdict_ = 0;
    WordRange counted_;
    std::vector<std::uint32_t> found_;
    QString status_;
};

std::optional<std::uint32_t> Walk::nextWord()
{
    ++requests_;
    if (scanned_ >= index_.wordCount())
        return std::nullopt;
    return scanned_++;
}

// Drops P's first word, refills P to two words from what remains of it (the
// older pending words are lost), then from the scanner. P stays empty once
// the text is exhausted.
void Walk::restart()
{
    const auto &old = p_.positions();
    pending_.assign(old.begin() + (old.empty() ? 0 : 1), old.end());
    p_.clear();
    while (!pending_.empty() && p_.words() < 2) {
        p_.append(pending_.front(), index_);
        pending_.pop_front();
    }
    while (p_.words() < 2) {
        const auto w = nextWord();
        if (!w) {
            p_.clear();
            return;
        }
        p_.append(*w, index_);
        searchStart_ = text_.scanStart[scanned_] - p_.chars() - 1;
    }
}

// Adds one word to P, pending words first. False: the walk has ended.
bool Walk::extend()
{
    std::uint32_t w;
    if (!pending_.empty()) {
        w = pending_.front();
        pending_.pop_front();
    } else {
        const auto next = nextWord();
        if (!next)
            return false;
        w = *next;
        const qsizetype length = index_.spelling(index_.id(w)).size();
        searchStart_ = text_.scanStart[scanned_] - length - p_.chars() - 2;
    }
    p_.append(w, index_);
    return true;
}

bool Walk::postAnalyzing()
{
    static const qsizetype prefix = QStringLiteral("Analyzing word ").size();
    status_.resize(prefix);
    appendDecimal(status_, std::uint64_t(requests_));
    host_.showStatus(status_);
    return !host_.cancelRequested();
}

// How often P occurs from the search start on, each counted occurrence of k
// words letting the next one begin k words later (counting resumes on the
// space that ends a match).
std::uint32_t Walk::countFromSearchStart()
{
    counted_ = p_.occurrences(index_);
    if (counted_.empty())
        return 0;
    // The first word whose preceding space lies at or after the search start.
    const std::int64_t wanted = searchStart_ + 1 - text_.searchOffset;
    const auto first = std::lower_bound(text_.scanStart.begin(), text_.scanStart.end() - 1, wanted);
    const auto from = std::uint32_t(first - text_.scanStart.begin());
    found_.clear();
    for (std::uint32_t r = counted_.lo; r < counted_.hi; ++r)
        if (index_.suffixAt(r) >= from)
            found_.push_back(index_.suffixAt(r));
    if (found_.size() <= 1)
        return std::uint32_t(found_.size());
    std::sort(found_.begin(), found_.end());
    std::uint32_t count = 1;
    std::uint64_t nextFree = std::uint64_t(found_[0]) + p_.words();
    for (const auto position : found_)
        if (position >= nextFree)
            ++count, nextFree = std::uint64_t(position) + p_.words();
    return count;
}

std::optional<std::vector<RecordedPhrase>> Walk::run()
{
    for (;;) {
        if (verdict_ >= 2)
            record_.add(p_, counted_, std::uint32_t(verdict_));
        if (verdict_ >= 2 || verdict_ == -1) {
            if (!extend())
                break;
        } else {
            restart();
        }
        if (!postAnalyzing())
            return std::nullopt;
        if (p_.empty())
            break;
        verdict_ = record_.contains(p_, index_) ? -1 : std::int64_t(countFromSearchStart());
    }
    return record_.release();
}

} // namespace

std::optional<std::vector<RecordedPhrase>> walkPhrases(const WalkText &text, CommandHost &host,
                                                       std::size_t budgetBytes)
{
    return Walk(text, host, budgetBytes).run();
}

} // namespace wordloom
