#include "SortA2ThenA1.h"

#include "BinaryOrder.h"

#include <algorithm>

namespace wordloom::ops {

bool countThenTextLess(const FrequencyRow &a, const FrequencyRow &b)
{
    if (a.count != b.count)
        return a.count < b.count;
    return codeUnitsLess(a.text, b.text);
}

void SortA2ThenA1(FrequencyTable &table, CommandHost &host)
{
    if (!std::is_sorted(table.begin(), table.end(), countThenTextLess)) {
        std::stable_sort(table.begin(), table.end(), countThenTextLess);
        // An exchange sort would test Cancel after its first exchange; no
        // events run in between, so this one test sees the same answer.
        if (host.cancelRequested())
            return;
    }
    host.processEvents();
}

} // namespace wordloom::ops
