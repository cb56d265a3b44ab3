#pragma once

#include "lib/CommandHost.h"
#include "FrequencyReport.h"

namespace wordloom::ops {

// Word Count after BeginOperation: every distinct word with its count, the
// rarest first, in a padded column; "Ready" or "Cancelled" at the end.
Outcome wordCount(CommandHost &host, const QString &groupSeparator = systemGroupSeparator());

} // namespace wordloom::ops
