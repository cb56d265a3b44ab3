#pragma once

#include "FrequencyTable.h"
#include "ops/CommandHost.h"

#include <QString>

#include <cstddef>
#include <optional>

namespace basTextRepeat {

// Memory Phrase Count may use for its record and its rows before it gives up.
inline constexpr std::size_t kDefaultPhraseBudget = std::size_t(1) << 30;

// The phrases of two or more words that occur at least twice, with their
// counts, pruned of phrases that a longer one with the same count continues;
// empty when there are none. Posts "Cleaning...", "Analyzing word j" per
// candidate, "Sorting...", the pruning countdown, "Exporting..." and "Ready",
// testing Cancel after each post but the last: nothing when it found the
// request. Throws wordloom::CommandError when the text is too repetitive for
// budgetBytes.
std::optional<wordloom::FrequencyTable> BuildPhraseFrequency(const QString &text,
                                                             wordloom::CommandHost &host,
                                                             std::size_t budgetBytes = kDefaultPhraseBudget);

} // namespace basTextRepeat
