#include "SortWords.h"
#include "SortWordsSteps.h"
#include "TextViews.h"
#include "Literal.h"
#include "CommandRunChecks.h"
#include "TextGenerator.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <map>
#include <random>

using wordloom::Outcome;
namespace ops = wordloom::ops;
namespace reference = wordloom::reference;
namespace wt = wordloom::testing;
using wordloom::testing::CommandRun;
using wordloom::testing::runCommand;

namespace {

QString sortWordsResult(const QString &input)
{
    return runCommand(ops::sortWords, input).result.value_or(QStringLiteral("<none>"));
}

struct WordsRow {
    const char *input;
    const char *expected;
    const char *why;
};

const WordsRow kRows[] = {
    {"The cat saw the Cat.", "Cat\r\nThe\r\ncat\r\nsaw\r\nthe\r\n", "capitals first, stop separates"},
    {"exam-\r\nple", "example\r\n", "a hyphen line break joins the halves"},
    {"exam- \r\nple", "exam\r\nple\r\n", "a space before the break keeps them apart"},
    {"well-known", "known\r\nwell\r\n", "an inner hyphen separates"},
    {"don't 42x", "don\r\nt\r\nx\r\n", "digits and apostrophes separate"},
    {"caf\u00e9 au lait", "au\r\ncaf\r\nlait\r\n", "letters outside A-Z separate"},
    {"a b a", "a\r\na\r\nb\r\n", "repeats are all listed"},
    {"12 -- !!", "", "no letters: empty result"},
    {"", "", "empty input"},
    {"-\r\n-\r\n", "", "nothing but hyphen line breaks"},
    {"a--\r\n\r\nb", "a\r\nb\r\n", "deletion does not rescan: a new break stays"},
};

TEST(SortWords, Cases)
{
    for (const auto &row : kRows)
        EXPECT_EQ(sortWordsResult(QString::fromUtf8(row.input)), QString(row.expected)) << row.why;
}

TEST(SortWords, PackingPassesFollowTheLongestRunOfSpaces)
{
    EXPECT_EQ(ops::packedText(u"ab").passes, 1);
    EXPECT_EQ(ops::packedText(u"a b").passes, 1);
    EXPECT_EQ(ops::packedText(u"a  b").passes, 2);
    EXPECT_EQ(ops::packedText(u"a   b").passes, 3);
    EXPECT_EQ(ops::packedText(u"a    b  c").passes, 3);
    EXPECT_EQ(ops::packedText(u"     ").passes, 4);
    EXPECT_EQ(ops::packSpaces(QStringLiteral("a     b  c"), 1), QStringLiteral("a   b c"));
    EXPECT_EQ(ops::packSpaces(QStringLiteral("a     b  c"), 2), QStringLiteral("a  b c"));
    EXPECT_EQ(ops::packSpaces(QStringLiteral(" a     b  c  "), 9), QStringLiteral(" a b c "));
}

// The pass count and the packed text against the loop itself, on runs of
// every length.
TEST(SortWords, PackingMatchesTheRepeatedReplaceLoop)
{
    std::mt19937 random(7);
    for (int round = 0; round < 4000; ++round) {
        QString text;
        const int length = int(random() % 90);
        while (text.size() < length)
            text += random() % 3 == 0 ? QString(int(random() % 20) + 1, u' ') : QStringLiteral("a");
        QString looped = text;
        int passes = 0;
        for (qsizetype before = -1; before != looped.size();) {
            before = looped.size();
            looped.replace(QStringLiteral("  "), QStringLiteral(" "));
            ++passes;
        }
        const ops::PackedText packed = ops::packedText(text);
        ASSERT_EQ(packed.passes, passes) << text.size();
        ASSERT_EQ(packed.text, looped);
        ASSERT_EQ(packed.spaces, looped.count(u' '));
    }
}

// A text of several million characters is packed and counted in stretches,
// the window kept responsive between them: the same packing as the loop's
// model, each word counted once per occurrence, a pause between stretches.
TEST(SortWords, LongTextsArePackedAndCountedInStretches)
{
    std::mt19937 random(17);
    QString text;
    std::map<QString, qsizetype> expected;
    while (text.size() < (qsizetype(5) << 20)) {
        QString word;
        for (int k = 1 + int(random() % 9); k > 0; --k)
            word += QChar(char16_t(u'a' + random() % 4));
        ++expected[word];
        text += word + QString(1 + int(random() % 3), u' ');
    }
    int pauses = 0;
    const ops::PackedText packed = ops::packedText(text, [&] { ++pauses; });
    EXPECT_GE(pauses, 2);
    QString collapsed = text;
    collapsed.replace(QRegularExpression(QStringLiteral(" +")), QStringLiteral(" "));
    EXPECT_EQ(packed.text, collapsed);
    EXPECT_EQ(packed.spaces, collapsed.count(u' '));
    pauses = 0;
    const ops::WordCounts counts = ops::countedWords(packed.text, [&] { ++pauses; });
    EXPECT_GE(pauses, 2);
    std::map<QString, qsizetype> counted;
    for (std::size_t k = 0; k < counts.words().size(); ++k)
        counted[counts.words()[k].toString()] += counts.counts()[k];
    EXPECT_EQ(counted.size(), counts.words().size()); // each word once
    EXPECT_EQ(counted, expected);
}

// Hyphen line breaks at every offset of the eight-unit blocks, beside lone
// hyphens, CRs and LFs: deleted exactly as QString::remove deletes them.
TEST(SortWords, HyphenBreaksGoAsQStringRemoveTakesThem)
{
    std::mt19937 random(5);
    const char16_t units[] = {u'-', u'\r', u'\n', u'a', u' '};
    for (int round = 0; round < 5000; ++round) {
        QString text;
        for (int i = int(random() % 60); i > 0; --i)
            text += QChar(units[random() % 5]);
        QString expected = text;
        expected.remove(QStringLiteral("-\r\n"));
        QString actual = text;
        ops::removeHyphenBreaks(actual);
        ASSERT_EQ(actual, expected) << round;
    }
}

TEST(SortWords, FullRunPostsAndTestsCancelPerPassAndPerWord)
{
    // "a   b " packs in three passes into "a b ", which splits into 3 words.
    const CommandRun run = runCommand(ops::sortWords, QStringLiteral("a \t b."));
    EXPECT_EQ(run.posts, (QStringList{"Dehyphenating...", "Cleaning...", "Packing...", "Parsing...",
                                      "Sorting...", "Formatting...", "Ready"}));
    EXPECT_EQ(run.cancelTests, 3 + 3 + 1 + 3 + 1 + 3);
    EXPECT_EQ(run.work, QStringLiteral("a b "));
    EXPECT_EQ(run.result, QStringLiteral("a\r\nb\r\n"));
}

TEST(SortWords, MatchesTheLiteralStepsOnGeneratedTexts)
{
    wt::TextGenerator generate(4201);
    for (int i = 0; i < 2000; ++i) {
        const QString input = generate.text(40);
        for (int cancelAt = 0; cancelAt <= 7; ++cancelAt) {
            expectSameRun(runCommand(ops::sortWords, input, cancelAt),
                          runCommand(reference::sortWords, input, cancelAt), input, cancelAt);
            if (::testing::Test::HasFailure())
                return;
        }
    }
}

// The window's cancel test only changes inside a status post, but a host may
// answer differently at any test: the work pane must still hold what the
// passes before the cancelling one left.
class CancelAtTest : public wt::RecordingHost {
public:
    CancelAtTest(QString input, int test) : RecordingHost(std::move(input)), test_(test) {}
    bool cancelRequested() override { return RecordingHost::cancelRequested() || cancelTests >= test_; }

private:
    int test_;
};

TEST(SortWords, CancelAtAnyPackingPassLeavesThatPassesText)
{
    const QString input = QStringLiteral("a") + QString(37, u' ') + QStringLiteral("b  c");
    for (int test = 1; test <= 12; ++test) {
        CancelAtTest fast(input, test), literal(input, test);
        EXPECT_EQ(ops::sortWords(fast), reference::sortWords(literal));
        EXPECT_EQ(fast.work, literal.work) << test;
        EXPECT_EQ(fast.cancelTests, literal.cancelTests) << test;
        EXPECT_EQ(fast.posts, literal.posts) << test;
    }
}

} // namespace
