#pragma once

#include <QStringView>

#include <cstdint>
#include <span>
#include <vector>

namespace wordloom {

// Binary comparison: the first unequal pair of 16-bit code units decides by
// value (so a surrogate sorts before U+E000..U+FFFF); a prefix sorts first.
int compareCodeUnits(QStringView a, QStringView b);

// The stable ascending order of `items` by code units: entry k is the index of
// the item that goes to place k. Equal items keep their relative order.
// O(n log n) on short common prefixes; strings are only read, never copied.
std::vector<std::uint32_t> stableCodeUnitOrder(std::span<const QStringView> items);

} // namespace wordloom
