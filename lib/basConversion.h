#pragma once

#include <QString>

// Character codes as binary digits.
namespace basConversion {

// Each character's ANSI code as eight digits followed by one space.
QString TextToBinaryCodes(const QString &text);

} // namespace basConversion
