#pragma once

#include "CommandHost.h"

namespace wordloom::ops {

// Characters Only after BeginOperation: "Cleaning...", printable ASCII kept,
// every other character one space, events processed, "Ready".
void charactersOnly(CommandHost &host);

// Letters Only after BeginOperation: "Purifying...", A-Z, a-z and the space
// kept, every other character one space, events processed, "Ready".
void lettersOnly(CommandHost &host);

} // namespace wordloom::ops
