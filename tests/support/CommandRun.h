#pragma once

#include "RecordingHost.h"

#include <optional>
#include <type_traits>

namespace wordloom::testing {

// Everything a command did to its host, for comparing two implementations.
struct CommandRun {
    std::optional<Outcome> outcome; // none for a command that cannot be cancelled
    QStringList posts;
    int cancelTests = 0;
    int eventPumps = 0;
    std::optional<QString> work;
    std::optional<QString> result;
};

template <typename Command>
CommandRun runCommand(Command command, const QString &input, int cancelAtPost = 0)
{
    RecordingHost host(input);
    host.cancelAtPost = cancelAtPost;
    CommandRun run;
    if constexpr (std::is_void_v<decltype(command(host))>)
        command(host);
    else
        run.outcome = command(host);
    run.posts = host.posts;
    run.cancelTests = host.cancelTests;
    run.eventPumps = host.eventPumps;
    run.work = host.work;
    run.result = host.result;
    return run;
}

} // namespace wordloom::testing
