#pragma once

#include "CommandHost.h"

#include <QString>
#include <optional>

namespace wordloom::ops {

// The converted text, or nothing when the text has no ASCII letter.
std::optional<QString> changeCaseText(const QString &input);

// The whole command after BeginOperation: "Casing...", the result, "Ready".
void changeCase(CommandHost &host);

} // namespace wordloom::ops
