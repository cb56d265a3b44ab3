#pragma once

#include "InputFiles.h"
#include "OutputFile.h"
#include "lib/CommandHost.h"

#include <QByteArray>

#include <cstddef>
#include <string>

namespace wordloom::cli {

struct ExternalSortJob {
    bool unique = false;         // unique-lines instead of sort-lines
    bool raw = false;            // --raw: no line breaks converted
    bool crLfToLf = true;        // how the result is written
    std::string temporaryDirectory;
    std::size_t bufferBytes = 0; // bounds the working memory
    std::size_t mergeWidth = 128; // more runs than this are merged in rounds
};

// The input's text as a piece of at most this many bytes is sorted in memory
// within job.bufferBytes.
qsizetype externalSortChunkBytes(std::size_t bufferBytes);

// Sort Lines or Unique Lines on an input larger than the buffer: each piece
// of whole lines is sorted as the command sorts (tabs, leading spaces, stable
// binary order) into a temporary run, and the runs are merged, ties to the
// earlier run, so the result is the command's, byte for byte. `first` is the
// piece already read. The runs have no names and vanish with the process.
void sortExternally(ChunkedInput &input, QByteArray first, const ExternalSortJob &job,
                    CommandHost &status, OutputFile &output);

} // namespace wordloom::cli
