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

TEST_F(CliFiles, OutputRewritesTheFileNotItsIdentity)
{
    // Unique Lines' result is shorter than its text: a copy in place must
    // also cut what was longer.
    const QByteArray text = "b\nb\nb\na\n", result = "a\nb";
    const struct {
        const char *what, *setup; // the shell makes the files in their folder
        const char *given, *file, *other; // -o names `given`; `file` gets the result
    } cases[] = {
        {"plain file", "cat > f", "f", "f", nullptr},
        {"symbolic link", "mkdir sub; cat > sub/t; ln -s sub/t l", "l", "sub/t", nullptr},
        {"link read from its folder", "mkdir ls; cat > t; ln -s ../t ls/l", "ls/l", "t", nullptr},
        {"chain of links", "cat > t; ln -s t l1; ln -s \"$PWD/l1\" l2", "l2", "t", nullptr},
        {"dangling link", "mkdir sub; ln -s sub/new l", "l", "sub/new", nullptr},
        {"hard link", "cat > a; ln a b", "a", "a", "b"},
        {"link to a hard link", "cat > a; ln a b; ln -s a l", "l", "a", "b"},
        {"read-only folder", "mkdir ro; cat > ro/f; chmod 555 ro", "ro/f", "ro/f", nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir folder;
        const auto at = [&](const char *name) { return folder.filePath(QString::fromUtf8(name)); };
        QProcess setup;
        setup.setWorkingDirectory(folder.path());
        setup.start("sh", {"-c", QString::fromUtf8(c.setup) + "; chmod 640 " + c.file + " 2>/dev/null; true"});
        setup.write(text);
        setup.closeWriteChannel();
        ASSERT_TRUE(wordloom::testing::waitForExit(setup));
        struct stat before {}, after {}, given {};
        const bool existed = stat(at(c.file).toLocal8Bit().constData(), &before) == 0;
        const bool isLink = lstat(at(c.given).toLocal8Bit().constData(), &given) == 0 && S_ISLNK(given.st_mode);
        const QStringList entries = entriesOf(folder.path());
        // Refused only where the folder does not let this process add its temporary file.
        const bool writable = access(QFileInfo(at(c.file)).path().toLocal8Bit().constData(), W_OK) == 0;

        const CliRun r = runCli(QStringList{"unique-lines", "-o", at(c.given)}
                                    + (existed ? QStringList{at(c.given)} : QStringList()),
                                text);
        EXPECT_EQ(entriesOf(folder.path()), entries) << "nothing left beside it";
        if (!writable) {
            EXPECT_EQ(r.exitCode, 1);
            EXPECT_EQ(r.err, "wordloom-cli: cannot write '" + at(c.given).toLocal8Bit() + "': Permission denied\n");
            EXPECT_EQ(readFile(at(c.file)), text);
            chmod(QFileInfo(at(c.file)).path().toLocal8Bit().constData(), 0755);
            continue;
        }
        EXPECT_EQ(r.exitCode, 0) << r.err.constData();
        EXPECT_EQ(readFile(at(c.file)), result);
        struct stat now {};
        EXPECT_EQ(lstat(at(c.given).toLocal8Bit().constData(), &now) == 0 && S_ISLNK(now.st_mode), isLink)
            << "a link stays a link";
        if (stat(at(c.file).toLocal8Bit().constData(), &after) != 0) {
            ADD_FAILURE() << "no file " << c.file;
            continue;
        }
        EXPECT_EQ(after.st_mode & 07777, existed ? 0640u : 0666u & ~[] { const mode_t m = umask(0); umask(m); return m; }());
        EXPECT_EQ(after.st_nlink, existed ? before.st_nlink : 1u);
        if (c.other) {
            EXPECT_EQ(after.st_ino, before.st_ino) << "the hard links still share one file";
            EXPECT_EQ(readFile(at(c.other)), result);
        }
    }
}

TEST_F(CliFiles, OutputKeepsItsOwnerWhereItMay)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only root may give a file to another user";
    const QString notes = file("notes", "b\na\n");
    const QByteArray name = notes.toLocal8Bit();
    ASSERT_EQ(chown(name.constData(), 65534, 65534), 0);
    ASSERT_EQ(chmod(name.constData(), 02640), 0);
    const CliRun r = runCli({"sort-lines", "-o", notes, notes});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(readFile(notes), QByteArray("\na\nb"));
    struct stat info {};
    ASSERT_EQ(stat(name.constData(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
    EXPECT_EQ(info.st_mode & 07777, 02640u) << "the set-group-ID bit too, which a change of owner clears";
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
    // SIGPIPE is what a reader that left early (`| head`) sends.
    for (const int signal : {SIGTERM, SIGINT, SIGPIPE}) {
        QProcess p;
        p.start(QStringLiteral(WORDLOOM_CLI), {"sort-lines", "-o", path("out")});
        ASSERT_TRUE(p.waitForStarted());
        ASSERT_TRUE(wordloom::testing::pollUntil([&] { return !entriesOf(dir.path()).isEmpty(); }));
        ASSERT_EQ(entriesOf(dir.path()).size(), 1);
        ::kill(pid_t(p.processId()), signal);
        ASSERT_TRUE(wordloom::testing::waitForExit(p));
        EXPECT_EQ(p.exitStatus(), QProcess::CrashExit);
        EXPECT_EQ(p.exitCode(), signal);
        EXPECT_TRUE(entriesOf(dir.path()).isEmpty());
    }
}

} // namespace
