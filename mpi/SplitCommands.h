#pragma once

#include "Job.h"

#include "Options.h"

namespace wordloom::mpi {

// Whether the command can be split across processes with the result of the
// whole text (every command but Phrase Count).
bool splits(const cli::Options &options);

// Runs the command over the job's processes: each reads its range of the
// input, works on it with the commands' own routines, exchanges what the
// command needs across ranges, and the result goes out in order through
// process 0. Throws JobFailed on every process when any fails, and
// JobFailed(3, "") when Change Case finds no letter.
void runSplit(Job &job, const cli::Options &options);

} // namespace wordloom::mpi
