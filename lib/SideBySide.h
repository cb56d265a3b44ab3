#pragma once

#include <QtGlobal>

#include <atomic>
#include <exception>
#include <thread>

namespace wordloom {

// Below about a megabyte of text a second thread costs more than it saves.
inline constexpr qsizetype kUnitsWorthASecondCore = qsizetype(1) << 20;

// Whether work may take a second core. A process that shares the machine's
// cores with as many others (several processes of an MPI job on one node)
// turns it off: two threads each would only take turns on the same cores.
inline std::atomic<bool> &secondCoreSetting()
{
    static std::atomic<bool> allowed{true};
    return allowed;
}
inline bool secondCoreAllowed() { return secondCoreSetting().load(std::memory_order_relaxed); }
inline void allowSecondCore(bool allowed) { secondCoreSetting().store(allowed, std::memory_order_relaxed); }

// Runs here() on this thread and there() on a second one at once, for work
// split in two parts that touch nothing in common. Returns when both have
// ended; an exception from either (out of memory, say) is thrown here then,
// as if the work had run on this thread alone. Without a second core, both
// run here in turn.
template <typename Here, typename There>
void runSideBySide(Here here, There there)
{
    if (!secondCoreAllowed()) {
        here();
        there();
        return;
    }
    std::exception_ptr thereFailed;
    {
        std::jthread second([&] {
            try {
                there();
            } catch (...) {
                thereFailed = std::current_exception();
            }
        });
        here(); // on failure the second thread is joined before unwinding on
    }
    if (thereFailed)
        std::rethrow_exception(thereFailed);
}

} // namespace wordloom
