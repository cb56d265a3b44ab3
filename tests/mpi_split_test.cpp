// wordloom-mpi against wordloom-cli: every splittable command over a
// generated table of texts with the input's hostile pieces, on 1 to 4
// processes, must give the same bytes, exit status and message.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <fcntl.h>
#include <optional>
#include <random>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct Outcome {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// How the programs' standard streams are set up besides the pipes.
struct Streams {
    int closed = -1;                // a standard stream they start without
    const char *outputTo = nullptr; // standard output into this device
};

Outcome runProgram(const QString &program, const QStringList &args, const QString &dir, const QByteArray &input,
                   Streams streams = {})
{
    QProcess p;
    if (streams.outputTo)
        p.setStandardOutputFile(QString::fromLatin1(streams.outputTo));
    if (streams.closed >= 0)
        p.setChildProcessModifier([fd = streams.closed] { ::close(fd); });
    p.setWorkingDirectory(dir);
    // Processes on one machine talk through shared memory; Open MPI need
    // not look for networks (a third of each run's time), nor use a kernel
    // copy that containers forbid.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("OMPI_MCA_btl"), QStringLiteral("self,vader"));
    env.insert(QStringLiteral("OMPI_MCA_pml"), QStringLiteral("ob1"));
    env.insert(QStringLiteral("OMPI_MCA_btl_vader_single_copy_mechanism"), QStringLiteral("none"));
    // Open MPI's components keep what they allocate and are unloaded before
    // a leak report, so their frames have no name a suppression could match.
    if (env.contains(QStringLiteral("ASAN_OPTIONS")))
        env.insert(QStringLiteral("ASAN_OPTIONS"), env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":detect_leaks=0"));
    p.setProcessEnvironment(env);
    p.start(program, args);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(-1); // ctest's timeout bounds a hang
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

// mpirun with what Open MPI needs to run more processes than cores, and as
// root in a container.
QStringList launcher()
{
    QStringList args;
    QProcess version;
    version.start(QStringLiteral(WORDLOOM_MPIEXEC), {QStringLiteral("--version")});
    version.waitForFinished(-1);
    const QByteArray said = version.readAllStandardOutput();
    if (said.contains("Open MPI") || said.contains("OpenRTE")) {
        args << QStringLiteral("--oversubscribe");
        if (geteuid() == 0)
            args << QStringLiteral("--allow-run-as-root");
    }
    return args;
}

// Pieces the CLI's tests feed it: line breaks of every kind, tabs and leading
// spaces, hyphen line breaks, apostrophes and digits, characters beyond
// U+FFFF next to U+E000..U+FFFF, accents, duplicates.
const std::vector<QByteArray> kPieces = {
    "alpha", "Beta", "beta", "gamma", " ", "  ", "\t", "\n", "\n", "\r\n", "\r", "exam-\nple",
    "exam-\r\nple", "-\n", "don't", "R2D2", "42", "e\xcc\x81t\xc3\xa9", "\xf0\x9f\x98\x80", "\xee\x80\x80",
    "\xef\xbf\xbd", "zeta ", "  lead", "dup\ndup\n", ".", ",", "-", "Zebra apple",
};

QByteArray generated(unsigned seed, int pieces)
{
    std::mt19937 random(seed);
    QByteArray text;
    for (int k = 0; k < pieces; ++k)
        text += kPieces[random() % kPieces.size()];
    return text;
}

struct Case {
    const char *name;
    bool fails = false; // a failure of the input: one command per cut rule is enough
    std::vector<QByteArray> files; // written as f0, f1, ...; an empty list: standard input
    QByteArray input = {};         // standard input
    QStringList extraNames = {};   // names added after the files (missing ones, folders)
    bool beyondBuffer = false;     // run with the least buffer (-S) and temporary files in the folder (-T)
    Streams streams = {};
    bool namedPipe = false;        // the last file is a named pipe carrying its bytes
    bool inputToAll = false;       // standard input handed to every process, as srun hands it
    QString temporaryFolder = {};  // an unusable -T for the commands that take it, with the least buffer; only they run
};

// Standard input handed to every process as srun hands it: a named pipe
// each, fed a piece to each in turn, so that a process that leaves its pipe
// full stops the others' input too, and the run waits for ctest's timeout.
// (Open MPI 4.1's mpirun --stdin all hands them nothing.)
class InputToAll {
public:
    InputToAll(int processes, const QByteArray &bytes)
    {
        for (int k = 0; k < processes; ++k) {
            const QByteArray path = QFile::encodeName(dir_.filePath(QString::number(k)));
            EXPECT_EQ(::mkfifo(path.constData(), 0600), 0);
            // Opened for reading too, so that opening waits for no reader.
            pipes_.push_back(::open(path.constData(), O_RDWR | O_CLOEXEC));
        }
        feeder_ = std::thread([this, bytes] {
            constexpr qsizetype kPiece = 16384;
            for (qsizetype at = 0; at < bytes.size(); at += kPiece) {
                for (const int fd : pipes_)
                    (void)!::write(fd, bytes.constData() + at, std::size_t(std::min(kPiece, bytes.size() - at)));
            }
            for (const int fd : pipes_)
                ::close(fd);
        });
    }
    ~InputToAll() { feeder_.join(); }

    // The program and its arguments, run with the process's own pipe as
    // standard input.
    QStringList command(const QStringList &programAndArgs) const
    {
        return QStringList{QStringLiteral("sh"), QStringLiteral("-c"),
                           QStringLiteral("exec \"$@\" < \"$0/${OMPI_COMM_WORLD_RANK:-$PMI_RANK}\""), dir_.path()}
            + programAndArgs;
    }

private:
    QTemporaryDir dir_;
    std::vector<int> pipes_;
    std::thread feeder_;
};

// Feeds a named pipe once, as a writer at the other end would; the writer
// ends even when the program never opened the pipe.
class PipeFeeder {
public:
    PipeFeeder(const QString &path, const QByteArray &bytes)
        : path_(path.toStdString()), writer_([this, bytes] {
              const int fd = ::open(path_.c_str(), O_WRONLY);
              if (fd >= 0) {
                  (void)!::write(fd, bytes.constData(), std::size_t(bytes.size()));
                  ::close(fd);
              }
          })
    {
    }
    ~PipeFeeder()
    {
        const int unblock = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK);
        writer_.join();
        if (unblock >= 0)
            ::close(unblock);
    }

private:
    std::string path_;
    std::thread writer_;
};

// Distinct words of four letters, `perLine` to a line (0: one line).
QByteArray distinctWords(int count, int perLine)
{
    QByteArray text;
    for (int k = 0; k < count; ++k) {
        for (int n = k, i = 0; i < 4; ++i, n /= 26)
            text += char('a' + n % 26);
        text += perLine && (k + 1) % perLine == 0 ? '\n' : ' ';
    }
    return text;
}

std::vector<Case> cases()
{
    const QByteArray invalid = generated(7, 60) + "\n\xe2\x82\n" + generated(8, 60);
    // Larger than four processes' shares of the least buffer.
    const QByteArray large = generated(9, 90000);
    // Both larger than the piece of the least buffer that wordloom-cli sorts
    // in memory, with more distinct words than half the buffer holds: the
    // lines of the first need the temporary folder, those of the one long
    // line do not; the words of both do.
    const QByteArray manyLines = distinctWords(16000, 4), oneLine = distinctWords(40000, 0);
    return {
        {"empty", false, {""}, {}, {}},
        {"fewer bytes than processes", false, {"b\na"}, {}, {}},
        {"more processes than lines", false, {"b\r\na\r\n"}, {}, {}},
        {"no line break", false, {generated(3, 40).replace('\n', ' ').replace('\r', ' ')}, {}, {}},
        {"huge line", false, {QByteArray(6000, 'x') + " y\nb\n" + generated(4, 30)}, {}, {}},
        {"generated", false, {generated(1, 400)}, {}, {}},
        {"generated crlf", false, {generated(2, 300).replace("\r\n", "\n").replace("\n", "\r\n")}, {}, {}},
        {"several files", false, {"one exam-", "ple two\n", "", "b\r\n\ta", generated(5, 80)}, {}, {}},
        {"byte-order marks", false, {"\xEF\xBB\xBF" "b first\n", "\xEF\xBB\xBF", "x\n\xEF\xBB\xBFnot first"}, {}, {}},
        {"no letters", false, {"123 4\n\n--\n"}, {}, {}},
        {"invalid UTF-8 past the middle", true, {invalid}, {}, {}},
        {"invalid UTF-8 at a file's end", true, {"fine\n", "cut \xf0\x9f\x98", "later"}, {}, {}},
        {"UTF-16", true, {"a\n", QByteArray("\xFF\xFEh\0i\0", 6)}, {}, {}},
        {"missing file", true, {"a\n", "b"}, {}, {QStringLiteral("missing.txt")}},
        {"folder", true, {"a\n"}, {}, {QStringLiteral(".")}},
        {"invalid UTF-8 before a missing file", true, {"\xff bad\nfine\n"}, {}, {QStringLiteral("missing.txt")}},
        {"standard input", false, {}, generated(6, 120), {}},
        {"standard input to every process", false, {}, generated(13, 60000), {}, false, {}, false, true},
        {"beyond the buffer", false, {large, generated(10, 20000)}, {}, {}, true},
        // The first found, at the start of a later range, is not the first in the text.
        {"invalid UTF-8 beyond the buffer", true,
         {large.first(330000) + "\n\xff\n" + large.sliced(330000) + "\n\xe2\x82\n" + large}, {}, {}, true},
        // mpirun passes process 0's standard streams through its own.
        {"standard input closed", true, {"a\n"}, {}, {QStringLiteral("-")}, false, {0}},
        {"standard output closed", true, {generated(11, 50)}, {}, {}, false, {1}},
        {"standard output full", true, {generated(12, 50)}, {}, {}, false, {-1, "/dev/full"}},
        // Files that are read to their end, not to their size.
        {"a named pipe and a /proc file", false, {"b\nexam-", "pipe words\nzeta"}, {}, {QStringLiteral("/proc/sys/kernel/ostype")},
         false, {}, true},
        // A folder that cannot be used fails wordloom-mpi exactly where it fails wordloom-cli.
        {.name = "many lines, a missing temporary folder", .files = {manyLines}, .temporaryFolder = "missing/x"},
        {.name = "many lines, a temporary folder under a file", .files = {manyLines}, .temporaryFolder = "f0/x"},
        {.name = "one long line, a missing temporary folder", .files = {oneLine}, .temporaryFolder = "missing/x"},
        {.name = "one long line, a temporary folder under a file", .files = {oneLine}, .temporaryFolder = "f0/x"},
        // wordloom-cli meets the folder, at its first run, before the input's failure.
        {.name = "many words, then invalid UTF-8, a missing temporary folder", .files = {oneLine + "\n\xe2\x82\n"},
         .temporaryFolder = "missing/x"},
        {.name = "many words, then a missing file, a temporary folder under a file", .files = {manyLines},
         .extraNames = {QStringLiteral("missing.txt")}, .temporaryFolder = "f0/x"},
    };
}

const QStringList kCommands = {
    QStringLiteral("change-case"), QStringLiteral("characters-only"), QStringLiteral("letters-only"),
    QStringLiteral("binary-codes"), QStringLiteral("sort-lines"), QStringLiteral("unique-lines"),
    QStringLiteral("sort-words"), QStringLiteral("unique-words"), QStringLiteral("word-count"),
};

// What the program's name changes in a message.
QByteArray asCli(QByteArray err)
{
    return err.replace("wordloom-mpi", "wordloom-cli");
}

// The lines the program wrote, without the boxed notes Open MPI adds about a
// job that ended with a failure.
QByteArray ownLines(const QByteArray &err)
{
    QByteArray kept;
    bool boxed = false;
    for (const QByteArray &line : err.split('\n')) {
        if (line.startsWith("-----"))
            boxed = !boxed;
        else if (!boxed && !line.isEmpty())
            kept += line + '\n';
    }
    return kept;
}

// The table is dealt out by the number of processes each run takes, so that
// ctest can run the four shares side by side.
class MpiSplit : public testing::TestWithParam<int> {};

TEST_P(MpiSplit, SameBytesExitStatusAndMessageAsTheCli)
{
    const QString mpiexec = QStringLiteral(WORDLOOM_MPIEXEC);
    const QStringList mpirun = launcher();
    const std::vector<QStringList> variants = {
        {}, {QStringLiteral("--raw")}, {QStringLiteral("--crlf")}, {QStringLiteral("-o"), QStringLiteral("out.txt")},
    };
    int run = 0;
    for (const Case &c : cases()) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        QStringList names;
        for (std::size_t k = 0; k < c.files.size(); ++k) {
            names << QStringLiteral("f%1").arg(k);
            if (c.namedPipe && k + 1 == c.files.size()) {
                ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(names.back())).constData(), 0600), 0);
                continue;
            }
            QFile file(dir.filePath(names.back()));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.files[k]);
        }
        names += c.extraNames;
        for (const QString &command : kCommands) {
            if (c.fails && command != QLatin1String("change-case") && command != QLatin1String("sort-lines")
                && command != QLatin1String("word-count"))
                continue;
            const bool takesFolder = command.startsWith(QLatin1String("sort-")) || command.startsWith(QLatin1String("unique-"));
            if (!c.temporaryFolder.isEmpty() && !takesFolder)
                continue;
            // Each command meets the case on a different number of processes
            // and with different options, every combination over the table.
            const int processes = 1 + run % 4;
            if (processes != GetParam()) {
                ++run;
                continue;
            }
#ifdef WORDLOOM_SANITIZED
            // A sanitized process starts several times slower: a fifth of
            // the table, still every number of processes and every option.
            if (run % 5 != 0) {
                ++run;
                continue;
            }
#endif
            QStringList options = variants[std::size_t(run / 4 % variants.size())];
            if (command == QLatin1String("word-count") && run % 3 == 1)
                options << QStringLiteral("--format=csv");
            // The options where the commands take them: the others meet the
            // large text as it is.
            if (c.beyondBuffer && takesFolder)
                options << QStringLiteral("-T") << dir.path();
            if (!c.temporaryFolder.isEmpty())
                options << QStringLiteral("-T") << c.temporaryFolder << QStringLiteral("-S") << QStringLiteral("256K");
            if (c.beyondBuffer && (options.contains(QStringLiteral("-T")) || command == QLatin1String("word-count")))
                options << QStringLiteral("-S") << QStringLiteral("256K");
            ++run;
            SCOPED_TRACE(std::string(c.name) + ": " + command.toStdString() + " " + options.join(' ').toStdString()
                         + " on " + std::to_string(processes) + " processes");
            const QStringList args = QStringList{command} + options + names;
            // A named pipe carries its bytes once to each program.
            const auto runFed = [&](const QString &program, const QStringList &programArgs) {
                std::optional<PipeFeeder> feeder;
                if (c.namedPipe)
                    feeder.emplace(dir.filePath(names[qsizetype(c.files.size()) - 1]), c.files.back());
                return runProgram(program, programArgs, dir.path(), c.input, c.streams);
            };
            const Outcome cli = runFed(QStringLiteral(WORDLOOM_CLI), args);
            QByteArray expectedFile;
            bool expectFile = false;
            if (options.contains(QStringLiteral("out.txt"))) {
                QFile out(dir.filePath(QStringLiteral("out.txt")));
                expectFile = out.open(QIODevice::ReadOnly);
                expectedFile = out.readAll();
                QFile::remove(dir.filePath(QStringLiteral("out.txt")));
            }
            const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
            const QStringList program = QStringList{QStringLiteral(WORDLOOM_MPI)} + args;
            std::optional<InputToAll> toAll;
            if (c.inputToAll)
                toAll.emplace(processes, c.input);
            const Outcome mpi = toAll ? runProgram(mpiexec, mpirun + QStringList{QStringLiteral("-n"), QString::number(processes)}
                                                       + toAll->command(program),
                                                   dir.path(), QByteArray(), c.streams)
                                      : runFed(mpiexec, mpirun + QStringList{QStringLiteral("-n"), QString::number(processes)}
                                                        + program);
            EXPECT_EQ(mpi.exitCode, cli.exitCode);
            EXPECT_EQ(mpi.out, cli.out);
            EXPECT_EQ(ownLines(asCli(mpi.err)), cli.err);
            if (options.contains(QStringLiteral("out.txt"))) {
                QFile out(dir.filePath(QStringLiteral("out.txt")));
                EXPECT_EQ(out.open(QIODevice::ReadOnly), expectFile);
                EXPECT_EQ(out.readAll(), expectedFile);
                out.close();
                QFile::remove(dir.filePath(QStringLiteral("out.txt")));
            }
            // No temporary file outlives the job.
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
        }
    }
    // Phrase Count's walk cannot be split: refused, pointing to the CLI.
    if (GetParam() != 2)
        return;
    const Outcome refused = runProgram(mpiexec, mpirun + QStringList{QStringLiteral("-n"), QStringLiteral("2"),
                                                         QStringLiteral(WORDLOOM_MPI), QStringLiteral("phrase-count")},
                                   QDir::tempPath(), "a b a b\n");
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.out.isEmpty());
    EXPECT_TRUE(ownLines(refused.err).contains("wordloom-cli")) << refused.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Processes, MpiSplit, testing::Values(1, 2, 3, 4));

} // namespace
