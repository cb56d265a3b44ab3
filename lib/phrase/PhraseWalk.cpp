#include "PhraseWalk.h"

#include "PhraseCandidate.h"
#include "PhraseOccurrences.h"
#include "PhraseRecord.h"
#include "PhraseRunIndex.h"
#include "PhraseStatus.h"

#include <algorithm>
#include <optional>

namespace wordloom {

namespace {

// Recorded candidates in a row, from pending words, that are passed at once
// with a single post of their common status text: in a text that repeats a
// short passage, each word restarts a chain through the same long recorded
// phrases, which would cost the square of the text's length.
constexpr std::uint32_t kLeastJump = 64;
// How many longer candidates have their record slots fetched ahead.
constexpr int kSlotsAhead = 4;

class Walk {
public:
    Walk(const WalkText &text, CommandHost &host, PhraseBudget &budget)
        : text_(text), index_(text.index), host_(host), budget_(budget), counter_(text.index, budget)
    {
    }

    Outcome run(std::vector<RecordedPhrase> &recorded);

private:
    void restart();
    bool extend();
    // P is recorded: the longer candidates made of P and the pending words
    // that are recorded too, and so add nothing but their post, are passed.
    Outcome jumpRecorded();
    bool isRecorded(std::uint32_t words) const;
    std::uint32_t takePending();
    Outcome postAnalyzing();
    bool isRecorded() const;
    // Most candidates are followed by themselves one word longer: that one's
    // record slot is loaded while this one is looked up and counted.
    void prefetchLonger() const;
    void record();
    std::uint32_t countFromSearchStart();
    std::uint32_t firstCountedWord();
    // extendsRecorded: P is the phrase just recorded, one word longer.
    std::int64_t verdict(bool extendsRecorded);
    // The scanner's next word, or nothing once the text is exhausted; counts j.
    std::optional<std::uint32_t> nextWord();

    const WalkText &text_;
    const WordSuffixIndex &index_;
    CommandHost &host_;
    PhraseBudget &budget_;
    OccurrenceCounter counter_;
    PhraseRecord record_;
    PhraseCandidate p_;
    // B: words already read from the scanner and not yet used, from pendingHead_ on.
    std::vector<WordRun> pending_;
    std::size_t pendingHead_ = 0;
    bool jumpTried_ = false;
    std::optional<PhraseRunIndex> runs_;
    std::uint32_t scanned_ = 0;
    std::int64_t requests_ = 0;
    std::int64_t searchStart_ = 0;
    std::int64_t verdict_ = 0;
    WordRange counted_;
    std::int64_t firstWordFor_ = -1;
    std::uint32_t firstWord_ = 0;
    StatusNumber status_{QStringLiteral("Analyzing word "), QString()};
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
    pending_ = p_.runs();
    pendingHead_ = 0;
    jumpTried_ = false;
    if (!pending_.empty())
        takePending();
    p_.clear();
    while (pendingHead_ < pending_.size() && p_.words() < 2)
        p_.append(takePending(), index_);
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
    if (pendingHead_ < pending_.size()) {
        w = takePending();
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

std::uint32_t Walk::takePending()
{
    WordRun &run = pending_[pendingHead_];
    const std::uint32_t word = run.start++;
    if (--run.words == 0)
        ++pendingHead_;
    return word;
}

bool Walk::isRecorded(std::uint32_t words) const
{
    const std::uint64_t key = PhraseCandidate::keyOf(runs_->hashOf(p_.front(), words), words);
    const std::uint32_t rank = p_.firstRank();
    return record_.contains(key, [&](const RecordedPhrase &phrase) {
        return phrase.words == words && rank >= phrase.lo && rank < phrase.hi;
    });
}

Outcome Walk::jumpRecorded()
{
    // Once per restart: a run of recorded candidates starts with its first one.
    if (jumpTried_ || !p_.contiguous() || pendingHead_ >= pending_.size())
        return Outcome::Ready;
    jumpTried_ = true;
    const WordRun next = pending_[pendingHead_];
    if (next.start != p_.runs().front().end() || next.words < kLeastJump)
        return Outcome::Ready;
    if (!runs_)
        runs_.emplace(index_);
    // Every phrase the walk records had each of its shorter beginnings as a
    // candidate before it, recorded or found recorded: P with the first m
    // pending words is recorded for every m up to some limit and for none
    // beyond. The limit is mostly just short of the pending words' end (the
    // candidate the last start failed on ended in a word that breaks the
    // repeat), so it is searched from there down in steps that double, then
    // by halving.
    const std::uint32_t base = p_.words();
    std::uint32_t known = 0, beyond = next.words + 1, lookups = 0;
    for (std::uint32_t m = next.words, step = 1;; step *= 2) {
        ++lookups;
        if (isRecorded(base + m)) {
            known = m;
            break;
        }
        beyond = m;
        if (m < kLeastJump + step)
            break;
        m -= step;
    }
    if (known == 0)
        return Outcome::Ready;
    while (beyond - known > 1) {
        const std::uint32_t mid = known + (beyond - known) / 2;
        (isRecorded(base + mid) ? known : beyond) = mid;
        ++lookups;
    }
    budget_.worked(kWorkPerCandidate * lookups);
    const std::int64_t chars = text_.scanStart[next.start + known] - text_.scanStart[next.start];
    p_.appendRun(known, chars, *runs_);
    WordRun &taken = pending_[pendingHead_];
    taken.start += known;
    taken.words -= known;
    if (taken.words == 0)
        ++pendingHead_;
    return postAnalyzing();
}

Outcome Walk::postAnalyzing()
{
    host_.showStatus(status_.show(std::uint64_t(requests_)));
    return host_.cancelRequested() ? Outcome::Cancelled : Outcome::Ready;
}

bool Walk::isRecorded() const
{
    return record_.contains(p_.key(), [&](const RecordedPhrase &phrase) { return p_.is(phrase); });
}

void Walk::prefetchLonger() const
{
    // The slots of P with each of the next few words appended: a run of
    // candidates that are already recorded costs little else.
    std::uint64_t hash = p_.hash();
    std::uint32_t words = p_.words();
    std::size_t pending = pendingHead_;
    std::uint32_t offset = 0;
    std::uint32_t scanned = scanned_;
    for (int ahead = 0; ahead < kSlotsAhead; ++ahead) {
        std::uint32_t next;
        if (pending < pending_.size()) {
            next = pending_[pending].start + offset;
            if (++offset == pending_[pending].words)
                ++pending, offset = 0;
        } else if (scanned < index_.wordCount())
            next = scanned++;
        else
            return;
        hash = PhraseCandidate::nextHash(hash, index_.id(next));
        record_.prefetch(PhraseCandidate::keyOf(hash, ++words));
    }
}

void Walk::record()
{
    const auto count = std::uint32_t(verdict_);
    budget_.recorded(index_.id(p_.front()), count, p_.chars());
    record_.add(p_.key(), {counted_.lo, counted_.hi, p_.words(), count});
}

std::uint32_t Walk::firstCountedWord()
{
    // The first word whose preceding space lies at or after the search start;
    // the start changes only when a word comes from the scanner.
    if (searchStart_ != firstWordFor_) {
        firstWord_ = lowerBoundNear(std::span(text_.scanStart).first(text_.scanStart.size() - 1),
                                    searchStart_ + 1 - text_.searchOffset, firstWord_);
        firstWordFor_ = searchStart_;
    }
    return firstWord_;
}

// How often P occurs from the search start on.
std::uint32_t Walk::countFromSearchStart()
{
    counted_ = p_.occurrences(index_, runs_ ? &*runs_ : nullptr);
    if (counted_.empty())
        return 0;
    return counter_.count(counted_, p_.words(), firstCountedWord());
}

// The verdict on P. A phrase that occurs once in the whole text cannot have
// been recorded, and most candidates that end a chain are such: they are
// told apart without a look-up in the record, which costs a cache miss.
std::int64_t Walk::verdict(bool extendsRecorded)
{
    if (const auto single = p_.singleOccurrence(index_))
        return *single == kNowhere ? 0 : *single >= firstCountedWord() ? 1 : 0;
    // A recorded phrase had each of its beginnings recorded before it, so a
    // phrase that was new when it was counted has no recorded continuation.
    if (!extendsRecorded && isRecorded())
        return -1;
    return std::int64_t(countFromSearchStart());
}

Outcome Walk::run(std::vector<RecordedPhrase> &recorded)
{
    for (;;) {
        const bool recorded = verdict_ >= 2;
        if (recorded)
            record();
        if (verdict_ == -1 && jumpRecorded() == Outcome::Cancelled)
            return Outcome::Cancelled;
        if (verdict_ >= 2 || verdict_ == -1) {
            if (!extend())
                break;
        } else {
            restart();
        }
        if (postAnalyzing() == Outcome::Cancelled)
            return Outcome::Cancelled;
        if (p_.empty())
            break;
        budget_.worked(kWorkPerCandidate);
        prefetchLonger();
        verdict_ = verdict(recorded);
    }
    recorded = record_.release();
    return Outcome::Ready;
}

} // namespace

std::uint32_t lowerBoundNear(std::span<const std::int64_t> sorted, std::int64_t wanted, std::uint32_t near)
{
    const auto size = std::uint32_t(sorted.size());
    // Narrowed to [lo, hi] with sorted[lo - 1] < wanted (or lo == 0) and
    // sorted[hi] >= wanted (or hi == size).
    std::uint32_t lo = 0, hi = size;
    if (near < size && sorted[near] >= wanted) {
        hi = lo = near;
        for (std::uint32_t step = 1; lo > 0 && sorted[lo - 1] >= wanted; step *= 2) {
            hi = lo - 1;
            lo = hi > step ? hi - step : 0;
        }
    } else if (near < size) {
        lo = hi = near + 1;
        for (std::uint32_t step = 1; hi < size && sorted[hi] < wanted; step *= 2) {
            lo = hi + 1;
            hi = std::min(size, hi + step);
        }
    }
    return std::uint32_t(std::lower_bound(sorted.begin() + lo, sorted.begin() + hi, wanted) - sorted.begin());
}

Outcome walkPhrases(const WalkText &text, CommandHost &host, PhraseBudget &budget,
                    std::vector<RecordedPhrase> &recorded)
{
    return Walk(text, host, budget).run(recorded);
}

} // namespace wordloom
