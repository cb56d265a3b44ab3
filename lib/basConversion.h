#pragma once

#include <QString>

// Character codes as binary digits.
namespace basConversion {

// Eight digits, most significant first: 256 and above give all ones,
// negative codes all zeros.
QString ByteToBinary(int code);

// Each character's ANSI code as eight digits followed by one space.
QString TextToBinaryCodes(const QString &text);

} // namespace basConversion
