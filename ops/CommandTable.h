#pragma once

#include "CommandHost.h"

#include <functional>
#include <span>
#include <string_view>

namespace wordloom::ops {

// A command as the batch companion runs it: the name it goes by and the
// same handler the window's button runs.
struct Command {
    std::string_view name;
    std::function<void(CommandHost &)> run;
};

std::span<const Command> commandTable();
const Command *findCommand(std::string_view name);

} // namespace wordloom::ops
