// Command line, files and the output file of wordloom-cli, run as a process.
#include "cli_test_support.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace cli_test;

TEST(CliConventions, HelpAndVersionGoToStandardOutput)
{
    const CliRun help = runCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.err.isEmpty());
    EXPECT_TRUE(help.out.startsWith("Usage: wordloom-cli COMMAND [OPTION]... [FILE]...\n"));
    for (const char *name : {"change-case", "characters-only", "letters-only", "binary-codes",
                             "sort-lines", "sort-words", "unique-lines", "unique-words",
                             "word-count", "phrase-count"})
        EXPECT_TRUE(help.out.contains(QByteArray("\n  ") + name + ' ')) << name;
    // After a command, and before a wrong option it never reaches.
    EXPECT_EQ(runCli({"sort-lines", "--help", "--bogus"}).out, help.out);

    const CliRun version = runCli({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QByteArray("wordloom-cli 2.2.6\n"));
}

TEST(CliConventions, UsageErrorsAreOneLinePointingToHelp)
{
    const QList<QStringList> wrong = {
        {},
        {"--raw"},
        {"no-such-command"},
        {"sort-lines", "--bogus"},
        {"sort-lines", "-x"},
        {"sort-lines", "-o"},
        {"sort-lines", "--output="},
        {"word-count", "--format=xml"},
        {"sort-lines", "--format=csv"},
    };
    for (const QStringList &args : wrong) {
        const CliRun r = runCli(args, "text");
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.constData();
        EXPECT_TRUE(r.err.startsWith("wordloom-cli: ")) << r.err.constData();
        EXPECT_TRUE(r.err.contains("wordloom-cli --help")) << r.err.constData();
    }
}

class CliFiles : public ::testing::Test {
protected:
    QString path(const QString &name) const { return dir.filePath(name); }
    QString file(const QString &name, const QByteArray &bytes) const
    {
        writeFile(path(name), bytes);
        return path(name);
    }
    QTemporaryDir dir;
};

TEST_F(CliFiles, FilesAndStandardInputAreReadInTurnAsOneText)
{
    const QString a = file("a", "b\na"), b = file("b", "d\nc\n");
    // "a" lacks its last LF: it gets one, so "a" and "d" stay two lines.
    EXPECT_EQ(runCli({"sort-lines", a, "-", b}, "e\n").out, QByteArray("\na\nb\nc\nd\ne"));
    EXPECT_EQ(runCli({"unique-words", "--", a, b}).out, QByteArray("a\nb\nc\nd"));
    // Options may follow the files; "--" makes a dash name a file.
    const QString dashed = file("-n", "Hello");
    EXPECT_EQ(runCli({"change-case", "--", dashed}).out, QByteArray("hello"));
    EXPECT_EQ(runCli({"sort-lines", a, "--crlf"}).out, runCli({"sort-lines", "--crlf"}, "b\na").out);
}

TEST_F(CliFiles, AnEmptyFileIsAnEmptyText)
{
    const QString empty = file("empty", "");
    const CliRun sorted = runCli({"sort-lines", empty});
    EXPECT_EQ(sorted.exitCode, 0);
    EXPECT_TRUE(sorted.out.isEmpty());
    EXPECT_EQ(runCli({"change-case", empty}).exitCode, 3);
    EXPECT_EQ(runCli({"word-count", empty, empty}).out, runCli({"word-count"}, "").out);
}

TEST_F(CliFiles, OutputFileGetsTheWholeResultAndMayBeAnInput)
{
    const QString notes = file("notes", "b\nc\na\n");
    chmod(notes.toLocal8Bit().constData(), 0640);
    const CliRun r = runCli({"sort-lines", "-o", notes, notes});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(readFile(notes), QByteArray("\na\nb\nc"));
    struct stat info {};
    stat(notes.toLocal8Bit().constData(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u) << "the replaced file keeps its mode";

    EXPECT_EQ(runCli({"sort-words", "--output=" + path("new")}, "b a").exitCode, 0);
    EXPECT_EQ(readFile(path("new")), QByteArray("a\nb\n"));
    const mode_t mask = umask(0);
    umask(mask);
    stat(path("new").toLocal8Bit().constData(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0666u & ~mask) << "a new file gets the usual mode";

    EXPECT_EQ(runCli({"change-case", "-o-"}, "a").out, QByteArray("A"));
    EXPECT_EQ(entriesOf(dir.path()), QStringList({"new", "notes"}));
}

TEST_F(CliFiles, OutputThroughALinkReplacesTheFileItNames)
{
    const QString target = file("target", "old");
    ASSERT_EQ(symlink("target", path("link").toLocal8Bit().constData()), 0);
    EXPECT_EQ(runCli({"change-case", "-o", path("link")}, "new").exitCode, 0);
    EXPECT_EQ(readFile(target), QByteArray("NEW"));
    EXPECT_TRUE(QFileInfo(path("link")).isSymLink());
}

TEST_F(CliFiles, NothingIsReplacedWithoutAWholeResult)
{
    const QString kept = file("kept", "precious\n");
    // Input that cannot be read, input that is not UTF-8, and no result.
    const CliRun missing = runCli({"sort-lines", "-o", kept, path("missing")});
    EXPECT_EQ(missing.exitCode, 1);
    const CliRun invalid = runCli({"sort-lines", "-o", kept}, "a\xFF");
    EXPECT_EQ(invalid.exitCode, 1);
    const CliRun none = runCli({"change-case", "-o", kept}, "123");
    EXPECT_EQ(none.exitCode, 3);
    EXPECT_EQ(readFile(kept), QByteArray("precious\n"));
    EXPECT_EQ(entriesOf(dir.path()), QStringList({"kept"}));

    // A folder that does not exist is found before any input is read.
    const CliRun nowhere = runCli({"sort-lines", "-o", path("no/such/out")}, "x");
    EXPECT_EQ(nowhere.exitCode, 1);
    EXPECT_EQ(nowhere.err, "wordloom-cli: cannot write '" + path("no/such/out").toLocal8Bit()
                               + "': No such file or directory\n");
}

TEST_F(CliFiles, InterruptedRunLeavesNoTemporaryFile)
{
    // The output's temporary file exists while the input is still awaited.
    for (const int signal : {SIGTERM, SIGINT}) {
        QProcess p;
        p.start(QStringLiteral(WORDLOOM_CLI), {"sort-lines", "-o", path("out")});
        ASSERT_TRUE(p.waitForStarted());
        for (int i = 0; i < 500 && entriesOf(dir.path()).isEmpty(); ++i)
            usleep(10000);
        ASSERT_EQ(entriesOf(dir.path()).size(), 1);
        ::kill(pid_t(p.processId()), signal);
        p.waitForFinished();
        EXPECT_EQ(p.exitStatus(), QProcess::CrashExit);
        EXPECT_EQ(p.exitCode(), signal);
        EXPECT_TRUE(entriesOf(dir.path()).isEmpty());
    }
}

} // namespace
