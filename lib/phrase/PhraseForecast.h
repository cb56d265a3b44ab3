#pragma once

#include "PhraseWalk.h"

#include <cstdint>
#include <functional>

namespace wordloom {

// What the walk of Phrase Count is certain to record, known from the suffix
// index before it starts: a phrase that begins at a word the walk reaches and
// occurs again later, without overlapping itself, is counted at least twice
// there, so it and each of its beginnings of two words or more are recorded.
// Every figure is a lower bound of the walk's own.
struct PhraseForecast {
    // Distinct phrases recorded.
    std::uint64_t phrases = 0;
    // Characters of the longest one.
    std::int64_t longestChars = 0;
    // Distinct first words among them: each needs a line of the list.
    std::uint64_t firstWords = 0;
};

// betweenPhases, if given, runs between its passes over the text and now
// and then during them, on the calling thread.
PhraseForecast forecastPhrases(const WalkText &text, const std::function<void()> &betweenPhases = {});

// Figures the forecast cannot exceed, from passes along the text and the
// suffix index in order: when even they would not stop the walk, the
// forecast is not worth its cost.
PhraseForecast forecastCeiling(const WalkText &text);

} // namespace wordloom
