#pragma once

#include <QString>

#include <cstdint>

namespace basPhraseCount {

// How often pattern occurs in text at or after the 1-based position start,
// each search resuming on the last character of the previous match (so two
// matches may share one character, e.g. the space between two phrases).
// Throws std::invalid_argument for a pattern shorter than two characters or a
// start below 1.
std::int64_t CountOccurrences(const QString &text, const QString &pattern, std::int64_t start);

} // namespace basPhraseCount
