#pragma once

#include <cstddef>
#include <string_view>

namespace wordloom::cli {

// SIZE as sort -S reads it: a whole number with an optional suffix b (bytes),
// K (the default), M, G or T, each 1024 times the one before. Throws
// UsageError for anything else or for 0.
std::size_t parseBufferSize(std::string_view text);

// The least buffer: smaller sizes are raised to it, as sort raises its own.
// Below it the word commands' spilled parts would be so small that their
// count, and the files and merges they take, would swamp the work (the line
// sorts' parts are 64 KiB at least in any case).
inline constexpr std::size_t kMinimumBufferSize = std::size_t(256) << 10;

// What bounds the memory of this process, in bytes; 0 for no bound.
struct MemoryBounds {
    std::size_t physicalMemory = 0;
    std::size_t addressSpaceLimit = 0; // the soft RLIMIT_AS
    std::size_t dataLimit = 0;         // the soft RLIMIT_DATA
};
MemoryBounds currentMemoryBounds();

// A quarter of physical memory, and of the smaller soft limit on the address
// space and the data (256 MiB when none is known), never below the minimum.
std::size_t defaultBufferSize(const MemoryBounds &bounds);

// The buffer for a requested size (0: the default), raised to the minimum.
std::size_t workingBufferSize(std::size_t requested);

} // namespace wordloom::cli
