#pragma once

#include "SplitContext.h"

#include <QtGlobal>

namespace wordloom::mpi {

// The most bytes of its range a process sorts in memory for Sort Lines and
// Unique Lines within the buffer (-S): wordloom-cli's piece, from half the
// buffer when the lines are exchanged (their sent and arrived copies).
qsizetype linesInMemoryBytes(const Context &c);

// Sort Lines and Unique Lines when a range is larger than that (collective),
// as wordloom-cli sorts beyond its buffer: in rounds, every process reads a
// piece of its range, the pieces' lines go to the process of their range of
// keys (splitters from the first round's), and each sorts what came into a
// temporary run in -T; the runs are merged into the process's part, kept in
// a temporary file until it is written in order. [begin, end) is this
// process's range.
void sortLinesBeyondMemory(Context &c, bool unique, long long begin, long long end);

} // namespace wordloom::mpi
