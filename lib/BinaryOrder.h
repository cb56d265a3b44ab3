#pragma once

#include <QStringView>

#include <string_view>

namespace wordloom {

// Binary order of raw 16-bit code units, a prefix before the longer string.
// QString's own operators are not used for ordering so that the order never
// depends on how a Qt version treats surrogate pairs.
inline std::u16string_view codeUnits(QStringView text)
{
    return {reinterpret_cast<const char16_t *>(text.utf16()), size_t(text.size())};
}

inline int compareCodeUnits(QStringView a, QStringView b)
{
    return codeUnits(a).compare(codeUnits(b));
}

inline bool codeUnitsLess(QStringView a, QStringView b)
{
    return codeUnits(a) < codeUnits(b);
}

} // namespace wordloom
