#pragma once

#include "SplitContext.h"

#include <cstddef>

namespace wordloom::mpi {

// The temporary folder (-T, else $TMPDIR, else /tmp) is needed exactly where
// wordloom-cli needs it, so that a missing or read-only one fails the job
// where, and as, it fails wordloom-cli. wordloom-cli needs it only for a text
// it reads in more than one piece: Sort Lines and Unique Lines always then,
// Sort Words and Unique Words when their distinct words outgrow half the
// buffer. Where it would, process 0 first makes and drops a file there as
// wordloom-cli makes its runs; where it would not, the job works in memory.

// Sort Lines and Unique Lines (collective): whether the ranges are sorted
// through the folder, which is only where wordloom-cli's would be and some
// range is larger than linesInMemoryBytes(). An unusable folder is a
// failure after wordloom-cli's second piece, where it makes its first run.
bool sortLinesThroughFolder(Context &c, long long largestRange);

// Sort Words and Unique Words, once each distinct word is with the process
// owning it (collective): `distinctBytes` is what this process's distinct
// words take as wordloom-cli counts them (cli::DistinctWords::bytes()).
void checkFolderForWords(Context &c, std::size_t distinctBytes);

// Sort Words and Unique Words once the text before the earliest failure is
// read (collective): when that failure is the input's and the folder is
// unusable, wordloom-cli fails at whichever it meets first, the folder (its
// first run, once its distinct words outgrow half the buffer) or the input.
// Process 0 finds which by reading the files again as wordloom-cli reads
// them; a stream, read once, keeps the input's failure.
void meetWordListFailureAsCli(Context &c);

} // namespace wordloom::mpi
