#include "PiecePlan.h"

#include <algorithm>

namespace wordloom::cli {

// ChunkedInput::next() reads on to chunkBytes past `from` (a read asks for a
// byte more than it needs, as from a regular file) and cuts at the last place
// the rule allows in the first chunkBytes + 1; without one it looks a chunk
// further at a time, reading a chunk more when it has looked at all it read,
// until the read finds the text's end and the rest comes whole.
PlannedPiece plannedPiece(long long size, long long from, long long read, qsizetype chunkBytes,
                          const LastPieceEnd &lastPieceEnd)
{
    if (size - from < chunkBytes)
        return {size, size, true};
    if (read - from < chunkBytes)
        read = std::min(size, from + chunkBytes + 1);
    long long looked = from, window = std::min(read, from + chunkBytes + 1);
    for (;;) {
        const long long cut = lastPieceEnd(looked, window);
        if (cut > looked)
            return {cut, read, false};
        looked = window;
        if (window < read) {
            window = std::min(read, window + chunkBytes);
            continue;
        }
        if (size < read + chunkBytes)
            return {size, size, true};
        const long long before = read;
        read = std::min(size, read + chunkBytes + 1);
        window = std::min(read, before + chunkBytes);
    }
}

} // namespace wordloom::cli
