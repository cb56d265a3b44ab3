#include "CaseConversion.h"

namespace wordloom {

namespace {
bool allAscii(const QString &text)
{
    const char16_t *units = reinterpret_cast<const char16_t *>(text.utf16());
    char16_t any = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        any |= units[i];
    return any < 0x80;
}

// In ASCII the two mappings are the letters' ranges, one apart by 32.
QString shiftedLetters(QString text, char16_t first, char16_t last)
{
    char16_t *units = reinterpret_cast<char16_t *>(text.data());
    for (qsizetype i = 0; i < text.size(); ++i)
        units[i] ^= char16_t(units[i] >= first && units[i] <= last) << 5;
    return text;
}
} // namespace

QString lowerCase(QString text)
{
    return allAscii(text) ? shiftedLetters(std::move(text), u'A', u'Z') : std::move(text).toLower();
}

QString upperCase(QString text)
{
    return allAscii(text) ? shiftedLetters(std::move(text), u'a', u'z') : std::move(text).toUpper();
}

} // namespace wordloom
