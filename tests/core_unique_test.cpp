#include "CommandHandlers.h"
#include "UniqueLines.h"
#include "Literal.h"
#include "CommandRunChecks.h"
#include "TextGenerator.h"

#include <gtest/gtest.h>

using wordloom::Outcome;
namespace ops = wordloom::ops;
namespace reference = wordloom::reference;
namespace wt = wordloom::testing;
using wordloom::testing::CommandRun;
using wordloom::testing::RecordingHost;
using wordloom::testing::runCommand;

namespace {

QString uniqueLinesResult(const QString &input)
{
    return runCommand(ops::runUniqueLines, input).result.value_or(QStringLiteral("<none>"));
}

TEST(UniqueLines, Cases)
{
    EXPECT_EQ(uniqueLinesResult("b\r\na\r\nb\r\n\r\na"), QStringLiteral("a\r\nb"));
    EXPECT_EQ(uniqueLinesResult("A\r\na"), QStringLiteral("A\r\na"));
    EXPECT_EQ(uniqueLinesResult("  x\r\n\tx\r\nx"), QStringLiteral("x"));
    EXPECT_EQ(uniqueLinesResult("x \r\nx"), QStringLiteral("x\r\nx "));
    EXPECT_EQ(uniqueLinesResult("\r\n\r\n\r\n"), QString());
    EXPECT_EQ(uniqueLinesResult(""), QString());
    EXPECT_EQ(uniqueLinesResult("   "), QString());
}

TEST(UniqueLines, KeptLinesMatchTheLiteralLoopWithEveryCancelTest)
{
    wt::TextGenerator generate(5101);
    for (int i = 0; i < 2000; ++i) {
        const QString sorted = reference::sortLinesText(generate.text(30));
        for (int cancelAfter : {0, 1, 2, 5}) {
            RecordingHost fast, literal;
            fast.cancelAtPost = literal.cancelAtPost = cancelAfter == 0 ? 0 : 1;
            QString got;
            const Outcome outcome = ops::keepUniqueSortedLines(sorted, fast, got);
            QStringList expected;
            const bool finished = reference::keptLines(sorted, literal, expected);
            ASSERT_EQ(outcome == Outcome::Ready, finished);
            if (finished) {
                ASSERT_EQ(got, expected.join(QStringLiteral("\r\n"))) << wt::visible(sorted).toStdString();
            }
            ASSERT_EQ(fast.cancelTests, literal.cancelTests);
            ASSERT_EQ(fast.posts, literal.posts);
        }
    }
}

// A large text is read in two halves at once: runs of equal lines and empty
// lines across the break between them, and texts that are not sorted.
TEST(UniqueLines, LargeTextsKeepTheSameLinesInHalves)
{
    wt::TextGenerator generate(5151);
    for (int round = 0; round < 6; ++round) {
        QStringList lines;
        for (qsizetype units = 0; units < (qsizetype(1) << 20) + 4000; units += lines.back().size() + 2)
            lines << generate.text(6).remove(QStringLiteral("\r\n"));
        // Repeats and empty lines everywhere, the middle included.
        for (int k = 0; k < 400; ++k) {
            const qsizetype at = k < 200 ? lines.size() / 2 - 100 + k : qsizetype(k * 997) % lines.size();
            lines.insert(at, k % 3 == 0 ? QString() : lines[at]);
        }
        if (round % 2 == 0)
            lines.sort();
        const QString text = lines.join(QStringLiteral("\r\n"));
        RecordingHost fast, literal;
        QString got;
        ASSERT_EQ(ops::keepUniqueSortedLines(text, fast, got), Outcome::Ready);
        QStringList expected;
        ASSERT_TRUE(reference::keptLines(text, literal, expected));
        ASSERT_EQ(got, expected.join(QStringLiteral("\r\n"))) << round;
        ASSERT_EQ(fast.cancelTests, literal.cancelTests);
    }
}

TEST(UniqueLines, MatchesSortLinesThenTheKeptLines)
{
    wt::TextGenerator generate(5201);
    for (int i = 0; i < 2000; ++i) {
        const QString input = generate.text(40);
        RecordingHost host(input);
        ops::runUniqueLines(host);
        ASSERT_EQ(host.result, reference::uniqueLinesText(input)) << wt::visible(input).toStdString();
        ASSERT_EQ(host.input, input) << "the user's text is back";
        ASSERT_EQ(host.nestDepth(), 0);
        ASSERT_EQ(host.saveDepth(), 0);
    }
}

TEST(UniqueLines, StatusesCancelTestsAndTheInputPane)
{
    RecordingHost host(QStringLiteral("b\r\na\r\nb"));
    ops::runUniqueLines(host);
    EXPECT_EQ(host.posts, (QStringList{"Starting...", "Detabbing...", "Splitting...", "Sorting...",
                                       "Formatting...", "Ready", "Shuffling...", "Splitting...",
                                       "Reshuffling...", "Formatting...", "Ready"}));
    // Sort Lines' five, then steps 5 and 7, one per line, and step 13.
    EXPECT_EQ(host.cancelTests, 5 + 2 + 3 + 1);
    EXPECT_EQ(host.inputsShown, (QStringList{"a\r\nb\r\nb", "b\r\na\r\nb"})) << "sorted, then the user's";
    // Post 1 is "Starting...", after which Cancel is enabled again.
    for (int cancelAt = 2; cancelAt <= 4; ++cancelAt) {
        RecordingHost cancelled(QStringLiteral("b\r\na"));
        cancelled.cancelAtPost = cancelAt;
        ops::runUniqueLines(cancelled);
        EXPECT_EQ(cancelled.posts.mid(cancelled.posts.size() - 2), (QStringList{"Cancelled", "Cancelled"}))
            << "Sort Lines' and Unique Lines' own";
        EXPECT_FALSE(cancelled.result.has_value());
        EXPECT_EQ(cancelled.input, QStringLiteral("b\r\na"));
        EXPECT_EQ(cancelled.saveDepth(), 0);
    }
}

TEST(UniqueWords, MatchesSortWordsThenUniqueLines)
{
    EXPECT_EQ(runCommand(ops::runUniqueWords, QStringLiteral("the Cat and the cat")).result,
              QStringLiteral("Cat\r\nand\r\ncat\r\nthe"));
    EXPECT_EQ(runCommand(ops::runUniqueWords, QStringLiteral("exam-\r\nple exam ple")).result,
              QStringLiteral("exam\r\nexample\r\nple"));
    EXPECT_EQ(runCommand(ops::runUniqueWords, QStringLiteral("42")).result, QString());
    wt::TextGenerator generate(5301);
    for (int i = 0; i < 2000; ++i) {
        const QString input = generate.text(40);
        ASSERT_EQ(runCommand(ops::runUniqueWords, input).result, reference::uniqueWordsText(input))
            << wt::visible(input).toStdString();
    }
}

TEST(UniqueWords, TheWholeNestedSequence)
{
    RecordingHost host(QStringLiteral("b a b"));
    ops::runUniqueWords(host);
    EXPECT_EQ(host.posts,
              (QStringList{"Starting...", "Dehyphenating...", "Cleaning...", "Packing...", "Parsing...",
                           "Sorting...", "Formatting...", "Ready", "Starting...", "Detabbing...",
                           "Splitting...", "Sorting...", "Formatting...", "Ready", "Shuffling...",
                           "Splitting...", "Formatting...", "Ready"}));
    EXPECT_EQ(host.input, QStringLiteral("b a b"));
    EXPECT_EQ(host.result, QStringLiteral("a\r\nb"));
}

} // namespace
