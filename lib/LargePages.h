#pragma once

#include <cstddef>
#include <vector>

namespace wordloom {

// Asks the kernel to back a fresh, still untouched buffer with 2 MiB pages.
// Filling tens of megabytes page by page costs one fault per 4 KiB, as much
// as the work done on the text; with large pages it is one per 2 MiB. Only a
// hint: small buffers and systems without the feature are left as they are.
void adviseLargePages(void *data, std::size_t bytes);

// Reserves room for `count` elements in an empty vector, with that hint.
template <typename T>
void reserveLarge(std::vector<T> &items, std::size_t count)
{
    items.reserve(count);
    adviseLargePages(items.data(), count * sizeof(T));
}

} // namespace wordloom
