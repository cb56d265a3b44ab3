#pragma once

#include "CommandHost.h"
#include "FrequencyReport.h"

namespace wordloom::ops {

// Word Count after BeginOperation: every distinct word with its count, the
// rarest first, in a padded column; "Ready" or "Cancelled" at the end. The
// text is counted as the host hands it over (CommandHost::readInputPieces).
Outcome wordCount(CommandHost &host, const QString &groupSeparator = systemGroupSeparator());

// Word Count from its table of distinct words on (the table as
// basLibWordFreq::WordTally gives it): the cancel test, "Sorting", the order,
// the padded column, the result and "Ready". For hosts that count the words
// themselves, in parts, and add up the parts' tables.
Outcome wordCountReport(FrequencyTable table, CommandHost &host,
                        const QString &groupSeparator = systemGroupSeparator());

} // namespace wordloom::ops
