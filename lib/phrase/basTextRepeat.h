#pragma once

#include "FrequencyTable.h"
#include "PhraseBudget.h"
#include "CommandHost.h"

#include <QString>

#include <cstddef>

namespace basTextRepeat {

// The most memory Phrase Count's result may take as UTF-16.
inline constexpr std::size_t kDefaultPhraseBudget = std::size_t(1) << 30;

// The order of the rows: that of the sorted "phrase - count" texts, or the
// final one of the command (ascending count, then phrase), which saves the
// table sort its work.
enum class RowOrder { PhraseThenCount, CountThenPhrase };

// The text Phrase Count searches: quotation apostrophes (one with a space
// before or after it) and grave accents after a space removed, then reduced
// to words and single spaces as by basLibString::KeepWordCharacters.
QString CleanForPhraseSearch(QString text);

// The phrases of two or more words that occur at least twice, with their
// counts, pruned of phrases that a longer one with the same count continues;
// empty when there are none. Posts "Cleaning...", "Analyzing word j" per
// candidate, "Sorting...", the pruning countdown, "Exporting..." and "Ready",
// testing Cancel after each post but the last: Cancelled when it found the
// request, the table untouched. Throws wordloom::CommandError as soon as the
// text is certain to be too repetitive: its list would take more than
// budgetBytes, or its walk more than workLimit counting steps.
wordloom::Outcome BuildPhraseFrequency(QString text, wordloom::CommandHost &host, wordloom::FrequencyTable &table,
                                       std::size_t budgetBytes = kDefaultPhraseBudget,
                                       RowOrder order = RowOrder::PhraseThenCount,
                                       std::uint64_t workLimit = wordloom::kDefaultPhraseWork);

} // namespace basTextRepeat
