#pragma once

#include <QtGlobal>

#include <exception>
#include <thread>

namespace wordloom {

// Below about a megabyte of text a second thread costs more than it saves.
inline constexpr qsizetype kUnitsWorthASecondCore = qsizetype(1) << 20;

// Runs here() on this thread and there() on a second one at once, for work
// split in two parts that touch nothing in common. Returns when both have
// ended; an exception from either (out of memory, say) is thrown here then,
// as if the work had run on this thread alone.
template <typename Here, typename There>
void runSideBySide(Here here, There there)
{
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
