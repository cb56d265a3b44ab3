#pragma once

#include "CommandHost.h"
#include "FrequencyReport.h"
#include "basTextRepeat.h"

namespace wordloom::ops {

// Phrase Count's steps up to the table sort: the rows in their final order
// into `table`, empty when no phrase repeats (nothing posted after the walk's
// "Ready" then). Cancelled when a cancel test found the request ("Cancelled"
// already posted). For hosts that write the rows themselves, e.g. as UTF-8
// with writeFrequencyTableUtf8, without the padded text in memory.
Outcome phraseCountTable(CommandHost &host, FrequencyTable &table,
                         std::size_t budgetBytes = basTextRepeat::kDefaultPhraseBudget);

// Phrase Count after BeginOperation: the lowercased, dehyphenated text goes to
// the work pane; the repeated phrases with their counts, the rarest first, go
// to the result pane (emptied when there are none). Throws CommandError when
// the text is too repetitive for budgetBytes.
Outcome phraseCount(CommandHost &host, const QString &groupSeparator = systemGroupSeparator(),
                    std::size_t budgetBytes = basTextRepeat::kDefaultPhraseBudget);

} // namespace wordloom::ops
