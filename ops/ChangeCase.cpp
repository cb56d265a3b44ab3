#include "ChangeCase.h"

namespace wordloom::ops {

namespace {
// Spaces only: tabs and line breaks are not trimmed, and spaces are never letters.
QStringView trimSpaces(QStringView text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin);
}

std::optional<QString> convertByFirstAsciiLetter(const QString &input, QStringView scanned)
{
    for (QChar c : scanned) {
        const char16_t u = c.unicode();
        if (u >= u'A' && u <= u'Z')
            return input.toLower();
        if (u >= u'a' && u <= u'z')
            return input.toUpper();
    }
    return std::nullopt;
}
} // namespace

std::optional<QString> changeCaseText(const QString &input)
{
    return convertByFirstAsciiLetter(input, trimSpaces(input));
}

void changeCase(CommandHost &host)
{
    host.showStatus(QStringLiteral("Casing..."));
    const QString input = host.inputText();
    const QStringView trimmed = trimSpaces(input);
    host.setWorkText(trimmed.toString());
    if (auto result = convertByFirstAsciiLetter(input, trimmed))
        host.setResultText(*result);
    host.showStatus(QStringLiteral("Ready"));
}

} // namespace wordloom::ops
