#pragma once

#include "InputText.h"
#include "Job.h"
#include "OrderedOutput.h"

#include "BufferSize.h"
#include "Options.h"

#include <mpi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace wordloom::mpi {

// What every split command works with.
struct Context {
    Job &job;
    const cli::Options &options;
    InputText &input;
    OrderedOutput &output;
    bool crLfToLf;
    long long done = 0; // this process's input bytes through the current step

    // What an exchange sends to each process a round: 64 MiB over all of
    // them, or a sixteenth of the buffer when that is less, and at least
    // 4 KiB.
    qsizetype exchangeRoundBytes() const
    {
        const auto all = qsizetype(std::min<std::size_t>(std::size_t(64) << 20,
                                                         cli::workingBufferSize(options.bufferSize) / 16));
        return std::max<qsizetype>(all / std::max(job.size() - 1, 1), 4096);
    }

    // Every process finishes a step together; process 0 tells how far the
    // input is through it.
    void step(const char *name)
    {
        const long long all = job.agree(done);
        if (!options.status)
            return;
        long long sent = job.bytesSent(), allSent = 0;
        MPI_Reduce(&sent, &allSent, 1, MPI_LONG_LONG, MPI_SUM, 0, MPI_COMM_WORLD);
        if (job.first())
            std::fprintf(stderr, "%s: %lld of %lld bytes, %lld bytes sent between processes\n", name, all,
                         input.size(), allSent);
    }
};

// Where temporary files go: -T, else $TMPDIR, else /tmp, as in wordloom-cli.
inline std::string temporaryDirectory(const cli::Options &options)
{
    const char *tmpdir = std::getenv("TMPDIR");
    return !options.temporaryDirectory.empty() ? options.temporaryDirectory
         : tmpdir && *tmpdir ? tmpdir : "/tmp";
}

// The process holding the last key of the result: the last that holds any
// (collective); -1 when none does.
inline int lastHolder(const Job &job, bool holds)
{
    const std::vector<long long> all = job.allGather(holds ? 1LL : 0LL);
    for (int k = job.size() - 1; k >= 0; --k)
        if (all[std::size_t(k)])
            return k;
    return -1;
}

} // namespace wordloom::mpi
