#pragma once

#include <QString>

#include <cstdint>

namespace wordloom {

// Appends the decimal digits of a non-negative value without a temporary
// string; status texts are built this way once per step of long loops.
inline void appendDecimal(QString &text, std::uint64_t value)
{
    char16_t digits[24];
    int at = 24;
    do {
        digits[--at] = char16_t(u'0' + value % 10);
        value /= 10;
    } while (value > 0);
    text.append(QStringView(digits + at, 24 - at));
}

} // namespace wordloom
