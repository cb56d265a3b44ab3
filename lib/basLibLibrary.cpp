#include "basLibLibrary.h"

#include "TextCodec.h"
#include "CodeUnitOrder.h"

#include <array>
#include <vector>

namespace basLibLibrary {

namespace {

constexpr char16_t kRejected = 0xFFFF;

bool isKept(int code, bool lettersOnly)
{
    if (lettersOnly)
        return (code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z') || code == ' ';
    return code >= 32 && code <= 126;
}

// What each character becomes: the character of its ANSI code when that code
// is kept, kRejected otherwise. Characters from U+0100 on share one answer
// (their codes are 63 or at least 128), so 256 entries and one more suffice.
struct KeptTable {
    std::array<char16_t, 257> entry{};
    explicit KeptTable(bool lettersOnly)
    {
        for (char16_t u = 0; u < 256; ++u) {
            const int code = wordloom::ansiCode(u);
            entry[u] = isKept(code, lettersOnly) ? char16_t(code) : kRejected;
        }
        entry[256] = isKept('?', lettersOnly) ? u'?' : kRejected;
    }
    char16_t operator()(char16_t u) const
    {
        if (u < 256)
            return entry[u];
        return wordloom::ansiCode(u) == '?' ? entry[256] : kRejected;
    }
};

const KeptTable &keptTable(bool lettersOnly)
{
    static const KeptTable letters(true), printable(false);
    return lettersOnly ? letters : printable;
}

} // namespace

QString FilterText(const QString &text, const QString &replacement, bool lettersOnly)
{
    // A replacement of at most one character never outgrows the input's
    // length; a longer one is counted first, so the buffer is allocated once
    // with room for everything written, kept characters included.
    const KeptTable &kept = keptTable(lettersOnly);
    const char16_t *read = reinterpret_cast<const char16_t *>(text.constData());
    const char16_t *const end = read + text.size();
    const qsizetype r = replacement.size();
    qsizetype capacity = text.size();
    if (r > 1) {
        for (const char16_t *p = read; p != end; ++p)
            capacity += (kept(*p) == kRejected) * (r - 1);
    }
    QString out(capacity, Qt::Uninitialized);
    char16_t *write = reinterpret_cast<char16_t *>(out.data());
    const char16_t *with = reinterpret_cast<const char16_t *>(replacement.constData());
    const char16_t single = r == 1 ? with[0] : u' ';
    for (; read != end; ++read) {
        const char16_t c = kept(*read);
        if (c != kRejected)
            *write++ = c;
        else if (r == 1)
            *write++ = single;
        else
            write = std::copy(with, with + r, write);
    }
    out.truncate(write - reinterpret_cast<const char16_t *>(out.constData()));
    return out;
}

} // namespace basLibLibrary
