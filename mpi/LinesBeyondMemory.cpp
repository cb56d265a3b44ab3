#include "LinesBeyondMemory.h"

#include "SampleSort.h"
#include "SpilledPart.h"

#include "BatchHost.h"

#include "BufferSize.h"
#include "ExternalSort.h"
#include "InputFiles.h"
#include "RunFile.h"
#include "RunMerge.h"

#include "CodeUnitOrder.h"
#include "SortLines.h"
#include "TextViews.h"

#include <cstdlib>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace wordloom::mpi {

namespace {

// Runs merged at a time, as wordloom-cli merges.
constexpr std::size_t kMergeWidth = 128;

// The lines of the next piece of [at, end) as the command sees them (tabs as
// spaces, leading spaces removed), as views into `text`. A piece that ends
// before the text's end ends with a line break, whose empty last piece is
// not a line.
Keys nextLines(Context &c, long long &at, long long end, qsizetype bytes, QString &text)
{
    const Boundary rule = c.options.raw ? Boundary::AfterCrLf : Boundary::AfterLf;
    text = ops::detab(cli::decodeInput(c.input.readPiece(at, end, bytes, rule), c.options.raw));
    Keys lines;
    lines.keys = ops::splitAtCrLf(text);
    if (at != c.input.size() && !lines.keys.empty())
        lines.keys.pop_back();
    ops::removeLeadingSpaces(lines.keys);
    return lines;
}

// The keys in order into a run; for Unique Lines without empty lines and
// repeats, which the merge would drop anyway.
std::unique_ptr<cli::RunFile> sortedRun(const Keys &lines, bool unique, const std::string &directory)
{
    const std::vector<std::uint32_t> order = stableCodeUnitOrder(lines.keys);
    auto run = std::make_unique<cli::RunFile>(directory);
    QStringView last;
    bool wrote = false;
    for (const std::uint32_t k : order) {
        const QStringView line = lines.keys[k];
        if (unique && (line.isEmpty() || (wrote && codeUnits(line) == codeUnits(last))))
            continue;
        run->append(line);
        last = line;
        wrote = true;
    }
    run->finishWriting();
    return run;
}

bool anyOf(bool mine)
{
    int any = mine ? 1 : 0, all = 0;
    MPI_Allreduce(&any, &all, 1, MPI_INT, MPI_LOR, MPI_COMM_WORLD);
    return all != 0;
}

} // namespace

qsizetype linesInMemoryBytes(const Context &c)
{
    // As in wordloom-cli, whatever the number of processes: the exchange
    // sends in rounds from small buffers, so a share's sort holds about what
    // wordloom-cli's piece holds, and the lines that came in.
    return cli::externalSortChunkBytes(cli::workingBufferSize(c.options.bufferSize));
}

namespace {

// One process sorts as wordloom-cli does: pieces two at a time on both cores
// (when it has them), the merge straight to the output.
void sortAlone(Context &c, bool unique, long long begin, long long end)
{
    cli::ExternalSortJob job;
    job.unique = unique;
    job.raw = c.options.raw;
    job.crLfToLf = c.crLfToLf;
    job.temporaryDirectory = temporaryDirectory(c.options);
    job.bufferBytes = cli::workingBufferSize(c.options.bufferSize);
    job.mergeWidth = kMergeWidth;
    const qsizetype pieceBytes = linesInMemoryBytes(c);
    const Boundary rule = c.options.raw ? Boundary::AfterCrLf : Boundary::AfterLf;
    c.job.attempt([&] {
        long long at = begin;
        // A failure of the input (recorded on the job) stops the sort before
        // anything is written.
        const auto next = [&] {
            QByteArray piece = c.input.readPiece(at, end, pieceBytes, rule);
            if (c.job.failingBefore(at))
                throw std::runtime_error("the input failed");
            return piece;
        };
        BatchHost quiet;
        QByteArray first = next();
        cli::sortExternally({[&] { return at >= end; }, next}, std::move(first), job, quiet, *c.output.file());
    });
    c.done = end - begin;
    c.step("Written");
    c.output.commit();
}

} // namespace

void sortLinesBeyondMemory(Context &c, bool unique, long long begin, long long end)
{
    if (c.job.size() == 1)
        return sortAlone(c, unique, begin, end);
    const std::size_t buffer = cli::workingBufferSize(c.options.bufferSize);
    const qsizetype pieceBytes = linesInMemoryBytes(c);
    const std::string directory = temporaryDirectory(c.options);
    std::optional<cli::RunMerge> runs;
    c.job.attempt([&] { runs.emplace(directory, buffer, kMergeWidth); });
    std::vector<QString> splitters;
    long long at = begin;
    // Every process takes part in every round until all are through.
    for (bool first = true; anyOf(at < end && !c.job.failing()); first = false) {
        QString text;
        Keys lines;
        const long long from = at;
        c.job.attempt([&] {
            if (at < end && !c.job.failing())
                lines = nextLines(c, at, end, pieceBytes, text);
        });
        if (first)
            splitters = chooseSplitters(c.job, lines);
        KeyRange range;
        c.job.attempt(
            [&] { range = exchangeByKey(c.job, std::move(lines), false, c.exchangeRoundBytes(), splitters); });
        lines = Keys();
        c.job.attempt([&] {
            if (!c.job.failing())
                runs->add(sortedRun(range.items, unique, directory));
        });
        range = KeyRange();
        text = QString(); // the lines that stayed here were views into it
        c.done += at - from;
        // A failure ends the job as soon as no earlier range can still hold
        // an earlier one, not after the last round.
        c.job.agreeOnceSettled(at < end && !c.job.failing() ? at : Failure::kNowhere);
    }
    c.step("Sorted");
    // Unique Lines keeps each distinct non-empty line once.
    QString lastKept;
    const auto merge = [&](auto &&add) {
        if (!runs->empty())
            runs->finish([&](QStringView line) {
                if (unique && (line.isEmpty() || line == lastKept))
                    return;
                if (unique)
                    lastKept = line.toString();
                add(line);
            });
    };
    std::optional<SpilledPart> part;
    bool holds = false;
    c.job.attempt([&] {
        part.emplace(directory, c.crLfToLf);
        merge([&](QStringView line) { part->add(line); });
        holds = !part->empty();
    });
    c.job.agree();
    const bool lastJoined = lastHolder(c.job, holds) == c.job.rank();
    c.job.attempt([&] { part->finish(holds && !lastJoined); });
    c.job.agree();
    c.output.writeSpilled(*part);
    c.step("Written");
    c.output.commit();
}

} // namespace wordloom::mpi
