#pragma once

#include <QString>

#include <functional>

// Character codes as binary digits.
namespace basConversion {

// Each character's ANSI code as eight digits followed by one space.
// `between` runs between slices of a long text (the window stays
// responsive there); it sees nothing of the work.
QString TextToBinaryCodes(const QString &text, const std::function<void()> &between = {});

} // namespace basConversion
