// The word index and the counting behind Phrase Count against plain
// reference methods, on generated word sequences with fixed seeds.
#include "PhraseForecast.h"
#include "PhraseOccurrences.h"
#include "PhraseWalk.h"
#include "SuffixSorting.h"
#include "WordSuffixIndex.h"
#include "basTextRepeat.h"
#include "RecordingHost.h"
#include "RepeatingTextGenerator.h"

#include <gtest/gtest.h>

#include <QSet>
#include <QStringList>

#include <algorithm>
#include <numeric>
#include <random>
#include <thread>

using namespace wordloom;

namespace {

// Word numbers with long repeats: random words, a repeated block, or runs of one word.
std::vector<std::uint32_t> generatedWords(std::mt19937 &rng)
{
    const std::uint32_t letters = 1 + rng() % 4, length = rng() % 200;
    std::vector<std::uint32_t> words;
    switch (rng() % 3) {
    case 0:
        while (words.size() < length)
            words.push_back(rng() % letters);
        break;
    case 1: {
        std::vector<std::uint32_t> block(1 + rng() % 7);
        for (auto &w : block)
            w = rng() % letters;
        while (words.size() < length)
            words.push_back(rng() % 9 == 0 ? rng() % letters : block[words.size() % block.size()]);
        break;
    }
    default:
        while (words.size() < length)
            words.insert(words.end(), 1 + rng() % 12, rng() % letters);
    }
    return words;
}

QString textOf(const std::vector<std::uint32_t> &words)
{
    QString text;
    for (const auto w : words)
        text += QChar(char16_t(u'a' + w)) + QStringLiteral(" ");
    return text;
}

TEST(PhraseIndex, SuffixesSortLikeComparingThem)
{
    std::mt19937 rng(11);
    for (int round = 0; round < 3000; ++round) {
        const auto words = generatedWords(rng);
        std::vector<std::uint32_t> expected(words.size());
        std::iota(expected.begin(), expected.end(), 0u);
        std::sort(expected.begin(), expected.end(), [&](std::uint32_t a, std::uint32_t b) {
            return std::lexicographical_compare(words.begin() + a, words.end(), words.begin() + b, words.end());
        });
        ASSERT_EQ(sortSuffixes(words, 4), expected) << "round " << round;
    }
}

// Non-overlapping occurrences from a word on, found one after another.
std::uint32_t countedPlainly(const std::vector<std::uint32_t> &words, std::uint32_t at, std::uint32_t length,
                             std::uint32_t from)
{
    std::uint32_t count = 0;
    for (std::size_t p = from; p + length <= words.size();) {
        if (std::equal(words.begin() + p, words.begin() + p + length, words.begin() + at))
            ++count, p += length;
        else
            ++p;
    }
    return count;
}

// Growing phrases (kept positions narrowed), fresh phrases and both ways of counting.
TEST(PhraseIndex, OccurrencesCountLikeSearchingTheText)
{
    std::mt19937 rng(12);
    for (int round = 0; round < 1500; ++round) {
        const auto words = generatedWords(rng);
        if (words.size() < 2)
            continue;
        const WordSuffixIndex index(textOf(words));
        PhraseBudget budget(std::size_t(1) << 30, ~std::uint64_t(0) >> 8, 0);
        OccurrenceCounter counter(index, budget);
        const std::uint32_t at = rng() % (words.size() - 1), from = rng() % (at + 1);
        for (std::uint32_t length = 2; at + length <= words.size(); ++length) {
            const WordRange range = index.around(index.rankOf(at), length);
            ASSERT_EQ(counter.count(range, length, from), countedPlainly(words, at, length, from))
                << "round " << round << " at " << at << " length " << length << " from " << from;
            // The phrase occurs elsewhere exactly when the repeat from its start is that long.
            bool elsewhere = false;
            for (std::size_t p = 0; p + length <= words.size() && !elsewhere; ++p)
                elsewhere = p != at && std::equal(words.begin() + p, words.begin() + p + length, words.begin() + at);
            ASSERT_EQ(index.repeatedFrom(at) >= length, elsewhere)
                << "round " << round << " at " << at << " length " << length;
        }
    }
}

// A text long enough to be numbered in two parts, with words in both parts:
// each word has one number, numbers follow the binary order of spellings.
TEST(PhraseIndex, WordsOfALargeTextAreNumberedInSpellingOrder)
{
    std::mt19937 rng(15);
    QStringList vocabulary;
    for (int w = 0; w < 700; ++w) {
        QString word;
        for (int k = 1 + int(rng() % 7); k > 0; --k)
            word += QChar(char16_t(u'a' + rng() % 26));
        vocabulary += word;
    }
    QStringList words;
    QString text;
    while (text.size() < (qsizetype(3) << 19)) {
        words += vocabulary[qsizetype(rng() % 600)];
        text += words.back() + QStringLiteral("  ");
    }
    const WordSuffixIndex index(text);
    ASSERT_EQ(index.wordCount(), std::uint32_t(words.size()));
    for (std::uint32_t p = 0; p < index.wordCount(); ++p)
        ASSERT_EQ(index.spelling(index.id(p)), words[p]) << p;
    for (std::uint32_t id = 1; id < index.distinctWords(); ++id)
        ASSERT_LT(QStringView(index.spelling(id - 1)).compare(index.spelling(id)), 0) << id;
    EXPECT_EQ(index.distinctWords(), std::uint32_t(QSet<QString>(words.begin(), words.end()).size()));
}

// An index of more than a million words is built in stretches, pausing
// between them on the calling thread only, and stays exact: the suffixes in
// order, each shared length what the two neighbours share.
TEST(PhraseIndex, ALargeIndexPausesOnTheCallingThreadAndStaysExact)
{
    std::mt19937 rng(16);
    QString text;
    std::vector<std::uint32_t> words;
    while (words.size() < (std::size_t(5) << 18)) {
        words.push_back(std::uint32_t(rng() % 300));
        for (std::uint32_t n = words.back(), k = 0; k < 3; ++k, n /= 10)
            text += QChar(char16_t(u'a' + n % 10));
        text += QStringLiteral(" ");
    }
    int pauses = 0;
    bool elsewhere = false;
    const auto caller = std::this_thread::get_id();
    const WordSuffixIndex index(text, [&] {
        ++pauses;
        elsewhere = elsewhere || std::this_thread::get_id() != caller;
    });
    EXPECT_GE(pauses, 8);
    EXPECT_FALSE(elsewhere);
    ASSERT_EQ(index.wordCount(), std::uint32_t(words.size()));
    for (std::uint32_t r = 1; r < index.wordCount(); ++r) {
        const std::uint32_t a = index.suffixAt(r - 1), b = index.suffixAt(r);
        std::uint32_t shared = 0;
        while (b + shared < words.size() && a + shared < words.size() && index.id(a + shared) == index.id(b + shared))
            ++shared;
        ASSERT_EQ(index.sharedWithPrevious(r), shared) << r;
        ASSERT_TRUE(b + shared == words.size() ? false
                    : a + shared == words.size() || index.id(a + shared) < index.id(b + shared)) << r;
    }
}

// What the forecast promises before the walk, the walk records: as many
// distinct phrases or more, one as long, as many different first words; and
// its ceiling is above it.
TEST(PhraseIndex, ForecastIsBelowWhatTheWalkRecords)
{
    std::mt19937 rng(16);
    using wordloom::testing::RepeatingShape;
    for (int round = 0; round < 3100; ++round) {
        QString text;
        if (round < 3000) {
            // Words of different lengths, so that characters are not words.
            for (const auto w : generatedWords(rng))
                text += QString(qsizetype(1 + w % 3), QChar(char16_t(u'a' + w))) + QStringLiteral(" ");
        } else {
            const int periods[] = {1, 2, 3, 8, 21, 60, 150};
            const RepeatingShape shape{round % 2 ? RepeatingShape::Periodic : RepeatingShape::RepeatedStretches,
                                       periods[rng() % 7], int(rng() % 3), 500 + rng() % 4000, unsigned(round)};
            text = wordloom::testing::RepeatingTextGenerator::text(shape);
        }
        const WordSuffixIndex index(text);
        WalkText walkText{index, {1}, 1, text};
        for (std::uint32_t k = 0; k < index.wordCount(); ++k)
            walkText.scanStart.push_back(walkText.scanStart.back() + index.spelling(index.id(k)).size() + 1);
        PhraseBudget budget(std::size_t(1) << 30, ~std::uint64_t(0) >> 8, 0);
        wordloom::testing::RecordingHost host;
        std::vector<RecordedPhrase> recorded;
        ASSERT_EQ(walkPhrases(walkText, host, budget, recorded), Outcome::Ready);
        std::int64_t longest = 0;
        QSet<std::uint32_t> firstWords;
        for (const RecordedPhrase &phrase : recorded) {
            const std::uint32_t at = index.suffixAt(phrase.lo);
            longest = std::max(longest, walkText.scanStart[at + phrase.words] - walkText.scanStart[at] - 1);
            firstWords.insert(index.id(at));
        }
        const PhraseForecast forecast = forecastPhrases(walkText);
        ASSERT_LE(forecast.phrases, recorded.size()) << "round " << round;
        ASSERT_LE(forecast.longestChars, longest) << "round " << round;
        ASSERT_LE(forecast.firstWords, std::uint64_t(firstWords.size())) << "round " << round;
        const PhraseForecast ceiling = forecastCeiling(walkText);
        ASSERT_GE(ceiling.phrases, forecast.phrases) << "round " << round;
        ASSERT_GE(ceiling.longestChars, forecast.longestChars) << "round " << round;
    }
}

TEST(PhraseIndex, LowerBoundNearAGuessIsTheLowerBound)
{
    std::mt19937 rng(14);
    for (int round = 0; round < 20000; ++round) {
        std::vector<std::int64_t> sorted(rng() % 40);
        std::int64_t at = 0;
        for (auto &value : sorted)
            value = at += 1 + rng() % 3;
        const std::int64_t wanted = std::int64_t(rng() % (at + 4)) - 1;
        const auto near = std::uint32_t(rng() % (sorted.size() + 2));
        ASSERT_EQ(lowerBoundNear(sorted, wanted, near),
                  std::lower_bound(sorted.begin(), sorted.end(), wanted) - sorted.begin())
            << "round " << round;
    }
}

} // namespace
