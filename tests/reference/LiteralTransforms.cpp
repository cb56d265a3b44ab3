#include "Literal.h"

namespace wordloom::reference {

namespace {
QString trimSpaces(QString text)
{
    while (text.startsWith(u' '))
        text.remove(0, 1);
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

void filterHandler(CommandHost &host, const QString &status, bool lettersOnly)
{
    host.showStatus(status);
    host.setResultText(filterText(host.inputText(), QStringLiteral(" "), lettersOnly));
    host.processEvents();
    host.showStatus(QStringLiteral("Ready"));
}
} // namespace

void changeCase(CommandHost &host)
{
    host.showStatus(QStringLiteral("Casing..."));
    const QString input = host.inputText();
    const QString work = trimSpaces(input);
    host.setWorkText(work);
    for (qsizetype position = 1; position <= work.size(); ++position) {
        const QString c = work.mid(position - 1, 1);
        if (c >= QStringLiteral("A") && c <= QStringLiteral("Z")) {
            host.setResultText(lowerCaseText(input));
            break;
        }
        if (c >= QStringLiteral("a") && c <= QStringLiteral("z")) {
            host.setResultText(upperCaseText(input));
            break;
        }
    }
    host.showStatus(QStringLiteral("Ready"));
}

void charactersOnly(CommandHost &host)
{
    filterHandler(host, QStringLiteral("Cleaning..."), false);
}

void lettersOnly(CommandHost &host)
{
    filterHandler(host, QStringLiteral("Purifying..."), true);
}

void binaryCodes(CommandHost &host)
{
    host.showStatus(QStringLiteral("Formatting..."));
    host.setResultText(textToBinaryCodes(host.inputText()));
    host.showStatus(QStringLiteral("Ready"));
}

} // namespace wordloom::reference
