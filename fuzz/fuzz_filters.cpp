// Change Case, Characters Only, Letters Only and Binary Codes against their
// literal steps. All four are linear, so the texts may be long.
#include "FuzzSupport.h"
#include "BinaryCodes.h"
#include "ChangeCase.h"
#include "CharacterFilters.h"
#include "Literal.h"

namespace fz = wordloom::fuzz;
namespace ops = wordloom::ops;
namespace reference = wordloom::reference;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fz::FuzzInput input = fz::decodeInput(data, size, 4096);
    // None of them tests Cancel: a press during a post must change nothing.
    fz::compareWithCancel("Change Case", ops::changeCase, reference::changeCase, input);
    fz::compareWithCancel("Characters Only", ops::charactersOnly, reference::charactersOnly, input);
    fz::compareWithCancel("Letters Only", ops::lettersOnly, reference::lettersOnly, input);
    fz::compareWithCancel("Binary Codes", ops::binaryCodes, reference::binaryCodes, input);
    return 0;
}
