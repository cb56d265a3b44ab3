#include "ops/SortLines.h"
#include "ops/TextViews.h"
#include "reference/Literal.h"
#include "support/CommandRunChecks.h"
#include "support/TextGenerator.h"

#include <gtest/gtest.h>

using wordloom::Outcome;
namespace ops = wordloom::ops;
namespace reference = wordloom::reference;
namespace wt = wordloom::testing;
using wordloom::testing::CommandRun;
using wordloom::testing::runCommand;

namespace {

QString sortLinesResult(const QString &input)
{
    return runCommand(ops::sortLines, input).result.value_or(QStringLiteral("<none>"));
}

struct LinesRow {
    const char *input;
    const char *expected;
    const char *why;
};

const LinesRow kRows[] = {
    {"b\r\na\r\n", "\r\na\r\nb", "the empty last line sorts first; no CR LF after the last"},
    {"\tzeta\r\n  alpha", "alpha\r\nzeta", "a leading tab goes with the leading spaces"},
    {"a\tb", "a b", "an inner tab becomes one space"},
    {"a \r\na", "a\r\na ", "trailing spaces stay and sort after"},
    {"apple\r\nBanana", "Banana\r\napple", "capitals first"},
    {"x\r\ny\r\nx", "x\r\nx\r\ny", "duplicates kept together"},
    {"b\r\n \t \r\na", "\r\na\r\nb", "a blank line becomes empty and goes to the top"},
    {"  one\rtwo\nthree", "one\rtwo\nthree", "lone CR and LF stay inside the line"},
    {"", "", "empty input: no lines, empty result"},
    {"\r\n\r\n", "\r\n\r\n", "only line breaks: three empty lines"},
};

TEST(SortLines, Cases)
{
    for (const auto &row : kRows)
        EXPECT_EQ(sortLinesResult(row.input), QString(row.expected)) << row.why;
}

TEST(SortLines, FullRunPostsEveryPhaseAndTestsCancelFiveTimes)
{
    const CommandRun run = runCommand(ops::sortLines, QStringLiteral("b\tx\r\na"));
    EXPECT_EQ(run.outcome, Outcome::Ready);
    EXPECT_EQ(run.posts,
              (QStringList{"Detabbing...", "Splitting...", "Sorting...", "Formatting...", "Ready"}));
    EXPECT_EQ(run.cancelTests, 5);
    EXPECT_EQ(run.work, QStringLiteral("b x\r\na"));
}

TEST(SortLines, CancelDuringFormattingKeepsTheSortedResult)
{
    const CommandRun run = runCommand(ops::sortLines, QStringLiteral("b\r\na"), 4);
    EXPECT_EQ(run.outcome, Outcome::Cancelled);
    EXPECT_EQ(run.result, QStringLiteral("a\r\nb"));
    EXPECT_EQ(run.posts.last(), QStringLiteral("Cancelled"));
}

TEST(SortLines, MatchesTheLiteralStepsOnGeneratedTexts)
{
    wt::TextGenerator generate(4101);
    for (int i = 0; i < 2000; ++i) {
        const QString input = generate.text(40);
        for (int cancelAt = 0; cancelAt <= 5; ++cancelAt) {
            expectSameRun(runCommand(ops::sortLines, input, cancelAt),
                          runCommand(reference::sortLines, input, cancelAt), input, cancelAt);
            if (::testing::Test::HasFailure())
                return;
        }
    }
}

TEST(SortLines, NulCharactersAreOrdinaryCharacters)
{
    const QString nul(QChar(0));
    EXPECT_EQ(sortLinesResult(QStringLiteral("a") + nul + QStringLiteral("\r\na\r\n") + nul),
              QStringLiteral("") + nul + QStringLiteral("\r\na\r\na") + nul);
}

// Splitting compares eight units at a time: pairs at every offset, lone CRs
// and LFs, CR CR LF, against Qt's split.
TEST(SplitAtCrLf, MatchesQtSplitOnGeneratedTexts)
{
    wt::TextGenerator generate(3501);
    for (int i = 0; i < 3000; ++i) {
        const QString text = generate.text(i % 10 == 0 ? 400 : 30);
        const std::vector<QStringView> pieces = ops::splitAtCrLf(text);
        const QStringList expected = text.isEmpty() ? QStringList() : text.split(QStringLiteral("\r\n"));
        ASSERT_EQ(qsizetype(pieces.size()), expected.size());
        ASSERT_EQ(ops::countCrLfPieces(text), expected.size());
        for (std::size_t k = 0; k < pieces.size(); ++k)
            ASSERT_EQ(pieces[k], expected[qsizetype(k)]);
    }
}

} // namespace
