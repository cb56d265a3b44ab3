// The real frequency modules against the literal transcription in reference/,
// on generated texts with fixed seeds: same tables, results and status texts.
#include "basLibString.h"
#include "basTextRepeat.h"
#include "PhraseCount.h"
#include "SortA2ThenA1.h"
#include "WordCount.h"
#include "LiteralFrequency.h"
#include "RecordingHost.h"
#include "PhraseTextGenerator.h"

#include <gtest/gtest.h>

#include <random>

namespace ref = wordloom::reference;
using wordloom::FrequencyTable;
using wordloom::testing::RecordingHost;
using wordloom::testing::PhraseTextGenerator;

namespace {

const QString kComma = QStringLiteral(",");

void expectSameRun(const RecordingHost &real, const RecordingHost &literal, const QString &text)
{
    EXPECT_EQ(real.posts, literal.posts) << "input: " << text.toStdString();
    EXPECT_EQ(real.result, literal.result) << "input: " << text.toStdString();
    EXPECT_EQ(real.work, literal.work) << "input: " << text.toStdString();
}

TEST(FrequencyDifferential, WordCountMatchesLiteralOnGeneratedTexts)
{
    for (unsigned seed = 1; seed <= 1500; ++seed) {
        const QString text = PhraseTextGenerator(seed).text();
        RecordingHost real(text), literal(text);
        wordloom::ops::wordCount(real, kComma);
        ref::wordCount(literal, kComma);
        expectSameRun(real, literal, text);
        if (HasFailure())
            return;
    }
}

TEST(FrequencyDifferential, PhraseTablesMatchLiteralOnGeneratedTexts)
{
    for (unsigned seed = 1; seed <= 4000; ++seed) {
        const QString text = PhraseTextGenerator(seed).text().toLower();
        RecordingHost real, literal;
        wordloom::FrequencyTable realTable;
        ASSERT_EQ(basTextRepeat::BuildPhraseFrequency(text, real, realTable), wordloom::Outcome::Ready);
        const auto literalTable = ref::BuildPhraseFrequency(text, literal);
        ASSERT_TRUE(literalTable);
        EXPECT_EQ(realTable, *literalTable) << "seed " << seed << ": " << text.toStdString();
        EXPECT_EQ(real.posts, literal.posts) << "seed " << seed << ": " << text.toStdString();
        if (HasFailure())
            return;
    }
}

// Two or three one-letter words: long periodic runs, where counting resumes on
// the last character of a match and overlapping occurrences are not counted.
TEST(FrequencyDifferential, PhraseTablesMatchLiteralOnPeriodicTexts)
{
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        std::mt19937 rng(seed);
        const int words = 3 + int(rng() % 60), letters = 2 + int(rng() % 2);
        QString text;
        for (int i = 0; i < words; ++i) {
            text += QChar(char16_t(u'a' + rng() % letters));
            if (rng() % 5 == 0)
                text += QChar(char16_t(u'a' + rng() % letters));
            text += u' ';
        }
        RecordingHost real, literal;
        wordloom::FrequencyTable realTable;
        ASSERT_EQ(basTextRepeat::BuildPhraseFrequency(text, real, realTable), wordloom::Outcome::Ready);
        const auto literalTable = ref::BuildPhraseFrequency(text, literal);
        ASSERT_TRUE(literalTable);
        ASSERT_EQ(realTable, *literalTable) << text.toStdString();
        ASSERT_EQ(real.posts, literal.posts) << text.toStdString();
    }
}

TEST(FrequencyDifferential, PhraseCountCommandMatchesLiteral)
{
    for (unsigned seed = 5001; seed <= 6000; ++seed) {
        const QString text = PhraseTextGenerator(seed).text();
        RecordingHost real(text), literal(text);
        wordloom::ops::phraseCount(real, kComma);
        ref::phraseCount(literal, kComma);
        expectSameRun(real, literal, text);
        if (HasFailure())
            return;
    }
}

// Cancel pressed during a random status post of a full run.
template <typename Real, typename Literal>
void expectSameCancelledRuns(unsigned firstSeed, Real real, Literal literal)
{
    for (unsigned seed = firstSeed; seed < firstSeed + 400; ++seed) {
        PhraseTextGenerator generator(seed);
        const QString text = generator.text();
        RecordingHost dry(text);
        literal(dry);
        RecordingHost a(text), b(text);
        a.cancelAtPost = b.cancelAtPost = generator.pick(1, int(dry.posts.size()));
        real(a);
        literal(b);
        expectSameRun(a, b, text);
        if (::testing::Test::HasFailure())
            return;
    }
}

TEST(FrequencyDifferential, CancelledRunsMatchLiteral)
{
    expectSameCancelledRuns(
        7001, [](RecordingHost &h) { wordloom::ops::wordCount(h, kComma); },
        [](RecordingHost &h) { ref::wordCount(h, kComma); });
    expectSameCancelledRuns(
        8001, [](RecordingHost &h) { wordloom::ops::phraseCount(h, kComma); },
        [](RecordingHost &h) { ref::phraseCount(h, kComma); });
}

TEST(FrequencyDifferential, HelpersMatchLiteral)
{
    for (unsigned seed = 1; seed <= 2000; ++seed) {
        PhraseTextGenerator generator(seed);
        const QString text = generator.text();
        ASSERT_EQ(basLibString::KeepWordCharacters(text), ref::KeepWordCharacters(text)) << text.toStdString();
    }
}

TEST(FrequencyDifferential, TableSortMatchesExchangeSort)
{
    for (unsigned seed = 1; seed <= 500; ++seed) {
        PhraseTextGenerator generator(seed);
        FrequencyTable table;
        const int rows = generator.pick(0, 40);
        for (int i = 0; i < rows; ++i)
            table.push_back({generator.text().left(generator.pick(0, 4)), generator.pick(1, 4)});
        FrequencyTable literal = table;
        RecordingHost a, b;
        wordloom::ops::SortA2ThenA1(table, a);
        ref::SortA2ThenA1(literal, b);
        ASSERT_EQ(table, literal);
    }
}

} // namespace
