#pragma once

#include "CommandObserver.h"

#include <functional>
#include <ostream>
#include <utility>
#include <vector>

namespace wordloom::testing {

// Records the window's counters at each of its commands' status posts, keeps
// the whole state of the latest, counts the cancel tests, and can make a
// command fail at the n-th post (1-based) as a real failure would.
class ScriptedObserver final : public CommandObserver {
public:
    struct Depths {
        qint16 nest = 0;
        qint16 save = 0;
        friend bool operator==(const Depths &, const Depths &) = default;
        friend void PrintTo(const Depths &d, std::ostream *os) { *os << "nest " << d.nest << ", save " << d.save; }
    };

    void atStatus(const QString &, const CommandState &state) override
    {
        depths.push_back({state.nestDepth, state.saveDepth});
        last = state;
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

    std::vector<Depths> depths; // at every post, in order
    CommandState last;          // at the latest post
    int posts = 0;
    int cancelTests = 0;
    int failAtPost = 0;
    std::function<void()> failure;
};

} // namespace wordloom::testing
