#pragma once

#include "CommandHost.h"

namespace wordloom::ops {

// Binary Codes after BeginOperation: "Formatting...", every character's ANSI
// code as eight binary digits and a space, "Ready". Never tests Cancel.
void binaryCodes(CommandHost &host);

} // namespace wordloom::ops
