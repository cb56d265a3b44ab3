#pragma once

#include <string>

namespace wordloom::cli {

// Named temporary files that an interrupt must not leave behind. Once
// installed, SIGINT, SIGTERM and SIGHUP remove every tracked file and then
// end the process as the signal would have.
void installTempFileCleanup();

// Tracks a path (at most a few at a time); false when no slot is free.
bool trackTempFile(const std::string &path);
void untrackTempFile(const std::string &path);

} // namespace wordloom::cli
