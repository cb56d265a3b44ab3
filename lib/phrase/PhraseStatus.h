#pragma once

#include "DecimalText.h"

#include <QString>

#include <cstdint>
#include <cstring>

namespace wordloom {

// A status text with a number in it ("Analyzing word 12", "Pruning 3 of 9"),
// posted millions of times: the digits are written over the old ones in
// place when their count stays the same, instead of building a new text.
class StatusNumber {
public:
    StatusNumber(const QString &before, const QString &after) : before_(before.size()), after_(after)
    {
        text_ = before;
    }

    const QString &show(std::uint64_t value)
    {
        if (value == shown_ && !text_.isEmpty())
            return text_;
        // The walk counts up and the pruning down, one at a time: the last
        // digits change in place unless the number of digits does.
        if ((value == shown_ + 1 && stepDigits(u'9', u'0', 1)) || (value + 1 == shown_ && stepDigits(u'0', u'9', -1))) {
            shown_ = value;
            return text_;
        }
        shown_ = value;
        char16_t buffer[24];
        const QStringView digits = decimalDigits(value, buffer);
        if (text_.size() != before_ + digits.size() + after_.size()) {
            text_.resize(before_);
            text_.append(digits);
            text_.append(after_);
        } else {
            std::memcpy(static_cast<void *>(text_.data() + before_), digits.utf16(), std::size_t(digits.size()) * sizeof(char16_t));
        }
        return text_;
    }

private:
    // Adds step to the shown digits: from the last digit on, `wraps` turns
    // into `into` and carries. False, with nothing changed, when the first
    // digit would carry or turn into a leading zero.
    bool stepDigits(char16_t wraps, char16_t into, int step)
    {
        if (text_.isEmpty())
            return false;
        char16_t *digits = reinterpret_cast<char16_t *>(text_.data()) + before_;
        qsizetype last = text_.size() - after_.size() - before_ - 1;
        qsizetype at = last;
        while (at >= 0 && digits[at] == wraps)
            --at;
        if (at < 0 || (at == 0 && last > 0 && step < 0 && digits[0] == u'1'))
            return false;
        digits[at] = char16_t(digits[at] + step);
        for (qsizetype k = at + 1; k <= last; ++k)
            digits[k] = into;
        return true;
    }

    qsizetype before_;
    QString after_;
    std::uint64_t shown_ = ~std::uint64_t(0);
    QString text_;
};

} // namespace wordloom
