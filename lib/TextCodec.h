#pragma once

#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringView>

#include <optional>
#include <string>

// The one text codec: UTF-8 both ways, and code page 1252 both ways.
namespace wordloom {

// Byte offset of the first byte that does not start a well-formed UTF-8
// sequence (overlong forms, surrogates and values above U+10FFFF included),
// or nothing when the whole buffer is valid.
std::optional<qsizetype> firstInvalidUtf8(QByteArrayView bytes);

// The text of well-formed UTF-8 (see firstInvalidUtf8), every LF that no CR
// precedes turned into CR LF when asked: what pasting into the input pane gives.
QString decodeUtf8(QByteArrayView bytes, bool lfToCrLf);

// Writes the UTF-8 form of text[from, to) at `write` (room for three bytes a
// unit) and returns its end. A lone surrogate becomes "?", as in
// QString::toUtf8. With crLfToLf each CR before an LF is dropped. `size` is
// the whole text's, so a CR LF that `to` splits is seen; a caller that
// encodes in blocks ends them after whole surrogate pairs.
char *encodeUtf8(const char16_t *text, qsizetype from, qsizetype to, qsizetype size, bool crLfToLf,
                 char *write);
// Appends the UTF-8 form of text.
void appendUtf8(std::string &out, QStringView text);

int ansiCodeBeyondLatin1(char16_t unit);

// The character's code in code page 1252, or 63 ("?") for every character the
// code page lacks (its five undefined slots included). One UTF-16 code unit is
// one character, so each half of a surrogate pair yields 63.
inline int ansiCode(char16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return unit;
    return ansiCodeBeyondLatin1(unit);
}

inline int ansiCode(QChar c) { return ansiCode(c.unicode()); }

// The characters of bytes in code page 1252; its five unassigned codes stand
// for the control characters of the same number.
QString fromCodePage1252(QByteArrayView bytes);

} // namespace wordloom
