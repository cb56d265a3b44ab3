#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <span>
#include <vector>

namespace wordloom::ops {

// The lines of a range of valid UTF-8 as Sort Lines sees them in the text
// the range decodes to, without decoding it: split at each LF, which the
// decoded text ends with CR LF, dropping a CR just before it (with `raw`,
// split only at CR LF, as the bytes stand); tabs made spaces in `bytes`
// itself; leading spaces removed. A range that ends before the text's end
// ends with a line break, whose empty last piece is not a line. The views
// point into `bytes`.
std::vector<QByteArrayView> utf8Lines(QByteArray &bytes, bool raw, bool endsText);

// Sorted lines stand anywhere in memory: read in sorted order, the views and
// then the bytes of the lines a few places after k are fetched ahead, so
// that the misses overlap.
inline void prefetchAhead(std::span<const QByteArrayView> lines, std::span<const std::uint32_t> order, std::size_t k)
{
    if (k + 16 < order.size())
        __builtin_prefetch(&lines[order[k + 16]]);
    if (k + 8 < order.size())
        __builtin_prefetch(lines[order[k + 8]].data());
}

} // namespace wordloom::ops
