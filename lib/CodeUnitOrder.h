#pragma once

#include "BinaryOrder.h"

#include <QByteArrayView>
#include <QStringView>

#include <cstdint>
#include <span>
#include <vector>

namespace wordloom {

// The stable ascending order of `items` by code units: entry k is the index of
// the item that goes to place k. Equal items keep their relative order.
// O(n log n) on short common prefixes; strings are only read, never copied.
std::vector<std::uint32_t> stableCodeUnitOrder(std::span<const QStringView> items);
// The same order for items of valid UTF-8, as their UTF-16 forms would sort:
// a text's lines sorted without being decoded.
std::vector<std::uint32_t> stableCodeUnitOrder(std::span<const QByteArrayView> utf8Items);

} // namespace wordloom
