#include "ChangeCase.h"

#include "CaseConversion.h"
#include "basLibString.h"

namespace wordloom::ops {

namespace {
std::optional<QString> convertByFirstAsciiLetter(const QString &input, QStringView scanned)
{
    for (QChar c : scanned) {
        const char16_t u = c.unicode();
        if (u >= u'A' && u <= u'Z')
            return lowerCase(input);
        if (u >= u'a' && u <= u'z')
            return upperCase(input);
    }
    return std::nullopt;
}
} // namespace

void changeCase(CommandHost &host)
{
    host.showStatus(QStringLiteral("Casing..."));
    const QString input = host.inputText();
    const QStringView trimmed = basLibString::TrimSpaces(input);
    host.setWorkText(trimmed.toString());
    if (auto result = convertByFirstAsciiLetter(input, trimmed))
        host.setResultText(*result);
    host.showStatus(QStringLiteral("Ready"));
}

} // namespace wordloom::ops
