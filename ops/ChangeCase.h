#pragma once

#include "CommandHost.h"

#include <QString>
#include <optional>

namespace wordloom::ops {

// The whole command after BeginOperation: "Casing...", the result, "Ready".
void changeCase(CommandHost &host);

} // namespace wordloom::ops
