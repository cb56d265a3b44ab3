#include "LineBreaks.h"
#include "Utf8.h"

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

struct CliRun {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

CliRun runCli(const QStringList &args, const QByteArray &input)
{
    QProcess p;
    p.start(QStringLiteral(WORDLOOM_CLI), args);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

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
    EXPECT_EQ(r.err, QByteArray("Casing...\nReady\n"));
    EXPECT_EQ(r.out, QByteArray("X"));
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
    using namespace wordloom::cli;
    EXPECT_EQ(toCrLf("a\nb\r\nc\rd"), QString("a\r\nb\r\nc\rd"));
    EXPECT_EQ(crLfToLf("a\r\nb\rc\n"), QString("a\nb\rc\n"));
}

} // namespace
