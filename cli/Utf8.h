#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdio>
#include <optional>

namespace wordloom::cli {

// Byte offset of the first byte that does not start a well-formed UTF-8
// sequence (overlong forms, surrogates and values above U+10FFFF included),
// or nothing when the whole buffer is valid.
std::optional<qsizetype> firstInvalidUtf8(const QByteArray &bytes);

// The UTF-8 byte-order mark, which a text file may begin with.
inline constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

// How a file that begins with these bytes is UTF-16, as iconv names the
// form that reads it ("UTF-16" with a byte-order mark, "UTF-16LE" or
// "UTF-16BE" without), or nullptr. Without a mark, NUL bytes tell: many at
// the positions of one parity (the high bytes of Latin text) and next to none
// at the others, which no UTF-8 text shows.
const char *utf16Form(QByteArrayView head);

// The text of well-formed UTF-8 (see firstInvalidUtf8), every LF that no CR
// precedes turned into CR LF when asked: what pasting into the input pane gives.
QString decodeUtf8(const QByteArray &bytes, bool lfToCrLf);

// Writes the text as UTF-8 block by block (a lone surrogate becomes "?"),
// each CR LF as LF when asked, so no second copy of the whole text is made.
// False when a write fails.
bool writeUtf8(std::FILE *out, QStringView text, bool crLfToLf);

} // namespace wordloom::cli
