#include "CommandError.h"
#include "FrequencyReport.h"
#include "SortA2ThenA1.h"
#include "WordCount.h"
#include "RecordingHost.h"

#include <gtest/gtest.h>

using wordloom::FrequencyTable;
using wordloom::Outcome;
using wordloom::ops::formatCount;
using wordloom::ops::SortA2ThenA1;
using wordloom::ops::wordCount;
using wordloom::testing::RecordingHost;

namespace {

QString run(const QString &input, const QString &separator = QStringLiteral(","))
{
    RecordingHost host(input);
    EXPECT_EQ(wordCount(host, separator), Outcome::Ready);
    return host.result.value_or(QStringLiteral("<none>"));
}

TEST(WordCount, ResultsOfTypicalInputs)
{
    const struct {
        const char16_t *in, *out;
        const char *why;
    } rows[] = {
        {u"the cat and the hat.", u"and  1\r\ncat  1\r\nhat  1\r\nthe  2\r\n", "rarest first, column of 3 + 2"},
        {u"", u"   1\r\n", "no word: the empty word once"},
        {u" ?! ", u"   1\r\n", "punctuation only"},
        {u"Word word WORD", u"WORD  1\r\nWord  1\r\nword  1\r\n", "case kept, binary order"},
        {u"end.\r\nStart", u"Start  1\r\nend    1\r\n", "line breaks separate words"},
        {u"don't dont R2D2", u"R2D2   1\r\ndon't  1\r\ndont   1\r\n", "apostrophes and digits are word characters"},
        {u"b a b a c", u"c  1\r\na  2\r\nb  2\r\n", "equal counts by text"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(run(QString::fromUtf16(row.in)).toStdString(), QString::fromUtf16(row.out).toStdString())
            << row.why;
}

TEST(WordCount, PostsEveryNewWordThenThePhases)
{
    RecordingHost host(QStringLiteral("b a b c"));
    wordCount(host, QStringLiteral(","));
    EXPECT_EQ(host.posts, (QStringList{"Words: 0", "Words: 1", "Words: 2", "Ready", "Sorting", "Sizing",
                                       "Formatting results", "Ready"}));
}

TEST(WordCount, CancelDuringCountingLeavesResultAlone)
{
    for (int post = 1; post <= 7; ++post) { // the 8th is the final "Ready"
        RecordingHost host(QStringLiteral("b a b c"));
        host.result = QStringLiteral("before");
        host.cancelAtPost = post;
        EXPECT_EQ(wordCount(host, QStringLiteral(",")), Outcome::Cancelled) << post;
        EXPECT_EQ(host.result, QStringLiteral("before"));
        EXPECT_EQ(host.posts.last(), QStringLiteral("Cancelled"));
        EXPECT_EQ(host.posts.size(), std::max(post, 4) + 1) << "the build does not stop on Cancel";
    }
}

TEST(WordCount, NoSixteenBitLimits)
{
    QString many;
    for (int i = 0; i < 40000; ++i)
        many += QStringLiteral("w%1 x ").arg(i);
    RecordingHost host(many);
    wordCount(host, QStringLiteral(","));
    const QStringList lines = host.result->split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 40001);
    EXPECT_EQ(lines.last(), QStringLiteral("x       40,000"));
}

TEST(WordCount, GuardsAgainstAResultTooLargeForMemory)
{
    // One word of 100,000 letters widens 60,000 lines: 6 billion characters.
    QString text(100000, u'a');
    for (int i = 0; i < 60000; ++i)
        text += QStringLiteral(" w%1").arg(i);
    RecordingHost host(text);
    EXPECT_THROW(wordCount(host, QStringLiteral(",")), wordloom::CommandError);
    EXPECT_FALSE(host.result.has_value());
}

TEST(CountRendering, GroupsDigitsByThrees)
{
    const QString comma = QStringLiteral(",");
    EXPECT_EQ(formatCount(7, comma), QStringLiteral("7"));
    EXPECT_EQ(formatCount(999, comma), QStringLiteral("999"));
    EXPECT_EQ(formatCount(1234, comma), QStringLiteral("1,234"));
    EXPECT_EQ(formatCount(1500, comma), QStringLiteral("1,500"));
    EXPECT_EQ(formatCount(1234567, comma), QStringLiteral("1,234,567"));
    EXPECT_EQ(formatCount(100000, QStringLiteral(".")), QStringLiteral("100.000"));
    EXPECT_EQ(formatCount(0, comma), QString());
}

TEST(SortA2ThenA1, OrdersByCountThenBinaryText)
{
    RecordingHost host;
    FrequencyTable table{{"b", 2}, {"a", 2}, {"c", 1}, {"apple", 10}, {"Zebra", 10}, {"x", 9}};
    SortA2ThenA1(table, host);
    EXPECT_EQ(table, (FrequencyTable{{"c", 1}, {"a", 2}, {"b", 2}, {"x", 9}, {"Zebra", 10}, {"apple", 10}}));
    EXPECT_GE(host.eventPumps, 1);
}

TEST(SortA2ThenA1, TestsCancelOnlyWhenRowsMove)
{
    RecordingHost ordered;
    FrequencyTable table{{"a", 1}, {"b", 1}};
    ordered.cancelled = true;
    SortA2ThenA1(table, ordered);
    EXPECT_EQ(ordered.cancelTests, 0);
    EXPECT_EQ(ordered.eventPumps, 1);

    RecordingHost unordered;
    unordered.cancelled = true;
    FrequencyTable reversed{{"b", 1}, {"a", 1}};
    SortA2ThenA1(reversed, unordered);
    EXPECT_EQ(unordered.cancelTests, 1);
}

} // namespace
