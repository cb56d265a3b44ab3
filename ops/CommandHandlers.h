#pragma once

#include "CommandHost.h"
#include "basTextRepeat.h"

#include <cstddef>

// The ten commands as their buttons run them: inside the busy state, with
// Unique Lines and Unique Words running the others as nested steps. The
// window and the batch companion both run exactly these.
namespace wordloom::ops {

void runChangeCase(CommandHost &host);
void runCharactersOnly(CommandHost &host);
void runLettersOnly(CommandHost &host);
void runBinaryCodes(CommandHost &host);
void runSortLines(CommandHost &host);
void runSortWords(CommandHost &host);
// While it runs the input pane shows the sorted lines; the user's text waits
// in the save pane and goes back before the result is written.
void runUniqueLines(CommandHost &host);
// Sort Words, its list into the input pane, then Unique Lines on it.
void runUniqueWords(CommandHost &host);
void runWordCount(CommandHost &host);
void runPhraseCount(CommandHost &host, std::size_t budgetBytes = basTextRepeat::kDefaultPhraseBudget);

} // namespace wordloom::ops
