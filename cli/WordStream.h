#pragma once

#include "DistinctWords.h"
#include "ExternalSort.h"
#include "InputFiles.h"
#include "OutputFile.h"
#include "CommandHost.h"

#include <QByteArray>
#include <QStringView>

#include <cstddef>
#include <functional>

namespace wordloom::cli {

// The size of the pieces the word commands read at a time within a buffer
// of bufferBytes: a sixteenth, so that a piece with its text and the copies
// of Sort Words' steps (seven times its bytes) stay under half of it beside
// the distinct words; at most 8 MiB, which keeps the reads quick.
qsizetype wordPieceBytes(std::size_t bufferBytes);

// The input's text handed to `take` a piece at a time, each decoded as the
// input pane would hold it; `first` is the piece already read. With pieces
// that end between words (PieceEnd::WordGap) this is how the CLI gives Word
// Count its text: only one piece is held at a time.
void forEachTextPiece(ChunkedInput &input, QByteArray first, bool raw,
                      const std::function<void(QStringView)> &take);

// The piece Sort Words and Unique Words read first, whole, to see whether
// the text fits in memory (the command takes about seven times its text).
qsizetype wordListFirstPieceBytes(std::size_t bufferBytes);

// How listWordsInPieces reads: each piece's words go into `words` (the
// first piece a word piece's size at a time), and `spill` is called each
// time they outgrow half the buffer.
void takeWordsInPieces(ChunkedInput &input, QByteArray first, const ExternalSortJob &job,
                       DistinctWords &words, const std::function<void()> &spill);

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
