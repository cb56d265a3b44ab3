#pragma once

// Sort Lines done on UTF-8 bytes as wordloom-mpi does it: the lines found in
// the bytes, sorted in the order of their UTF-16 forms, joined with CR LF
// and decoded, for comparison with the command on the decoded text.

#include "CodeUnitOrder.h"
#include "TextCodec.h"
#include "Utf8Lines.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace wordloom::testing {

inline QString sortedUtf8Lines(QByteArray bytes, bool raw)
{
    const std::vector<QByteArrayView> lines = ops::utf8Lines(bytes, raw, true);
    const std::vector<std::uint32_t> order = stableCodeUnitOrder(lines);
    QByteArray joined;
    for (std::size_t k = 0; k < order.size(); ++k)
        joined += (k > 0 ? "\r\n" : "") + lines[order[k]].toByteArray();
    return decodeUtf8(joined, false);
}

} // namespace wordloom::testing
