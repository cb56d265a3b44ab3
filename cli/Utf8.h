#pragma once

#include <QByteArray>
#include <optional>

namespace wordloom::cli {

// Byte offset of the first byte that does not start a well-formed UTF-8
// sequence (overlong forms, surrogates and values above U+10FFFF included),
// or nothing when the whole buffer is valid.
std::optional<qsizetype> firstInvalidUtf8(const QByteArray &bytes);

} // namespace wordloom::cli
