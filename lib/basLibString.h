#pragma once

#include <QString>
#include <QStringList>

// Word-level string helpers of the frequency commands.
namespace basLibString {

// Letters A-Z and a-z, digits, apostrophes and spaces stay; every other
// character becomes a space, and each run of spaces becomes one space.
// Leading and trailing spaces are not trimmed.
QString KeepWordCharacters(const QString &text);

// Whether KeepWordCharacters keeps this character as it is (the space aside):
// an ASCII letter, digit or apostrophe. Every character beyond ASCII has a
// code page 1252 code above 127, or "?", so none of them is one.
inline bool IsWordCharacter(char16_t unit)
{
    return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z') || (unit >= u'0' && unit <= u'9')
        || unit == u'\'';
}

// The text without the spaces (code 32 only) at its start and end.
QStringView TrimSpaces(QStringView text);


} // namespace basLibString
