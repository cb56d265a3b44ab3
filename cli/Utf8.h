#pragma once

#include "TextCodec.h"

#include <QByteArrayView>
#include <QStringView>

#include <cstdio>

// The CLI's side of the text codec (lib's TextCodec): the marks of a file's
// encoding, and UTF-8 written to a stream.
namespace wordloom::cli {

using wordloom::decodeUtf8;
using wordloom::firstInvalidUtf8;

// The UTF-8 byte-order mark, which a text file may begin with.
inline constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

// How a file that begins with these bytes is UTF-16, as iconv names the
// form that reads it ("UTF-16" with a byte-order mark, "UTF-16LE" or
// "UTF-16BE" without), or nullptr. Without a mark, NUL bytes tell: many at
// the positions of one parity (the high bytes of Latin text) and next to none
// at the others, which no UTF-8 text shows.
const char *utf16Form(QByteArrayView head);

// Writes the text as UTF-8 block by block (a lone surrogate becomes "?"),
// each CR LF as LF when asked, so no second copy of the whole text is made.
// False when a write fails.
bool writeUtf8(std::FILE *out, QStringView text, bool crLfToLf);

} // namespace wordloom::cli
