#pragma once

#include <string>

namespace wordloom::cli {

// Temporary files that an interrupt must not leave behind: nameless ones for
// the sort's parts, and named ones (the output's) tracked here. Once
// installed, SIGINT, SIGTERM, SIGHUP and SIGPIPE remove every tracked file and then
// end the process as the signal would have.
void installTempFileCleanup();

// Tracks a path (at most a few at a time); false when no slot is free.
bool trackTempFile(const std::string &path);
void untrackTempFile(const std::string &path);

// Creates a file from a mkostemp pattern (its XXXXXX replaced) and tracks
// it, with those signals held back in between, so that none can come after
// the file exists and before the handler knows it. The descriptor, or -1 with
// errno set.
int createTrackedFile(std::string &pattern);

// A file for reading and writing in the directory that never has a name
// there: O_TMPFILE where the file system has it, else a named file unlinked
// at once (openUnlinkedFile). The descriptor, or -1 with errno set.
int openNamelessFile(const std::string &directory);

// The fallback alone: the file is created and unlinked with those signals
// held back, so that none can end the process while the name exists.
int openUnlinkedFile(const std::string &directory);

} // namespace wordloom::cli
