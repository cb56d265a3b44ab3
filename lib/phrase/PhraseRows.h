#pragma once

#include "FrequencyTable.h"
#include "PhraseWalk.h"

#include <cstddef>
#include <vector>

namespace wordloom {

// The kept phrases of the record as table rows. record is in the pruner's
// order (count, then occurrences, then length), which is the order of
// ascending count and then binary order of the phrase; byCount keeps it,
// otherwise the rows come in binary order of their "phrase - count" texts.
// Throws CommandError when the rows would take more than budgetBytes.
FrequencyTable keptRows(const WalkText &text, const std::vector<RecordedPhrase> &record,
                        const std::vector<std::uint8_t> &kept, bool byCount, std::size_t budgetBytes);

} // namespace wordloom
