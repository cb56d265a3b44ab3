#pragma once

#include <QString>

#include <cstdint>

// The program's one word scanner. It keeps its text and position between
// calls, so one scan runs across many calls.
namespace basNextWord {

// With a non-empty text: starts a scan of it (runs of spaces become one space,
// the ends are trimmed, one space is appended) and returns "".
// With an empty text: the next word of the scan, or "" once it is exhausted.
QString NextWord(const QString &text);

// 1-based position in the scanned text where the next word begins; 0 before
// the first scan.
std::int64_t NextWordPosition();

} // namespace basNextWord
