#pragma once

#include <QString>
#include <QStringList>

// Word-level string helpers of the frequency commands.
namespace basLibString {

// Letters A-Z and a-z, digits, apostrophes and spaces stay; every other
// character becomes a space, and each run of spaces becomes one space.
// Leading and trailing spaces are not trimmed.
QString KeepWordCharacters(const QString &text);

// Whether KeepWordCharacters keeps this character as it is (the space aside).
bool IsWordCharacter(char16_t unit);

// The text without the spaces (code 32 only) at its start and end.
QStringView TrimSpaces(QStringView text);


} // namespace basLibString
