#pragma once

#include <QByteArrayView>
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

// A byte of valid UTF-8 as it orders among the others when the text is
// compared by UTF-16 code units: the lead bytes of U+E000..U+FFFF (EE, EF)
// go above those of the characters beyond U+FFFF (F0..F4), whose surrogates
// come first in UTF-16. No other byte moves, and F5..FF never occur.
constexpr unsigned utf16OrderByte(unsigned char b)
{
    return b == 0xEE || b == 0xEF ? b + 7u : b;
}

// compareCodeUnits for valid UTF-8: the result the UTF-16 forms would give.
inline int compareUtf8InCodeUnitOrder(QByteArrayView a, QByteArrayView b)
{
    const qsizetype common = std::min(a.size(), b.size());
    const auto *pa = reinterpret_cast<const unsigned char *>(a.data());
    const auto *pb = reinterpret_cast<const unsigned char *>(b.data());
    qsizetype i = 0;
    for (; i + 8 <= common; i += 8) {
        std::uint64_t wa, wb;
        std::memcpy(&wa, pa + i, sizeof wa);
        std::memcpy(&wb, pb + i, sizeof wb);
        if (wa != wb)
            break;
    }
    for (; i < common; ++i) {
        if (pa[i] != pb[i])
            return utf16OrderByte(pa[i]) < utf16OrderByte(pb[i]) ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

} // namespace wordloom
