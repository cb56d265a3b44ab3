#pragma once

namespace wordloom::cli {

// Opens /dev/null on each of the descriptors 0, 1 and 2 that is closed, so
// that no file the program opens later takes its number (a temporary part
// would otherwise receive the result, or the status texts). It is opened for
// the other direction, so every use still fails with EBADF as a closed
// descriptor would: "cannot write standard output: Bad file descriptor".
void reserveStandardDescriptors();

} // namespace wordloom::cli
