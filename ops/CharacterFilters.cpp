#include "CharacterFilters.h"

#include "basLibLibrary.h"

namespace wordloom::ops {

namespace {
void filterInput(CommandHost &host, const QString &status, bool lettersOnly)
{
    host.showStatus(status);
    host.setResultText(basLibLibrary::FilterText(host.inputText(), QStringLiteral(" "), lettersOnly));
    host.processEvents();
    host.showStatus(QStringLiteral("Ready"));
}
} // namespace

void charactersOnly(CommandHost &host)
{
    filterInput(host, QStringLiteral("Cleaning..."), false);
}

void lettersOnly(CommandHost &host)
{
    filterInput(host, QStringLiteral("Purifying..."), true);
}

} // namespace wordloom::ops
