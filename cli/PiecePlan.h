#pragma once

#include <QtGlobal>

#include <functional>

namespace wordloom::cli {

// Where ChunkedInput cuts the pieces of a text read from regular files,
// worked out from the text's size and a search for the last place a piece
// may end, without holding the text: how wordloom-mpi knows where
// wordloom-cli would make its first runs. Offsets are in the whole text (the
// files joined as ChunkedInput joins them). Not followed: the 4 KiB that
// ChunkedInput reads at each file's start to look at its head; where that
// read reaches past a piece's window while the piece's line is longer than a
// chunk, ChunkedInput may cut earlier than planned.
struct PlannedPiece {
    long long end = 0;     // where the piece ends
    long long read = 0;    // how far the text has been read by then
    bool textRead = false; // its end was seen: nothing comes after the piece
};

// The last place in (from, to] where a piece may end; `from` when none.
using LastPieceEnd = std::function<long long(long long from, long long to)>;

// The piece from `from`, `read` bytes of the text of `size` having been read
// before it (0 for the first piece; then the previous piece's `read`).
PlannedPiece plannedPiece(long long size, long long from, long long read, qsizetype chunkBytes,
                          const LastPieceEnd &lastPieceEnd);

} // namespace wordloom::cli
