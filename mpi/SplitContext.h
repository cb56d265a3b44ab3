#pragma once

#include "InputText.h"
#include "Job.h"
#include "OrderedOutput.h"

#include "Options.h"

#include <mpi.h>

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
