#include "SortLines.h"
#include "Utf8Lines.h"
#include "TextCodec.h"
#include "TextViews.h"
#include "SideBySide.h"
#include "Literal.h"
#include "CommandRunChecks.h"
#include "TextGenerator.h"
#include "Utf8LinesSorted.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <stdexcept>

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
        QString input = generate.text(40);
        // Texts already in order take a shortcut: sorted ones, sorted ones
        // with a final break (as a word list ends), and ones out by a line.
        if (i % 3 == 1)
            input = reference::sortLinesText(input) + (i % 2 ? QStringLiteral("\r\n") : QString());
        if (i % 9 == 4)
            input += generate.text(3);
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

// A large join is written from both ends by two threads; where the halves
// meet, and a join of one or two huge items, must come out as a plain join.
TEST(JoinInOrder, LargeJoinsMatchAPlainJoin)
{
    std::mt19937 random(11);
    for (const std::size_t count : {std::size_t(1), std::size_t(2), std::size_t(3), std::size_t(50001)}) {
        QStringList owned;
        const qsizetype each = qsizetype((1u << 21) / count) + 1;
        for (std::size_t i = 0; i < count; ++i)
            owned.append(QString(each + qsizetype(random() % 7), QChar(u'a' + int(random() % 26))));
        std::vector<QStringView> items(owned.cbegin(), owned.cend());
        std::vector<std::uint32_t> order(count);
        std::iota(order.begin(), order.end(), 0u);
        std::shuffle(order.begin(), order.end(), random);
        QStringList inOrder;
        for (const std::uint32_t index : order)
            inOrder.append(owned[qsizetype(index)]);
        ASSERT_EQ(ops::joinInOrder(items, order, ops::kCrLf), inOrder.join(QStringLiteral("\r\n"))) << count;
        // A selection of the items, as the kept lines of Unique Lines are.
        order.resize((count + 1) / 2);
        inOrder = inOrder.mid(0, qsizetype(order.size()));
        ASSERT_EQ(ops::joinInOrder(items, order, ops::kCrLf), inOrder.join(QStringLiteral("\r\n"))) << count;
    }
}

// Work split over two threads fails as it would on one: a failure of the
// second thread (out of memory, say) reaches the caller instead of ending
// the program, and only after both parts have stopped.
TEST(SideBySide, AFailureOnEitherThreadReachesTheCaller)
{
    bool hereRan = false;
    EXPECT_THROW(wordloom::runSideBySide([&] { hereRan = true; }, [] { throw std::bad_alloc(); }),
                 std::bad_alloc);
    EXPECT_TRUE(hereRan);
    bool thereRan = false;
    EXPECT_THROW(wordloom::runSideBySide([] { throw std::runtime_error("here"); }, [&] { thereRan = true; }),
                 std::runtime_error);
    EXPECT_TRUE(thereRan);
}

namespace {

std::vector<QByteArray> ownedLines(QByteArray bytes, bool raw, bool endsText)
{
    std::vector<QByteArray> lines;
    for (const QByteArrayView line : ops::utf8Lines(bytes, raw, endsText))
        lines.push_back(line.toByteArray());
    return lines;
}

} // namespace

// Lines found in UTF-8 and sorted as their UTF-16 forms give Sort Lines'
// result on the text the bytes decode to, with and without --raw's line
// breaks; a text cut after a line break gives the same lines in two parts
// (the first part ends the text only when the cut is at its end).
TEST(Utf8Lines, SortedTheyAreSortLinesOnTheDecodedText)
{
    wt::TextGenerator generate(4401);
    for (int i = 0; i < 3000; ++i) {
        QString text = generate.text(60);
        if (i % 5 == 0)
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        const QByteArray bytes = text.toUtf8();
        for (const bool raw : {false, true}) {
            ASSERT_EQ(wt::sortedUtf8Lines(bytes, raw), reference::sortLinesText(wordloom::decodeUtf8(bytes, !raw)))
                << bytes.toHex(' ').constData() << (raw ? " raw" : "");

            const qsizetype lf = bytes.indexOf(raw ? "\r\n" : "\n", generate.below(int(bytes.size()) + 1));
            if (lf < 0)
                continue;
            const qsizetype cut = lf + (raw ? 2 : 1);
            std::vector<QByteArray> parts = ownedLines(bytes.left(cut), raw, cut == bytes.size());
            for (QByteArray &line : ownedLines(bytes.mid(cut), raw, true))
                parts.push_back(line);
            ASSERT_EQ(parts, ownedLines(bytes, raw, true)) << bytes.toHex(' ').constData();
        }
    }
}
