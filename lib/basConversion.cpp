#include "basConversion.h"

#include "AnsiCode.h"

#include <limits>
#include <stdexcept>

namespace basConversion {

namespace {

void writeBinary(int code, QChar *out)
{
    int remainder = code;
    for (int weight = 128; weight >= 1; weight /= 2) {
        if (weight > remainder) {
            *out++ = u'0';
        } else {
            *out++ = u'1';
            remainder -= weight;
        }
    }
}

constexpr qsizetype kGroupWidth = 9;

} // namespace

QString ByteToBinary(int code)
{
    QString digits(8, Qt::Uninitialized);
    writeBinary(code, digits.data());
    return digits;
}

QString TextToBinaryCodes(const QString &text)
{
    if (text.size() > std::numeric_limits<qsizetype>::max() / kGroupWidth)
        throw std::length_error("text too long for its binary listing");
    QString out(text.size() * kGroupWidth, Qt::Uninitialized);
    QChar *write = out.data();
    for (QChar c : text) {
        writeBinary(wordloom::ansiCode(c), write);
        write[8] = u' ';
        write += kGroupWidth;
    }
    return out;
}

} // namespace basConversion
