#pragma once

namespace wordloom::mpi {

// mpirun passes process 0's standard input and output through its own. When
// mpirun was started with either closed, it reuses the number for a pipe of
// its own, and process 0 would wait on it for ever (input) or write into
// nothing (output), where wordloom-cli fails with EBADF. Process 0 of a job
// started by mpirun on this machine calls this before any work: a stream the
// launcher lacks is closed here too (left open on /dev/null the wrong way
// round, as wordloom-cli leaves it), so the same failure follows; an output
// that is a device other than a terminal is written directly.
void mirrorLauncherStreams();

} // namespace wordloom::mpi
