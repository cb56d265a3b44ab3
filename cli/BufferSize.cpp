#include "BufferSize.h"

#include "CliErrors.h"

#include <charconv>
#include <limits>
#include <string>
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

std::size_t defaultBufferSize()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return std::size_t(256) << 20;
    return std::size_t(pages) * std::size_t(pageSize) / 4;
}

} // namespace wordloom::cli
