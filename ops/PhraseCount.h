#pragma once

#include "CommandHost.h"
#include "FrequencyReport.h"
#include "lib/basTextRepeat.h"

namespace wordloom::ops {

// Phrase Count after BeginOperation: the lowercased, dehyphenated text goes to
// the work pane; the repeated phrases with their counts, the rarest first, go
// to the result pane (emptied when there are none). Throws CommandError when
// the text is too repetitive for budgetBytes.
Outcome phraseCount(CommandHost &host, const QString &groupSeparator = systemGroupSeparator(),
                    std::size_t budgetBytes = basTextRepeat::kDefaultPhraseBudget);

} // namespace wordloom::ops
