#pragma once

#include <QStringView>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace wordloom {

// Binary order of raw 16-bit code units, a prefix before the longer string.
// QString's own operators are not used for ordering so that the order never
// depends on how a Qt version treats surrogate pairs.
inline std::u16string_view codeUnits(QStringView text)
{
    return {reinterpret_cast<const char16_t *>(text.utf16()), size_t(text.size())};
}

// The first unequal pair of units decides by value (so a surrogate sorts
// before U+E000..U+FFFF); a prefix sorts first.
inline int compareCodeUnits(QStringView a, QStringView b)
{
    const qsizetype common = std::min(a.size(), b.size());
    const char16_t *pa = a.utf16();
    const char16_t *pb = b.utf16();
    qsizetype i = 0;
    // Four units at a time while they agree; the first differing word names
    // the first differing unit (the lowest bits hold the first unit).
    for (; i + 4 <= common; i += 4) {
        std::uint64_t wa, wb;
        std::memcpy(&wa, pa + i, sizeof wa);
        std::memcpy(&wb, pb + i, sizeof wb);
        if (wa != wb) {
            i += std::countr_zero(wa ^ wb) / 16;
            return pa[i] < pb[i] ? -1 : 1;
        }
    }
    for (; i < common; ++i) {
        if (pa[i] != pb[i])
            return pa[i] < pb[i] ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

inline bool codeUnitsLess(QStringView a, QStringView b)
{
    return codeUnits(a) < codeUnits(b);
}

} // namespace wordloom
