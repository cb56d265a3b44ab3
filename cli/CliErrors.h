#pragma once

#include <stdexcept>
#include <string>

namespace wordloom::cli {

// A wrong command line: one line saying what was wrong, exit status 2.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string &message) : std::runtime_error(message) {}
};

// A file or stream that could not be opened, read or written: exit status 1.
class IoError : public std::runtime_error {
public:
    explicit IoError(const std::string &message) : std::runtime_error(message) {}
};

// "cannot ACTION 'NAME': strerror(error)"; standard streams go unquoted.
IoError ioError(const std::string &action, const std::string &name, int error);

} // namespace wordloom::cli
