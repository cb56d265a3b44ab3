#pragma once

#include "CommandHost.h"
#include "FrequencyTable.h"

namespace wordloom::ops {

// Orders a frequency table by count ascending, equal counts by binary order of
// the text; rows equal on both keys keep their order. Lets pending events run
// once, and tests Cancel once when the table was out of order (where a row
// exchange would have taken place); callers test Cancel again afterwards.
void SortA2ThenA1(FrequencyTable &table, CommandHost &host);

// The order SortA2ThenA1 establishes: true when a belongs before b.
bool countThenTextLess(const FrequencyRow &a, const FrequencyRow &b);

} // namespace wordloom::ops
