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

// Writes characters the way KeepWordCharacters keeps them, one at a time:
// a word character as it is, each run of other characters as one space.
// It may write into the text it reads, as it never writes ahead of it.
class WordCharacterWriter {
public:
    explicit WordCharacterWriter(char16_t *out) : begin_(out), out_(out) {}

    void put(char16_t unit)
    {
        if (IsWordCharacter(unit)) {
            *out_++ = unit;
            afterSpace_ = false;
        } else if (!afterSpace_) {
            *out_++ = u' ';
            afterSpace_ = true;
        }
    }

    qsizetype written() const { return out_ - begin_; }

private:
    char16_t *begin_;
    char16_t *out_;
    bool afterSpace_ = false;
};

// The text without the spaces (code 32 only) at its start and end.
QStringView TrimSpaces(QStringView text);


} // namespace basLibString
