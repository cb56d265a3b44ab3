#include "TemporaryFolder.h"

#include "LinesBeyondMemory.h"

#include "BufferSize.h"
#include "CliErrors.h"
#include "PiecePlan.h"
#include "RunFile.h"
#include "WordStream.h"

#include <algorithm>

#include <sys/stat.h>

namespace wordloom::mpi {

namespace {

// wordloom-cli's piece from `from` of the input.
cli::PlannedPiece cliPiece(InputText &input, long long from, long long read, qsizetype chunkBytes, Boundary rule)
{
    return cli::plannedPiece(input.size(), from, read, chunkBytes,
                             [&](long long after, long long to) { return input.lastCut(after, to, rule); });
}

// Process 0 makes a run file in the folder and lets it go: an unusable
// folder is a failure at `position`, with wordloom-cli's message.
void tryFolder(Context &c, long long position)
{
    if (c.job.first())
        c.job.attempt([&] { cli::RunFile run(temporaryDirectory(c.options)); }, position);
}

} // namespace

bool sortLinesThroughFolder(Context &c, long long largestRange)
{
    const qsizetype chunkBytes = linesInMemoryBytes(c); // wordloom-cli's piece
    const Boundary rule = c.options.raw ? Boundary::AfterCrLf : Boundary::AfterLf;
    // Where wordloom-cli makes its first run: once its second piece is read.
    long long firstRunAt = -1; // -1: it sorts in memory
    if (c.job.first()) {
        const cli::PlannedPiece first = cliPiece(c.input, 0, 0, chunkBytes, rule);
        if (!first.textRead)
            firstRunAt = first.end == c.input.size() ? first.end
                                                     : cliPiece(c.input, first.end, first.read, chunkBytes, rule).end;
    }
    firstRunAt = c.job.allGather(firstRunAt).front();
    if (firstRunAt < 0)
        return false; // the whole text fits wordloom-cli's memory, so every range does
    tryFolder(c, firstRunAt);
    // A failure there ends the job once the text before it is checked: a
    // range that holds a failure is not read on.
    c.input.settleEarlyFailure();
    return largestRange > chunkBytes;
}

void checkFolderForWords(Context &c, std::size_t distinctBytes)
{
    const std::size_t buffer = cli::workingBufferSize(c.options.bufferSize);
    long long all = 0;
    for (const long long bytes : c.job.allGather((long long)distinctBytes))
        all += bytes;
    if (all <= (long long)(buffer / 2))
        return;
    long long pieces = 0;
    if (c.job.first())
        pieces = cliPiece(c.input, 0, 0, cli::wordListFirstPieceBytes(buffer), Boundary::WordGap).textRead
                     ? 0 : 1;
    if (c.job.allGather(pieces).front())
        tryFolder(c, Failure::kNowhere - 1);
}

namespace {

// Whether every input can be read again: no standard input, pipe or
// device (a missing file or a folder fails again as it failed).
bool readableAgain(const std::vector<std::string> &names)
{
    if (names.empty())
        return false;
    for (const std::string &name : names) {
        struct stat info {};
        if (name == "-" || (::stat(name.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)))
            return false;
    }
    return true;
}

} // namespace

void meetWordListFailureAsCli(Context &c)
{
    const long long failedAt = c.job.earliestFailure();
    if (failedAt >= Failure::kNowhere - 1 || !c.job.first() || !readableAgain(c.options.files))
        return; // none, or none of the input's; or only process 0 reads
    const std::string folder = temporaryDirectory(c.options);
    // Its failure, at -1, comes before any the ranges found.
    c.job.attempt([&] {
        try {
            cli::RunFile run(folder);
            return; // a usable folder: the input's failure stands
        } catch (const cli::IoError &) {
        }
        const std::size_t buffer = cli::workingBufferSize(c.options.bufferSize);
        cli::ChunkedInput input(c.options.files, cli::wordListFirstPieceBytes(buffer), cli::PieceEnd::WordGap);
        QByteArray first = input.next();
        if (input.atEnd())
            return; // wordloom-cli lists the words in memory
        input.setChunkBytes(cli::wordPieceBytes(buffer));
        cli::ExternalSortJob job;
        job.raw = c.options.raw;
        job.bufferBytes = buffer;
        cli::DistinctWords words;
        cli::takeWordsInPieces(input, std::move(first), job, words, [&] { cli::RunFile run(folder); });
    }, -1);
}

} // namespace wordloom::mpi
