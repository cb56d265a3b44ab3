// sort-lines and unique-lines beyond --buffer-size: pieces of whole lines
// sorted into nameless temporary files and merged, byte for byte the sort in
// memory; and the input read piece by piece.
#include "BufferSize.h"
#include "BatchHost.h"
#include "CliErrors.h"
#include "ExternalSort.h"
#include "InputFiles.h"
#include "PiecePlan.h"
#include "RunMerge.h"
#include "TempFiles.h"
#include "cli_test_support.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace cli_test;

// Lines with tabs, leading spaces, lone CRs, repeats, empty lines, accents,
// a surrogate pair and U+E000 (whose code-unit order differs from UTF-8's),
// ended by LF or CR LF.
QByteArray generatedLines(unsigned seed, int count)
{
    static const char *pieces[] = {"a", "b", "Z", "\t", "  ", " x", "\xC3\xA9",
                                   "\xF0\x9F\x98\x80", "\xEE\x80\x80", "\r", "dup", "dup", "0"};
    std::mt19937 random(seed);
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        for (unsigned k = random() % 7; k > 0; --k)
            text += pieces[random() % std::size(pieces)];
        text += random() % 2 ? "\n" : "\r\n";
    }
    return text;
}

// What this process has written through write() so far: the kernel's count.
std::size_t writtenByThisProcess()
{
    const QList<QByteArray> lines = readFile(QStringLiteral("/proc/self/io")).split('\n');
    for (const QByteArray &line : lines)
        if (line.startsWith("wchar:"))
            return line.mid(6).trimmed().toULongLong();
    ADD_FAILURE() << "no write count in /proc/self/io";
    return 0;
}

class CliExternalSort : public ::testing::Test {
protected:
    QString file(const QString &name, const QByteArray &bytes)
    {
        writeFile(dir.filePath(name), bytes);
        return dir.filePath(name);
    }
    QTemporaryDir dir;
    QTemporaryDir temporary; // for -T
};

TEST_F(CliExternalSort, MergedPartsGiveTheSortInMemory)
{
    const QByteArray text = generatedLines(11, 60000); // about 400 KB: seven 64 KiB parts
    const QString ends = file("ends", text), open = file("open", text.chopped(1));
    for (const char *command : {"sort-lines", "unique-lines"}) {
        for (const QString &path : {ends, open}) {
            for (const QStringList &mode : {QStringList(), QStringList{"--raw"}, QStringList{"--crlf"}}) {
                const CliRun memory = runCli(QStringList{command, path} + mode);
                const CliRun parts = runCli(QStringList{command, path, "-S", "64K", "--status", "-T",
                                                        temporary.path()} + mode);
                ASSERT_EQ(parts.exitCode, 0) << parts.err.constData();
                EXPECT_TRUE(parts.err.contains("Sorting part 7...\nMerging...\nReady\n"))
                    << parts.err.constData();
                EXPECT_EQ(parts.out, memory.out) << command << " " << path.toStdString();
            }
        }
    }
    EXPECT_TRUE(entriesOf(temporary.path()).isEmpty());
}

TEST_F(CliExternalSort, PartsSpanSeveralFiles)
{
    QStringList files;
    for (int i = 0; i < 3; ++i)
        files << file(QString::number(i), generatedLines(20 + unsigned(i), 30000).chopped(1));
    const CliRun memory = runCli(QStringList{"unique-lines"} + files);
    const CliRun parts = runCli(QStringList{"unique-lines", "--buffer-size=64K", "--status"} + files);
    ASSERT_EQ(parts.exitCode, 0) << parts.err.constData();
    EXPECT_TRUE(parts.err.contains("Sorting part 10...")) << parts.err.right(200).constData();
    EXPECT_EQ(parts.out, memory.out);
    EXPECT_EQ(runCli(QStringList{"sort-lines", "-S64K", "-o", dir.filePath("sorted")} + files).exitCode, 0);
    EXPECT_EQ(readFile(dir.filePath("sorted")), runCli(QStringList{"sort-lines"} + files).out);
}

class SilentHost final : public wordloom::BatchHost {
public:
    QString inputText() override { return {}; }
    void showStatus(const QString &) override {}
    bool cancelRequested() override { return false; }
    void processEvents() override {}
    void setWorkText(const QString &) override {}
    void setResultText(const QString &) override {}
};

TEST_F(CliExternalSort, RunsBeyondTheMergeWidthAreMergedInRounds)
{
    // About forty 4 KiB parts merged three at a time: generations of merges.
    const QString path = file("text", generatedLines(9, 20000));
    for (const bool unique : {false, true}) {
        const QString out = dir.filePath("out");
        {
            wordloom::cli::ChunkedInput input({path.toStdString()}, 4096);
            wordloom::cli::OutputFile output(out.toStdString());
            wordloom::cli::ExternalSortJob job;
            job.unique = unique;
            job.temporaryDirectory = temporary.path().toStdString();
            job.bufferBytes = 1 << 20;
            job.mergeWidth = 3;
            SilentHost status;
            QByteArray first = input.next();
            wordloom::cli::sortExternally(input, std::move(first), job, status, output);
            output.commit();
        }
        EXPECT_EQ(readFile(out), runCli({unique ? "unique-lines" : "sort-lines", path}).out);
    }
}

TEST_F(CliExternalSort, TemporaryFilesHaveNoNameAndVanishOnInterrupt)
{
    QProcess p;
    p.start(QStringLiteral(WORDLOOM_CLI), {"sort-lines", "-S", "64K", "-T", temporary.path()});
    ASSERT_TRUE(p.waitForStarted());
    p.write(generatedLines(3, 40000)); // several parts, and the input stays open
    while (p.bytesToWrite() > 0) // the pipe is fed only while waiting
        ASSERT_TRUE(p.waitForBytesWritten(wordloom::testing::kPatienceMs)) << "timed out feeding the input";
    // The parts show as deleted files among the process's descriptors.
    const QString fds = QString("/proc/%1/fd").arg(p.processId());
    int deleted = 0;
    wordloom::testing::pollUntil([&] {
        deleted = 0;
        for (const QString &fd : QDir(fds).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
            char target[4096] = {};
            const QByteArray link = (fds + "/" + fd).toLocal8Bit();
            const ssize_t length = ::readlink(link.constData(), target, sizeof target - 1);
            const QByteArray name(target, std::max<ssize_t>(length, 0));
            deleted += name.startsWith(temporary.path().toLocal8Bit()) && name.endsWith(" (deleted)");
        }
        return deleted >= 2;
    });
    EXPECT_GE(deleted, 2);
    EXPECT_TRUE(entriesOf(temporary.path()).isEmpty());
    ::kill(pid_t(p.processId()), SIGTERM);
    ASSERT_TRUE(wordloom::testing::waitForExit(p));
    EXPECT_EQ(p.exitStatus(), QProcess::CrashExit);
    EXPECT_TRUE(entriesOf(temporary.path()).isEmpty());
}

TEST_F(CliExternalSort, NoSignalLeavesAPartBehind)
{
    // Killed after a varied number of parts and a varied while more: wherever
    // the signal lands, the folder stays empty.
    const QString path = file("text", generatedLines(5, 60000)); // seven parts
    const int endings[] = {SIGTERM, SIGINT, SIGHUP};
    std::mt19937 random(17);
    for (int run = 0; run < 50; ++run) {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        p.setReadChannel(QProcess::StandardError);
        p.start(QStringLiteral(WORDLOOM_CLI),
                {"sort-lines", "-S", "64K", "-T", temporary.path(), "--status", path});
        ASSERT_TRUE(p.waitForStarted());
        QByteArray statuses;
        while (statuses.count("Sorting part") < run % 5 + 1 && p.waitForReadyRead(wordloom::testing::kPatienceMs))
            statuses += p.readAll();
        ::usleep(useconds_t(random() % 3000)); // varies the moment; no outcome depends on it
        if (p.state() == QProcess::Running) // not reaped yet, so the number is still its own
            ::kill(pid_t(p.processId()), endings[run % 3]);
        ASSERT_TRUE(wordloom::testing::waitForExit(p)) << "run " << run;
        EXPECT_TRUE(entriesOf(temporary.path()).isEmpty()) << "run " << run;
    }
}

TEST(CliTempFiles, TheNamedWayLeavesNothingToASignal)
{
    // Where O_TMPFILE is missing, a part has a name from its creation to its
    // unlinking: a child does nothing else until a signal ends it.
    QTemporaryDir dir;
    const std::string directory = dir.path().toStdString();
    const int endings[] = {SIGTERM, SIGINT, SIGHUP};
    std::mt19937 random(29);
    for (int run = 0; run < 60; ++run) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            wordloom::cli::installTempFileCleanup();
            for (bool first = true;; first = false) {
                const int fd = wordloom::cli::openUnlinkedFile(directory);
                if (fd < 0)
                    ::_exit(1);
                ::close(fd);
                if (first && ::write(ready[1], "r", 1) != 1)
                    ::_exit(1);
            }
        }
        ::close(ready[1]);
        char byte = 0;
        EXPECT_EQ(::read(ready[0], &byte, 1), 1);
        ::close(ready[0]);
        ::usleep(useconds_t(random() % 1000));
        ::kill(child, endings[run % 3]);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == endings[run % 3]) << status;
        EXPECT_TRUE(entriesOf(dir.path()).isEmpty()) << "run " << run;
    }
}

TEST_F(CliExternalSort, FailuresLeaveNothingBehind)
{
    const QString kept = file("kept", "precious\n");
    // Invalid UTF-8 in the last part of the second file: named with its own offset.
    const QByteArray lines = generatedLines(4, 30000);
    const QString good = file("good", lines), bad = file("bad", lines + "\xFF\n");
    const CliRun invalid = runCli({"sort-lines", "-S64K", "-T", temporary.path(), "-o", kept, good, bad});
    EXPECT_EQ(invalid.exitCode, 1);
    EXPECT_EQ(invalid.err, "wordloom-cli: " + bad.toLocal8Bit() + ": not valid UTF-8 at byte offset "
                               + QByteArray::number(lines.size()) + "\n");
    EXPECT_EQ(readFile(kept), QByteArray("precious\n"));
    EXPECT_TRUE(entriesOf(temporary.path()).isEmpty());

    const CliRun nowhere = runCli({"sort-lines", "-S64K", "-T", "/no/such", good});
    EXPECT_EQ(nowhere.exitCode, 1);
    EXPECT_EQ(nowhere.err, "wordloom-cli: cannot create a temporary file in '/no/such': "
                           "No such file or directory\n");
    EXPECT_TRUE(nowhere.out.isEmpty());

    // sysfs refuses new files even to root: a directory no one may write.
    if (QFileInfo(QStringLiteral("/sys/kernel")).isDir()) {
        const CliRun readOnly = runCli({"sort-lines", "-S64K", "-T", "/sys", good});
        EXPECT_EQ(readOnly.exitCode, 1);
        EXPECT_EQ(readOnly.err, "wordloom-cli: cannot create a temporary file in '/sys': "
                                "Permission denied\n");
        EXPECT_EQ(runCli({"sort-lines", "-o", "/sys/sorted", good}).err,
                  "wordloom-cli: cannot write '/sys/sorted': Permission denied\n");
    }

    // The merged result goes out a block at a time from a thread of its own:
    // a write failing there (more than a block here) is still the command's.
    const QString large = file("large", generatedLines(5, 400000));
    const CliRun noRoom = runShell("$CLI sort-lines -S64K -T '" + temporary.path() + "' '" + large
                                   + "' > /dev/full");
    EXPECT_EQ(noRoom.exitCode, 1);
    EXPECT_EQ(noRoom.err, "wordloom-cli: cannot write standard output: No space left on device\n");
    EXPECT_TRUE(entriesOf(temporary.path()).isEmpty());

    // A temporary directory that takes no more: files limited to 100 blocks.
    const CliRun full = runShell("trap '' XFSZ; ulimit -f 100; $CLI sort-lines -S64K -T '"
                                 + temporary.path() + "' '" + good + "'");
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_EQ(full.err, "wordloom-cli: cannot write a temporary file in '" + temporary.path().toLocal8Bit()
                            + "': File too large\n");
    EXPECT_TRUE(full.out.isEmpty());
    EXPECT_TRUE(entriesOf(temporary.path()).isEmpty());
}

TEST(CliBufferSize, ReadLikeSortDashS)
{
    using wordloom::cli::parseBufferSize;
    EXPECT_EQ(parseBufferSize("10"), 10u * 1024);
    EXPECT_EQ(parseBufferSize("7b"), 7u);
    EXPECT_EQ(parseBufferSize("3M"), 3u << 20);
    EXPECT_EQ(parseBufferSize("256M"), std::size_t(256) << 20);
    EXPECT_EQ(parseBufferSize("2G"), std::size_t(2) << 30);
    for (const char *wrong : {"0", "0M", "", "M", "-1", "1.5M", "1X", "1MB", "99999999999999T"})
        EXPECT_THROW(parseBufferSize(wrong), wordloom::cli::UsageError) << wrong;

    EXPECT_EQ(runCli({"sort-lines", "--buffer-size=0"}, "x").exitCode, 2);
    EXPECT_EQ(runCli({"phrase-count", "-S", "1M"}, "x").exitCode, 2);
    EXPECT_EQ(runCli({"word-count", "-T", "/tmp"}, "x").exitCode, 2);
}

TEST(CliBufferSize, TheDefaultHeedsMemoryLimitsAndNoBufferIsBelowTheLeast)
{
    using namespace wordloom::cli;
    constexpr std::size_t MiB = std::size_t(1) << 20;
    const struct {
        MemoryBounds bounds;
        std::size_t buffer;
    } cases[] = {
        {{}, 256 * MiB},                          // nothing known
        {{8192 * MiB, 0, 0}, 2048 * MiB},         // a quarter of memory
        {{8192 * MiB, 300 * MiB, 0}, 75 * MiB},   // ulimit -v
        {{8192 * MiB, 0, 400 * MiB}, 100 * MiB},  // ulimit -d
        {{0, 600 * MiB, 200 * MiB}, 50 * MiB},    // the smaller limit
        {{8192 * MiB, 100 * 1024, 0}, kMinimumBufferSize},
    };
    for (const auto &c : cases)
        EXPECT_EQ(defaultBufferSize(c.bounds), c.buffer) << c.bounds.physicalMemory << " "
            << c.bounds.addressSpaceLimit << " " << c.bounds.dataLimit;
    EXPECT_EQ(workingBufferSize(1), kMinimumBufferSize);
    EXPECT_EQ(workingBufferSize(kMinimumBufferSize + 1), kMinimumBufferSize + 1);
    EXPECT_GE(workingBufferSize(0), kMinimumBufferSize);
}

TEST_F(CliExternalSort, TheDefaultBufferFitsAnAddressSpaceLimit)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizers' shadow memory does not fit an address-space limit";
#else
    // 60 MB sorted in memory would take about four times its size, more
    // than the 120 MB limit: the default buffer must send it through parts.
    QByteArray text = generatedLines(5, 20000);
    text = text.repeated(int(60'000'000 / text.size()));
    const QString path = file("text", text);
    const CliRun limited = runShell("ulimit -v 120000 && $CLI sort-lines --status -T '" + temporary.path()
                                    + "' '" + path + "' | md5sum");
    EXPECT_EQ(limited.exitCode, 0);
    EXPECT_TRUE(limited.err.contains("Merging...\nReady\n")) << limited.err.constData();
    const CliRun whole = runShell("$CLI sort-lines '" + path + "' | md5sum");
    EXPECT_EQ(limited.out, whole.out);

    // Threads take address space (each a stack of `ulimit -s`, 64 MiB here),
    // which such a limit counts: 24 MiB above the least limit at which the
    // program sorts a line at all, parts are sorted as ever, on one thread.
    const auto within = [](int kib, const QString &command) {
        return runShell("ulimit -s 65536 && ulimit -v " + QString::number(kib) + " && " + command);
    };
    int least = 16 << 10; // KiB, raised in steps of 4 MiB
    while (least < (1 << 20) && within(least, "echo a | $CLI sort-lines").exitCode != 0)
        least += 4 << 10;
    const QString small = file("small", generatedLines(6, 200000));
    const CliRun bounded = within(least + (24 << 10), "$CLI sort-lines -S 256K -T '" + temporary.path()
                                                          + "' '" + small + "'");
    EXPECT_EQ(bounded.exitCode, 0) << bounded.err.constData();
    EXPECT_EQ(bounded.out, runCli({"sort-lines", small}).out);
#endif
}

// Sorted runs of numbered lines in random order, merged `width` at a time.
TEST(CliRunMerge, EachLineIsWrittenOncePerGenerationAndComesOutInOrder)
{
    QTemporaryDir temporary;
    for (const std::size_t width : {2, 3, 16}) {
        for (const int count : {1, 2, 3, 4, 9, 10, 50, 81, 200}) {
            SCOPED_TRACE(testing::Message() << width << " " << count);
            std::mt19937 random{unsigned(count)};
            wordloom::cli::RunMerge merge(temporary.path().toStdString(), 1 << 20, width);
            QStringList all;
            std::size_t runBytes = 0;
            std::size_t written = 0;
            for (int r = 0; r < count; ++r) {
                QStringList lines;
                for (unsigned k = random() % 30; k > 0; --k)
                    lines << QString::number(random() % 100000);
                lines.sort(); // code-unit order
                auto run = std::make_unique<wordloom::cli::RunFile>(temporary.path().toStdString());
                for (const QString &line : lines) {
                    run->append(line);
                    runBytes += 4 + 2 * std::size_t(line.size());
                }
                run->finishWriting();
                all += lines;
                const std::size_t before = writtenByThisProcess();
                merge.add(std::move(run));
                written += writtenByThisProcess() - before;
            }
            QStringList merged;
            const std::size_t before = writtenByThisProcess();
            merge.finish([&](QStringView line) { merged << line.toString(); });
            written += writtenByThisProcess() - before;
            all.sort();
            EXPECT_EQ(merged, all);
            EXPECT_TRUE(merge.empty());
            // The generations below the last merge: ceil(log_width(count)) - 1.
            std::size_t generations = 0;
            for (std::size_t reach = width; reach < std::size_t(count); reach *= width)
                ++generations;
            EXPECT_LE(written, runBytes * generations);
        }
    }
    EXPECT_TRUE(entriesOf(temporary.path()).isEmpty());
}

TEST(CliChunkedInput, PiecesAreWholeLinesThatMakeUpTheText)
{
    QTemporaryDir dir;
    const QByteArray a = generatedLines(8, 3000), b = "no line end";
    writeFile(dir.filePath("a"), a);
    writeFile(dir.filePath("b"), b);
    const std::vector<std::string> names = {dir.filePath("b").toStdString(),
                                            dir.filePath("a").toStdString(),
                                            dir.filePath("b").toStdString()};
    const QByteArray whole = wordloom::cli::readInputFiles(names);
    EXPECT_EQ(whole, b + "\n" + a + b);
    for (const bool crLfOnly : {false, true}) {
        const QByteArray end = crLfOnly ? "\r\n" : "\n";
        qsizetype longestLine = 0;
        for (qsizetype from = 0, to; from < whole.size(); from = to + end.size()) {
            to = whole.indexOf(end, from);
            to = to < 0 ? whole.size() : to;
            longestLine = std::max(longestLine, to - from + end.size());
        }
        // Where a piece may end, looked for backwards as the plan looks.
        const auto lastEnd = [&](long long from, long long to) {
            const qsizetype at = whole.first(qsizetype(to)).lastIndexOf(end);
            return at < 0 || at + end.size() <= from ? from : at + end.size();
        };
        for (const qsizetype size : {1, 100, 4096, 100000}) {
            wordloom::cli::ChunkedInput input(names, size, crLfOnly ? wordloom::cli::PieceEnd::CrLf
                                                                         : wordloom::cli::PieceEnd::Lf);
            QByteArray joined;
            wordloom::cli::PlannedPiece planned;
            while (!input.atEnd()) {
                const QByteArray piece = input.next();
                // The plan, from the text's size alone, cuts where the reads
                // cut (a one-byte chunk meets the head read of a file's start,
                // which the plan does not follow).
                planned = wordloom::cli::plannedPiece(whole.size(), planned.end, planned.read, size, lastEnd);
                if (size > 1) {
                    EXPECT_EQ(planned.end, joined.size() + piece.size()) << size << crLfOnly;
                }
                joined += piece;
                if (!input.atEnd()) {
                    // Whole lines, about the size.
                    EXPECT_TRUE(piece.endsWith(end)) << size;
                    EXPECT_LE(piece.size(), size + 1 + longestLine);
                }
            }
            ASSERT_EQ(joined.size(), whole.size()) << size << crLfOnly;
            EXPECT_EQ(joined, whole) << size << crLfOnly;
        }
    }
}

} // namespace
