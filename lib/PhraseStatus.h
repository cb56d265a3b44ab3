#pragma once

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
        char16_t digits[24];
        int at = 24;
        do {
            digits[--at] = char16_t(u'0' + value % 10);
            value /= 10;
        } while (value > 0);
        const qsizetype count = 24 - at;
        if (text_.size() != before_ + count + after_.size()) {
            text_.resize(before_);
            text_.append(QStringView(digits + at, count));
            text_.append(after_);
        } else {
            std::memcpy(text_.data() + before_, digits + at, std::size_t(count) * sizeof(char16_t));
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
