#pragma once

#include "ExternalSort.h"
#include "InputFiles.h"
#include "OutputFile.h"
#include "CommandHost.h"
#include "FrequencyTable.h"

#include <QByteArray>

#include <cstddef>

namespace wordloom::cli {

// The size of the pieces the word commands read at a time within a buffer
// of bufferBytes: a sixteenth, so that a piece with its text and the copies
// of Sort Words' steps (seven times its bytes) stay under half of it beside
// the distinct words; at most 8 MiB, which keeps the reads quick.
qsizetype wordPieceBytes(std::size_t bufferBytes);

// Word Count's table of distinct words, with its status posts, counted a
// piece at a time (pieces that end between words: PieceEnd::WordGap). `first`
// is the piece already read. Only the distinct words are kept.
FrequencyTable countWordsInPieces(ChunkedInput &input, QByteArray first, bool raw,
                                  CommandHost &host);

// Sort Words (job.unique false) or Unique Words (true) on an input larger than
// the buffer, a piece at a time (PieceEnd::WordGap). A piece's words are the
// command's: hyphen line breaks joined, runs of A-Z and a-z. Only the distinct
// words are kept, with their counts; when they outgrow half the buffer they
// go sorted to a temporary run ("Sorting part N...") and the runs are merged
// ("Merging..."). The result is the command's, byte for byte: every word once
// per occurrence, each followed by CR LF, or each distinct word once, CR LF
// between them.
void listWordsInPieces(ChunkedInput &input, QByteArray first, const ExternalSortJob &job,
                       CommandHost &status, OutputFile &output);

} // namespace wordloom::cli
