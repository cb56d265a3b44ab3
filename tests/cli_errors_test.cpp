// Files and streams that fail: one line naming the file and the reason, exit 1,
// and never a result passed off as success.
#include "CliErrors.h"
#include "InputFiles.h"
#include "cli_test_support.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

namespace {

using namespace cli_test;

void expectFailure(const CliRun &r, const QByteArray &message)
{
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.err, "wordloom-cli: " + message + "\n");
}

TEST(CliErrors, InputThatCannotBeRead)
{
    expectFailure(runShell("$CLI word-count < /"),
                  "cannot read standard input: Is a directory");
    expectFailure(runCli({"word-count", "/tmp"}), "cannot read '/tmp': Is a directory");
    expectFailure(runCli({"sort-lines", "/no/such/file"}),
                  "cannot open '/no/such/file': No such file or directory");
    // Opens, then fails on the first read whoever runs it.
    expectFailure(runCli({"sort-lines", "/proc/self/mem"}),
                  "cannot read '/proc/self/mem': Input/output error");
    for (const CliRun &r : {runShell("$CLI word-count < /"), runCli({"sort-lines", "/tmp"})})
        EXPECT_TRUE(r.out.isEmpty());
}

TEST(CliErrors, InvalidUtf8NamesTheFileAndItsOffset)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("good"), "fine\n");
    writeFile(dir.filePath("bad"), "ok\xC3(");
    const CliRun r = runCli({"sort-lines", dir.filePath("good"), dir.filePath("bad")});
    expectFailure(r, dir.filePath("bad").toLocal8Bit() + ": not valid UTF-8 at byte offset 2");
    EXPECT_TRUE(r.out.isEmpty());
    expectFailure(runCli({"sort-lines"}, "ok\xFFno"),
                  "standard input: not valid UTF-8 at byte offset 2");
}

TEST(CliErrors, OutputThatCannotBeWritten)
{
    expectFailure(runShell("$CLI sort-lines > /dev/full <<< 'a'"),
                  "cannot write standard output: No space left on device");
    expectFailure(runShell("$CLI --help > /dev/full"),
                  "cannot write standard output: No space left on device");
    expectFailure(runShell("$CLI sort-lines >&- <<< 'a'"),
                  "cannot write standard output: Bad file descriptor");
    expectFailure(runCli({"sort-lines", "-o", "/proc/wordloom-out"}, "a"),
                  "cannot write '/proc/wordloom-out': No such file or directory");
    // The reader is gone and SIGPIPE ignored: the write fails and says so.
    expectFailure(runShell("trap '' PIPE; seq 300000 | $CLI sort-lines | (exec 0<&-; sleep 1)"
                           "; exit ${PIPESTATUS[1]}"),
                  "cannot write standard output: Broken pipe");
}

TEST(CliErrors, ClosedPipeFromHeadEndsQuietly)
{
    const CliRun r = runShell("seq 300000 | $CLI sort-lines | head -c 5; echo \" ${PIPESTATUS[1]}\"");
    EXPECT_EQ(r.out, QByteArray("\n1\n10 141\n")); // 128 + SIGPIPE, as for coreutils
    EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();
}

// A read that fails with EIO once a number of reads succeeded, as a failing disk would.
int readsBeforeFailure = 0;
ssize_t failingRead(int fd, void *buffer, size_t size)
{
    if (readsBeforeFailure-- <= 0) {
        errno = EIO;
        return -1;
    }
    return ::read(fd, buffer, size < 7 ? size : 7);
}

int interruptedReads = 0;
ssize_t interruptedRead(int fd, void *buffer, size_t size)
{
    if (interruptedReads++ % 2 == 0) {
        errno = EINTR;
        return -1;
    }
    return ::read(fd, buffer, size < 5 ? size : 5);
}

TEST(CliInputFiles, AReadErrorPartWayIsReportedNotTruncated)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("text");
    writeFile(path, QByteArray(100, 'x'));
    readsBeforeFailure = 3;
    try {
        wordloom::cli::readInputFiles({path.toStdString()}, failingRead);
        ADD_FAILURE() << "a partial read passed as the whole file";
    } catch (const wordloom::cli::IoError &e) {
        EXPECT_EQ(e.what(), "cannot read '" + path.toStdString() + "': Input/output error");
    }
    // An interrupted read is tried again, not taken for an error or the end.
    EXPECT_EQ(wordloom::cli::readInputFiles({path.toStdString()}, interruptedRead),
              QByteArray(100, 'x'));
}

} // namespace
