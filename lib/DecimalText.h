#pragma once

#include <QString>

#include <cstdint>

namespace wordloom {

// The decimal digits of a non-negative value, written at the end of `buffer`.
inline QStringView decimalDigits(std::uint64_t value, char16_t (&buffer)[24])
{
    int at = 24;
    do {
        buffer[--at] = char16_t(u'0' + value % 10);
        value /= 10;
    } while (value > 0);
    return QStringView(buffer + at, 24 - at);
}

// Appends the decimal digits of a non-negative value without a temporary
// string; status texts are built this way once per step of long loops.
inline void appendDecimal(QString &text, std::uint64_t value)
{
    char16_t buffer[24];
    text.append(decimalDigits(value, buffer));
}

} // namespace wordloom
