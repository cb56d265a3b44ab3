#include "CliErrors.h"

#include <cstring>

namespace wordloom::cli {

IoError ioError(const std::string &action, const std::string &name, int error)
{
    const bool stream = name == "standard input" || name == "standard output";
    const std::string shown = stream ? name : "'" + name + "'";
    return IoError("cannot " + action + " " + shown + ": " + std::strerror(error));
}

} // namespace wordloom::cli
