#include "ops/SortLines.h"
#include "ops/SortWords.h"
#include "ops/UniqueLines.h"
#include "reference/Literal.h"
#include "support/CommandRunChecks.h"
#include "support/TextGenerator.h"

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
    return runCommand(ops::uniqueLines, input).result.value_or(QStringLiteral("<none>"));
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
            const auto got = ops::keepUniqueSortedLines(sorted, fast);
            QStringList expected;
            const bool finished = reference::keptLines(sorted, literal, expected);
            ASSERT_EQ(got.has_value(), finished);
            if (finished)
                ASSERT_EQ(*got, expected) << wt::visible(sorted).toStdString();
            ASSERT_EQ(fast.cancelTests, literal.cancelTests);
            ASSERT_EQ(fast.posts, literal.posts);
        }
    }
}

TEST(UniqueLines, FunctionFormMatchesSortLinesThenTheKeptLines)
{
    wt::TextGenerator generate(5201);
    for (int i = 0; i < 2000; ++i) {
        const QString input = generate.text(40);
        const CommandRun run = runCommand(ops::uniqueLines, input);
        ASSERT_EQ(run.result, reference::uniqueLinesText(input)) << wt::visible(input).toStdString();
        ASSERT_EQ(ops::joinLines(*ops::keepUniqueSortedLines(reference::sortLinesText(input),
                                                             *std::make_unique<RecordingHost>())),
                  *run.result);
    }
}

TEST(UniqueLines, FunctionFormStatusesAndCancelTests)
{
    const CommandRun run = runCommand(ops::uniqueLines, QStringLiteral("b\r\na\r\nb"));
    EXPECT_EQ(run.posts, (QStringList{"Detabbing...", "Splitting...", "Sorting...", "Formatting...",
                                      "Ready", "Shuffling...", "Splitting...", "Reshuffling...",
                                      "Formatting...", "Ready"}));
    // Sort Lines' five, then steps 5 and 7, one per line, and step 13.
    EXPECT_EQ(run.cancelTests, 5 + 2 + 3 + 1);
    for (int cancelAt = 1; cancelAt <= 3; ++cancelAt) {
        const CommandRun cancelled = runCommand(ops::uniqueLines, QStringLiteral("b\r\na"), cancelAt);
        EXPECT_EQ(cancelled.outcome, Outcome::Cancelled);
        EXPECT_EQ(cancelled.posts.mid(cancelled.posts.size() - 2),
                  (QStringList{"Cancelled", "Cancelled"})) << "Sort Lines' and Unique Lines' own";
        EXPECT_FALSE(cancelled.result.has_value());
    }
}

TEST(UniqueWords, FunctionFormMatchesSortWordsThenUniqueLines)
{
    EXPECT_EQ(runCommand(ops::uniqueWords, QStringLiteral("the Cat and the cat")).result,
              QStringLiteral("Cat\r\nand\r\ncat\r\nthe"));
    EXPECT_EQ(runCommand(ops::uniqueWords, QStringLiteral("exam-\r\nple exam ple")).result,
              QStringLiteral("exam\r\nexample\r\nple"));
    EXPECT_EQ(runCommand(ops::uniqueWords, QStringLiteral("42")).result, QString());
    wt::TextGenerator generate(5301);
    for (int i = 0; i < 2000; ++i) {
        const QString input = generate.text(40);
        ASSERT_EQ(runCommand(ops::uniqueWords, input).result, reference::uniqueWordsText(input))
            << wt::visible(input).toStdString();
    }
}

} // namespace
