#include "LineBreaks.h"
#include "Utf8.h"
#include "cli_test_support.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <iterator>
#include <random>

#include <cstdio>

namespace {

using cli_test::CliRun;
using cli_test::runCli;

TEST(Cli, ChangeCaseResultAndLineBreakModes)
{
    EXPECT_EQ(runCli({"change-case"}, "Ab\ncD\r\n").out, QByteArray("ab\ncd\n"));
    EXPECT_EQ(runCli({"change-case", "--crlf"}, "Ab\ncD\r\n").out, QByteArray("ab\r\ncd\r\n"));
    EXPECT_EQ(runCli({"change-case", "--raw"}, "Ab\ncD\r\n").out, QByteArray("ab\ncd\r\n"));
    EXPECT_EQ(runCli({"change-case"}, "h\xC3\xA9").out, QByteArray("H\xC3\x89"));
}

TEST(Cli, StatusGoesToStandardError)
{
    const CliRun r = runCli({"change-case", "--status"}, "x");
    EXPECT_EQ(r.err, QByteArray("Starting...\nCasing...\nReady\n"));
    EXPECT_EQ(r.out, QByteArray("X"));
}

TEST(Cli, UniqueWordsPostsTheWholeNestedSequence)
{
    const CliRun r = runCli({"unique-words", "--status"}, "b a b");
    EXPECT_EQ(r.err, QByteArray("Starting...\nDehyphenating...\nCleaning...\nPacking...\nParsing...\n"
                                "Sorting...\nFormatting...\nReady\nStarting...\nDetabbing...\nSplitting...\n"
                                "Sorting...\nFormatting...\nReady\nShuffling...\nSplitting...\nFormatting...\n"
                                "Ready\n"));
    EXPECT_EQ(r.out, QByteArray("a\nb"));
}

TEST(Cli, ExitCodes)
{
    const CliRun noResult = runCli({"change-case"}, "123");
    EXPECT_EQ(noResult.exitCode, 3);
    EXPECT_TRUE(noResult.out.isEmpty());

    EXPECT_EQ(runCli({"no-such-command"}, "").exitCode, 2);
    EXPECT_EQ(runCli({"change-case", "--bogus"}, "").exitCode, 2);
    EXPECT_EQ(runCli({}, "").exitCode, 2);

    const CliRun invalid = runCli({"change-case"}, "ok\xFFno");
    EXPECT_EQ(invalid.exitCode, 1);
    EXPECT_TRUE(invalid.out.isEmpty());
    EXPECT_TRUE(invalid.err.contains("byte offset 2")) << invalid.err.constData();
}

TEST(Utf8, FindsTheFirstMalformedSequence)
{
    using wordloom::cli::firstInvalidUtf8;
    EXPECT_EQ(firstInvalidUtf8("plain"), std::nullopt);
    EXPECT_EQ(firstInvalidUtf8("\xF0\x9F\x98\x80 emoji"), std::nullopt);
    EXPECT_EQ(firstInvalidUtf8("a\xC0\x80"), 1);          // overlong NUL
    EXPECT_EQ(firstInvalidUtf8("ab\xED\xA0\x80"), 2);     // encoded surrogate
    EXPECT_EQ(firstInvalidUtf8("\xF4\x90\x80\x80"), 0);   // above U+10FFFF
    EXPECT_EQ(firstInvalidUtf8("abc\xE2\x82"), 3);        // truncated at the end
}

TEST(LineBreaks, PasteConventionBothWays)
{
    using namespace wordloom::reference;
    EXPECT_EQ(toCrLf("a\nb\r\nc\rd"), QString("a\r\nb\r\nc\rd"));
    EXPECT_EQ(crLfToLf(u"a\r\nb\rc\n"), QString("a\nb\rc\n"));
}

TEST(Utf8, DecodingMatchesQtAndTurnsBareLineFeedsIntoPairs)
{
    using wordloom::cli::decodeUtf8;
    // Long enough for the eight-byte steps, with every sequence length.
    const QByteArray bytes = "plain ascii run\n\r\nh\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\n"
                             "\nend without break";
    EXPECT_EQ(decodeUtf8(bytes, false), QString::fromUtf8(bytes));
    EXPECT_EQ(decodeUtf8(bytes, true), wordloom::reference::toCrLf(QString::fromUtf8(bytes)));
    EXPECT_EQ(decodeUtf8("\n", true), QString("\r\n"));
    EXPECT_EQ(decodeUtf8("", true), QString());
}

TEST(Utf8, DecodingGeneratedTextsMatchesQt)
{
    // Line feeds, CRs and multi-byte sequences at every offset of the
    // sixteen-byte steps, and runs longer than a step.
    const QByteArray pieces[] = {"a", "bc", "\n", "\r", "\r\n", "\n\n", "\xC3\xA9", "\xE2\x82\xAC",
                                 "\xF0\x9F\x98\x80", "0123456789abcdefghij", QByteArray(1, '\0')};
    std::mt19937 random(4242);
    for (int i = 0; i < 2000; ++i) {
        QByteArray bytes;
        const int count = int(random() % 40);
        for (int k = 0; k < count; ++k)
            bytes += pieces[random() % std::size(pieces)];
        const QString expected = QString::fromUtf8(bytes);
        ASSERT_EQ(wordloom::cli::decodeUtf8(bytes, false), expected);
        ASSERT_EQ(wordloom::cli::decodeUtf8(bytes, true), wordloom::reference::toCrLf(expected));
    }
}

QByteArray writtenUtf8(const QString &text, bool crLfToLf)
{
    std::FILE *file = std::tmpfile();
    EXPECT_TRUE(wordloom::cli::writeUtf8(file, text, crLfToLf));
    std::rewind(file);
    QByteArray written(4 * text.size() + 1, Qt::Uninitialized);
    written.truncate(qsizetype(std::fread(written.data(), 1, size_t(written.size()), file)));
    std::fclose(file);
    return written;
}

TEST(Utf8, WritingGeneratedTextsMatchesQt)
{
    // CRs, pairs and wide or lone surrogate units at every offset of the
    // eight-unit steps.
    const QString pieces[] = {"a", "bc", "\r", "\n", "\r\n", "\r\r\n", "\u00E9", "\u20AC",
                              QString::fromUtf16(u"\U0001F600"), QString(QChar(0xD800)),
                              QString(QChar(0xDC00)), "0123456789abcdefghij"};
    std::mt19937 random(4343);
    for (int i = 0; i < 2000; ++i) {
        QString text;
        const int count = int(random() % 40);
        for (int k = 0; k < count; ++k)
            text += pieces[random() % std::size(pieces)];
        ASSERT_EQ(writtenUtf8(text, true), wordloom::reference::crLfToLf(text).toUtf8());
        ASSERT_EQ(writtenUtf8(text, false), text.toUtf8());
    }
}

TEST(Utf8, WritingAcrossBlockBoundariesKeepsPairsWhole)
{
    // A CR LF pair and a surrogate pair straddle the writer's block size.
    constexpr qsizetype block = qsizetype(1) << 18;
    for (const QString &pair : {QString("\r\n"), QString::fromUtf16(u"\U0001F600")}) {
        const QString text = QString(block - 1, u'x') + pair + QString(5, u'y') + QChar(0xD800);
        EXPECT_EQ(writtenUtf8(text, true), wordloom::reference::crLfToLf(text).toUtf8());
    }
}

TEST(Cli, SortingAndFilterCommands)
{
    EXPECT_EQ(runCli({"sort-lines"}, "b\n\ta\n").out, QByteArray("\na\nb"));
    EXPECT_EQ(runCli({"unique-lines"}, "b\na\nb\n\na").out, QByteArray("a\nb"));
    EXPECT_EQ(runCli({"sort-words"}, "The cat, the Cat").out, QByteArray("Cat\nThe\ncat\nthe\n"));
    EXPECT_EQ(runCli({"unique-words"}, "the Cat and the cat").out, QByteArray("Cat\nand\ncat\nthe"));
    EXPECT_EQ(runCli({"characters-only"}, "a\tb\xC3\xA9").out, QByteArray("a b "));
    EXPECT_EQ(runCli({"letters-only"}, "R2D2").out, QByteArray("R D "));
    EXPECT_EQ(runCli({"binary-codes"}, "A").out, QByteArray("01000001 "));
    const CliRun empty = runCli({"sort-lines"}, "");
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_TRUE(empty.out.isEmpty());
}

} // namespace
