#pragma once

#include "FrequencyTable.h"
#include "CommandHost.h"

#include <QString>

namespace basLibWordFreq {

// One row per distinct word of the cleaned text, in order of first
// occurrence, with its count. Posts "Words: i" for each new word (i zero-based)
// and "Ready" at the end. A text without words gives the one row ("", 1).
wordloom::FrequencyTable BuildWordFrequency(const QString &text, wordloom::CommandHost &host);

} // namespace basLibWordFreq
