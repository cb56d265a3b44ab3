#include "BufferSize.h"

#include "CliErrors.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace wordloom::cli {

std::size_t parseBufferSize(std::string_view text)
{
    const auto invalid = [&] {
        return UsageError("invalid --buffer-size '" + std::string(text)
                          + "' (a number above 0 with b, K, M, G or T)");
    };
    std::size_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end == text.data() || number == 0)
        throw invalid();
    const std::string_view suffix(end, std::size_t(text.data() + text.size() - end));
    static constexpr std::string_view kSuffixes = "bKMGT";
    const auto power = suffix.empty() ? 1 : kSuffixes.find(suffix.size() == 1 ? suffix[0] : '?');
    if (power == std::string_view::npos)
        throw invalid();
    std::size_t size = number;
    for (std::size_t i = 0; i < power; ++i) {
        if (size > std::numeric_limits<std::size_t>::max() / 1024)
            throw invalid();
        size *= 1024;
    }
    return size;
}

MemoryBounds currentMemoryBounds()
{
    MemoryBounds bounds;
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0)
        bounds.physicalMemory = std::size_t(pages) * std::size_t(pageSize);
    const auto soft = [](int resource) -> std::size_t {
        rlimit limit{};
        if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
            return 0;
        return std::size_t(std::min<rlim_t>(limit.rlim_cur, std::numeric_limits<std::size_t>::max()));
    };
    bounds.addressSpaceLimit = soft(RLIMIT_AS);
    bounds.dataLimit = soft(RLIMIT_DATA);
    return bounds;
}

std::size_t defaultBufferSize(const MemoryBounds &bounds)
{
    // The program, its libraries and the threads' heaps take their share of
    // a limit too, so a quarter of it leaves room for the sort's peaks.
    std::size_t least = 0;
    for (const std::size_t bound : {bounds.physicalMemory, bounds.addressSpaceLimit, bounds.dataLimit})
        if (bound != 0 && (least == 0 || bound < least))
            least = bound;
    if (least == 0)
        return std::size_t(256) << 20;
    return std::max(least / 4, kMinimumBufferSize);
}

std::size_t workingBufferSize(std::size_t requested)
{
    return requested == 0 ? defaultBufferSize(currentMemoryBounds())
                          : std::max(requested, kMinimumBufferSize);
}

} // namespace wordloom::cli
