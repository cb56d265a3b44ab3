#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace wordloom {

// The suffixes of text in ascending order, a suffix that is a prefix of
// another first. Values are below alphabet. Linear time and independent of
// how long the repeats are (induced sorting), which matters for a text that
// repeats itself: sorting by prefix doubling takes one pass per doubling of
// the longest repeat.
// `between`, if given, runs between stretches of about a million suffixes.
std::vector<std::uint32_t> sortSuffixes(const std::vector<std::uint32_t> &text, std::uint32_t alphabet,
                                        const std::function<void()> &between = {});

} // namespace wordloom
