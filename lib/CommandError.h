#pragma once

#include <stdexcept>
#include <string>

namespace wordloom {

// A command that cannot finish on this input (say, Phrase Count on a text too
// repetitive for memory) throws this; the window shows the message, the
// user's text stays where it was.
class CommandError : public std::runtime_error {
public:
    explicit CommandError(const std::string &message) : std::runtime_error(message) {}
};

} // namespace wordloom
