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
        shown_ = value;
        char16_t buffer[24];
        const QStringView digits = decimalDigits(value, buffer);
        if (text_.size() != before_ + digits.size() + after_.size()) {
            text_.resize(before_);
            text_.append(digits);
            text_.append(after_);
        } else {
            std::memcpy(text_.data() + before_, digits.utf16(), std::size_t(digits.size()) * sizeof(char16_t));
        }
        return text_;
    }

private:
    qsizetype before_;
    QString after_;
    std::uint64_t shown_ = ~std::uint64_t(0);
    QString text_;
};

} // namespace wordloom
