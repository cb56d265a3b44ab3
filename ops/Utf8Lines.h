#pragma once

#include <QByteArray>
#include <QByteArrayView>

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

} // namespace wordloom::ops
