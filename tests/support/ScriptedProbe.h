#pragma once

#include "CommandProbe.h"

#include <functional>

namespace wordloom::testing {

// Counts a window command's status posts and cancel tests, and can make it
// fail at the n-th post (1-based) as a real failure would.
class ScriptedProbe final : public CommandProbe {
public:
    void atStatus(const QString &) override
    {
        ++posts;
        if (failAtPost > 0 && posts == failAtPost) {
            failAtPost = 0;
            const auto thrower = std::exchange(failure, nullptr);
            thrower();
        }
    }
    void atCancelTest() override { ++cancelTests; }

    void failAt(int post, std::function<void()> thrower)
    {
        posts = 0;
        failAtPost = post;
        failure = std::move(thrower);
    }

    int posts = 0;
    int cancelTests = 0;
    int failAtPost = 0;
    std::function<void()> failure;
};

} // namespace wordloom::testing
