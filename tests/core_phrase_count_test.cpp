#include "basTextRepeat.h"
#include "CommandError.h"
#include "PhraseStatus.h"
#include "TextCodec.h"
#include "basLibString.h"
#include "PhraseCount.h"
#include "RecordingHost.h"

#include <gtest/gtest.h>

#include <QSet>

#include <algorithm>
#include <random>

using wordloom::Outcome;
using wordloom::ops::phraseCount;
using wordloom::testing::RecordingHost;

namespace {

QString run(const QString &input)
{
    RecordingHost host(input);
    EXPECT_EQ(phraseCount(host, QStringLiteral(",")), Outcome::Ready);
    return host.result.value_or(QStringLiteral("<none>"));
}

TEST(PhraseCount, WorkedExampleWithItsStatuses)
{
    RecordingHost host(QStringLiteral("The cat sat. The cat sat. The dog."));
    phraseCount(host, QStringLiteral(","));
    EXPECT_EQ(host.result, QStringLiteral("cat sat the  2\r\nsat the      2\r\nthe cat sat  2\r\n"));
    QStringList expected{"Dehyphenating...", "Cleaning..."};
    for (int j : {2, 3, 4, 4, 4, 5, 5, 5, 5, 6, 7, 7, 7, 8, 8, 8, 8, 9})
        expected << QStringLiteral("Analyzing word %1").arg(j);
    expected << "Sorting..." << "Pruning 5 of 5" << "Pruning 4 of 5" << "Pruning 3 of 5" << "Pruning 2 of 5"
             << "Pruning 1 of 5" << "Exporting..." << "Ready" << "Sorting..." << "Sizing..." << "Formatting..."
             << "Ready";
    EXPECT_EQ(host.posts, expected);
    EXPECT_EQ(host.work, QStringLiteral("the cat sat. the cat sat. the dog."));
}

TEST(PhraseCount, ResultsOfTheQuirkyCases)
{
    const struct {
        const char16_t *in, *out;
        const char *why;
    } rows[] = {
        {u"The end. the end.", u"the end  2\r\n", "case is ignored"},
        {u"go on go on.", u"go on  2\r\n", "occurrences sharing their separating space both count"},
        {u"go on go on", u"go on  2\r\n", "a phrase that ends the text is counted"},
        {u"no no no.", u"", "occurrences overlapping by a word are not"},
        {u"blue-\r\nberry blue-\r\nberry pie", u"", "hyphen line breaks join words"},
        {u"say 'tis here and 'tis here.", u"tis here  2\r\n", "quotation apostrophes go"},
        {u"a-b a-b r2d2 x r2d2 x", u"a b     2\r\nr2d2 x  2\r\n", "hyphens split, digits stay"},
        {u"go to x go to y go tomorrow z go tomorrow", u"go tomorrow  2\r\n", "pruning by characters"},
        {u"x y \"'z\" x y \"'z\"", u"x y     2\r\nx y 'z  2\r\ny 'z    2\r\n",
         "a continuation by a word with a leading apostrophe sorts before \" - \" and prunes nothing"},
        {u"x y z x y z", u"x y z  2\r\ny z    2\r\n", "while a plain continuation prunes"},
        {u"a b. c d.", u"", "nothing repeats"},
        {u"", u"", "empty"},
        {u"one", u"", "one word"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(run(QString::fromUtf16(row.in)).toStdString(), QString::fromUtf16(row.out).toStdString())
            << row.why;
}

TEST(PhraseCount, NoPhrasePostsReadyAndClearsTheResult)
{
    RecordingHost host(QStringLiteral("a b"));
    host.result = QStringLiteral("old");
    phraseCount(host, QStringLiteral(","));
    EXPECT_EQ(host.result, QString());
    EXPECT_EQ(host.posts, (QStringList{"Dehyphenating...", "Cleaning...", "Analyzing word 2", "Analyzing word 3",
                                       "Ready", "Ready"}));
}

TEST(PhraseCount, CancelDuringTheWalkStopsItAndKeepsTheResult)
{
    QString text;
    for (int i = 0; i < 200; ++i)
        text += QStringLiteral("the cat sat on the mat ");
    RecordingHost host(text);
    host.result = QStringLiteral("before");
    host.cancelAtPost = 10;
    EXPECT_EQ(phraseCount(host, QStringLiteral(",")), Outcome::Cancelled);
    EXPECT_EQ(host.posts.size(), 11);
    EXPECT_EQ(host.posts.last(), QStringLiteral("Cancelled"));
    EXPECT_EQ(host.result, QStringLiteral("before"));
    EXPECT_EQ(host.work, text);
}

TEST(PhraseCount, NoSixteenBitLimitOnCounts)
{
    QString text;
    for (int i = 0; i < 33000; ++i)
        text += QStringLiteral("ab cd %1 ").arg(i);
    EXPECT_EQ(run(text), QStringLiteral("ab cd  33,000\r\n"));
}

// A large table is filled from both ends at once: every row is there once,
// whole, where a text of its own pairs of words gives tens of thousands.
TEST(PhraseCount, ALargeTableHasEveryRowOnce)
{
    QString text;
    const auto word = [](int n) {
        QString w;
        for (; n > 0 || w.isEmpty(); n /= 26)
            w += QChar(u'a' + n % 26);
        return w;
    };
    constexpr int kPairs = 40000;
    for (int i = 0; i < kPairs; ++i)
        text += (word(i) + QStringLiteral(" x") + word(i) + QStringLiteral(". ")).repeated(2);
    RecordingHost host;
    wordloom::FrequencyTable table;
    ASSERT_EQ(basTextRepeat::BuildPhraseFrequency(text, host, table), wordloom::Outcome::Ready);
    ASSERT_GE(table.size(), std::size_t(kPairs));
    QSet<QString> seen;
    for (const wordloom::FrequencyRow &row : table) {
        ASSERT_FALSE(row.text.isEmpty());
        ASSERT_GE(row.count, 2);
        ASSERT_TRUE(!seen.contains(row.text)) << row.text.toStdString();
        seen.insert(row.text);
    }
}

// Blocks with words of their own, apart from each other by a word that occurs
// once, list what each block lists alone. Enough of them that the index and
// the pruning split their work over two cores; alone, each block does not.
TEST(PhraseCount, ATextLargeEnoughForTwoCoresListsWhatItsPartsList)
{
    const auto word = [](int n, QChar tag) {
        QString w(tag);
        for (; n > 0; n /= 26)
            w += QChar(u'a' + n % 26);
        return w;
    };
    constexpr int kBlocks = 26000;
    const auto blockOf = [&](int i) {
        // Phrases that pruning drops (a prefix with the same count) and keeps.
        const QString sentence = word(i, u'p') + u' ' + word(i, u'q') + u' ' + word(i, u'r') + u' ' + word(i, u's');
        return sentence + QStringLiteral(". ") + sentence + QStringLiteral(", ") + word(i, u'p') + u' '
            + word(i, u'q') + QStringLiteral(". ");
    };
    RecordingHost alone;
    wordloom::FrequencyTable part;
    ASSERT_EQ(basTextRepeat::BuildPhraseFrequency(blockOf(0), alone, part), wordloom::Outcome::Ready);
    ASSERT_FALSE(part.empty());
    QString text;
    wordloom::FrequencyTable expected;
    for (int i = 0; i < kBlocks; ++i) {
        text += blockOf(i) + word(i, u'z') + QStringLiteral(". ");
        // Block i lists block 0's rows in its own words.
        for (const auto &row : part) {
            QStringList words = row.text.split(u' ');
            for (QString &w : words)
                w = word(i, w.front());
            expected.push_back({words.join(u' '), row.count});
        }
    }
    ASSERT_GE(expected.size(), std::size_t(50000));
    std::sort(expected.begin(), expected.end(),
              [](const auto &a, const auto &b) { return a.text < b.text; });
    RecordingHost host;
    wordloom::FrequencyTable table;
    ASSERT_EQ(basTextRepeat::BuildPhraseFrequency(text, host, table), wordloom::Outcome::Ready);
    EXPECT_TRUE(table == expected) << table.size() << " rows, expected " << expected.size();
    // The countdown is posted in order, each number once.
    qsizetype next = -1;
    QString first;
    for (const QString &post : host.posts) {
        if (!post.startsWith(QStringLiteral("Pruning ")))
            continue;
        if (first.isEmpty())
            first = post;
        const qsizetype number = post.section(u' ', 1, 1).toLongLong();
        ASSERT_TRUE(next < 0 || number == next) << post.toStdString();
        next = number - 1;
    }
    EXPECT_EQ(next, 0);
    // Cancel in either half of the countdown stops it there.
    const qsizetype recorded = first.section(u' ', 1, 1).toLongLong();
    for (const qsizetype left : {recorded - 10, qsizetype(2)}) {
        const QString stopAt = QStringLiteral("Pruning %1 of %2").arg(left).arg(recorded);
        RecordingHost cancelling;
        cancelling.cancelAtPost = int(std::find(host.posts.begin(), host.posts.end(), stopAt) - host.posts.begin() + 1);
        wordloom::FrequencyTable none;
        EXPECT_EQ(basTextRepeat::BuildPhraseFrequency(text, cancelling, none), wordloom::Outcome::Cancelled);
        EXPECT_EQ(cancelling.posts.back(), stopAt);
    }
}

// The one-pass cleaning against the replacements done one after another.
TEST(PhraseCount, CleaningIsTheReplacementsInTurn)
{
    const char16_t units[] = {u' ', u' ', u'\'', u'\'', u'`', u'a', u'Z', u'7', u'.', u'-', u'\r', u'\n', 0xE9, 0x2019};
    std::mt19937 rng(8);
    for (int round = 0; round < 20000; ++round) {
        QString text;
        for (int i = int(rng() % 24); i > 0; --i)
            text += QChar(units[rng() % std::size(units)]);
        QString expected = text;
        expected.replace(QStringLiteral(" `"), QStringLiteral(" "));
        expected.replace(QStringLiteral(" '"), QStringLiteral(" "));
        expected.replace(QStringLiteral("' "), QStringLiteral(" "));
        ASSERT_EQ(basTextRepeat::CleanForPhraseSearch(text), basLibString::KeepWordCharacters(expected))
            << text.toStdString();
    }
    // Word characters by their code page 1252 codes, over every UTF-16 unit.
    for (int unit = 0; unit <= 0xFFFF; ++unit) {
        const int code = wordloom::ansiCode(char16_t(unit));
        const bool word = code == 39 || (code >= 48 && code <= 57) || (code >= 65 && code <= 90) || (code >= 97 && code <= 122);
        ASSERT_EQ(basLibString::IsWordCharacter(char16_t(unit)), word) << unit;
    }
}

// Counting up and down across changes in the number of digits, and jumps.
TEST(PhraseCount, StatusNumbersReadLikeTheirValues)
{
    wordloom::StatusNumber status(QStringLiteral("Pruning "), QStringLiteral(" of 5"));
    std::uint64_t value = 0;
    std::mt19937 rng(5);
    for (int step = 0; step < 200000; ++step) {
        const auto move = rng() % 16;
        value = move < 7 ? value + 1 : move < 14 ? (value > 0 ? value - 1 : 0) : move == 14 ? rng() % 100000 : value;
        ASSERT_EQ(status.show(value), QStringLiteral("Pruning %1 of 5").arg(value)) << "step " << step;
    }
}

TEST(PhraseCount, TooRepetitiveTextStopsWithAMessage)
{
    QString text;
    for (int i = 0; i < 30; ++i)
        text += QStringLiteral("one two three four five six seven eight nine ten ");
    RecordingHost host(text);
    host.result = QStringLiteral("before");
    try {
        phraseCount(host, QStringLiteral(","), 64 * 1024);
        FAIL() << "no error";
    } catch (const wordloom::CommandError &error) {
        EXPECT_NE(std::string(error.what()).find("too repetitive for Phrase Count"), std::string::npos);
    }
    EXPECT_EQ(host.result, QStringLiteral("before"));
    RecordingHost roomy(text);
    EXPECT_EQ(phraseCount(roomy, QStringLiteral(","), std::size_t(1) << 30), Outcome::Ready);
}

} // namespace
