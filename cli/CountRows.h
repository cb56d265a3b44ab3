#pragma once

#include "lib/FrequencyTable.h"
#include "lib/CommandHost.h"

#include <string_view>

namespace wordloom::cli {

// The rows that word-count or phrase-count list, in their order, before the
// window's padded layout: the same steps and status texts as the commands up
// to their sort, then "Ready". Phrase Count keeps its memory guard.
FrequencyTable countRows(std::string_view command, CommandHost &host);

// word-count's rows from its table of distinct words on: "Sorting", the
// order, "Ready".
FrequencyTable orderedWordRows(FrequencyTable table, CommandHost &host);

} // namespace wordloom::cli
