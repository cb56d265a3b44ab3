#pragma once

#include <cstddef>
#include <string_view>

namespace wordloom::cli {

// SIZE as sort -S reads it: a whole number with an optional suffix b (bytes),
// K (the default), M, G or T, each 1024 times the one before. Throws
// UsageError for anything else or for 0.
std::size_t parseBufferSize(std::string_view text);

// A quarter of physical memory (256 MiB when it cannot be found).
std::size_t defaultBufferSize();

} // namespace wordloom::cli
