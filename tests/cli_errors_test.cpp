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
using namespace Qt::StringLiterals;

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

TEST(CliErrors, ClosedStandardDescriptorsAreNeverReused)
{
    // A closed descriptor fails as closed, whatever the program opens later
    // (parts with -S, the input, the output's temporary file).
    QTemporaryDir dir, parts;
    QByteArray text;
    for (int i = 30000; i > 0; --i) {
        QByteArray word = QByteArray::number(i * 7919 % 30011); // digits as letters
        for (char &c : word)
            c = char(c - '0' + 'a');
        text += word + "\n";
    }
    writeFile(dir.filePath("text"), text);
    const QString cli = "$CLI sort-lines -S 64K -T '" + parts.path() + "' ";
    const QString file = "'" + dir.filePath("text") + "'";
    const QByteArray sorted = runCli({"sort-lines", dir.filePath("text")}).out;
    const QByteArray closedOut = "wordloom-cli: cannot write standard output: Bad file descriptor\n";
    const QByteArray closedIn = "wordloom-cli: cannot read standard input: Bad file descriptor\n";
    const struct {
        QString script;
        int exitCode;
        QByteArray out, err;
    } cases[] = {
        {"$CLI sort-lines " + file + " >&-", 1, {}, closedOut},
        {cli + file + " >&-", 1, {}, closedOut},
        {"$CLI sort-words -S 64K -T '" + parts.path() + "' " + file + " >&-", 1, {}, closedOut},
        {cli + "--status " + file + " 2>&-", 0, sorted, {}},
        {cli + "--status -o '" + dir.filePath("out") + "' " + file + " 2>&- >&-", 0, {}, {}},
        {cli + file + " <&-", 0, sorted, {}},
        {cli + "- <&-", 1, {}, closedIn},
        {"$CLI word-count <&-", 1, {}, closedIn},
    };
    for (const auto &c : cases) {
        const CliRun r = runShell(c.script);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.script.toStdString();
        EXPECT_EQ(r.out, c.out) << c.script.toStdString();
        EXPECT_EQ(r.err, c.err) << c.script.toStdString();
        EXPECT_TRUE(entriesOf(parts.path()).isEmpty()) << c.script.toStdString();
    }
    EXPECT_EQ(readFile(dir.filePath("out")), sorted);
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

namespace {

QByteArray utf16(const QString &text, bool bigEndian)
{
    QByteArray bytes;
    for (const QChar c : text) {
        const char high = char(c.unicode() >> 8), low = char(c.unicode() & 0xFF);
        bytes += bigEndian ? QByteArray{&high, 1} + QByteArray{&low, 1}
                           : QByteArray{&low, 1} + QByteArray{&high, 1};
    }
    return bytes;
}

} // namespace

TEST(CliInputFiles, Utf16IsRefusedAndALeadingUtf8MarkDropped)
{
    const QByteArray mark = "\xEF\xBB\xBF";
    const QString latin = QStringLiteral("hello world\n");
    const QString russian = QStringLiteral("\u041F\u0440\u0438\u0432\u0435\u0442 \u043C\u0438\u0440\n");
    const QByteArray refusal = ": the text is UTF-16, not UTF-8; convert it with 'iconv -f ";
    // Each file's bytes in turn; what reading them gives, or the message
    // naming the last file (its path stands for "@").
    const struct {
        QList<QByteArray> files;
        QByteArray text, error;
    } cases[] = {
        {{mark + "b\na\n"}, "b\na\n", {}},
        {{"a", mark + "c"}, "a\nc", {}},                 // each file's own mark
        {{mark, "z"}, "z", {}},                          // a mark alone is an empty file
        {{"x" + mark + "y"}, "x" + mark + "y", {}},      // only the very first bytes
        {{mark + QByteArray(5000, 'a') + "\xFF"}, {}, "@: not valid UTF-8 at byte offset 5003"},
        {{"one\0two three four\n"_ba}, "one\0two three four\n"_ba, {}}, // a stray NUL is UTF-8
        {{"\xFF\xFE" + utf16(latin, false)}, {}, "@" + refusal + "UTF-16 -t UTF-8'"},
        {{"\xFE\xFF" + utf16(latin, true)}, {}, "@" + refusal + "UTF-16 -t UTF-8'"},
        {{"ok\n", utf16(latin, false)}, {}, "@" + refusal + "UTF-16LE -t UTF-8'"},
        {{utf16(russian, false)}, {}, "@" + refusal + "UTF-16LE -t UTF-8'"},
        {{utf16(latin.repeated(500), true)}, {}, "@" + refusal + "UTF-16BE -t UTF-8'"},
        {{utf16(u"a"_s, false)}, {}, "@" + refusal + "UTF-16LE -t UTF-8'"},
    };
    QTemporaryDir dir;
    for (const auto &c : cases) {
        std::vector<std::string> names;
        for (const QByteArray &bytes : c.files) {
            names.push_back(dir.filePath(QString::number(names.size())).toStdString());
            writeFile(QString::fromStdString(names.back()), bytes);
        }
        const QByteArray error = QByteArray(c.error).replace("@", QByteArray::fromStdString(names.back()));
        // Read whole, and in pieces smaller and larger than the inspected start.
        for (const qsizetype size : {qsizetype(1), qsizetype(7), qsizetype(5000),
                                     wordloom::cli::ChunkedInput::kWhole}) {
            QByteArray joined;
            try {
                wordloom::cli::ChunkedInput input(names, size);
                while (!input.atEnd())
                    joined += input.next();
                EXPECT_TRUE(error.isEmpty()) << error.constData();
                EXPECT_EQ(joined, c.text) << size;
            } catch (const wordloom::cli::IoError &e) {
                EXPECT_EQ(QByteArray(e.what()), error) << size;
            }
        }
    }
    // Every command reads through the same door: standard input too.
    const QByteArray le = utf16(latin, false);
    for (const QStringList &command : {QStringList{"sort-lines"}, QStringList{"word-count"},
                                       QStringList{"sort-words", "-S", "1K"}, QStringList{"change-case"}}) {
        const CliRun refused = runCli(command, le);
        EXPECT_EQ(refused.exitCode, 1) << command.join(' ').toStdString();
        EXPECT_EQ(refused.err, "wordloom-cli: standard input" + refusal + "UTF-16LE -t UTF-8'\n");
        EXPECT_TRUE(refused.out.isEmpty());
        EXPECT_EQ(runCli(command, mark + "Tea tea\n").out, runCli(command, "Tea tea\n").out);
    }
}
