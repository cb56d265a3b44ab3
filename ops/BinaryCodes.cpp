#include "BinaryCodes.h"

#include "basConversion.h"

namespace wordloom::ops {

void binaryCodes(CommandHost &host)
{
    host.showStatus(QStringLiteral("Formatting..."));
    host.setResultText(basConversion::TextToBinaryCodes(host.inputText(), [&] { host.stayResponsive(); }));
    host.showStatus(QStringLiteral("Ready"));
}

} // namespace wordloom::ops
