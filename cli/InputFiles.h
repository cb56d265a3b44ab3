#pragma once

#include <QByteArray>
#include <QString>

#include <string>
#include <sys/types.h>
#include <vector>

namespace wordloom::cli {

// read(2) or a stand-in that tests make fail.
using ReadFunction = ssize_t (*)(int, void *, size_t);

// The bytes of the named files in turn ("-" or no name at all: standard
// input). A file that does not end in LF gets one before the next file, so
// its last line or word never runs into the next file's first. Each file is
// checked to be UTF-8. Throws IoError naming the file and the reason.
QByteArray readInputFiles(const std::vector<std::string> &names, ReadFunction read = ::read);

// The input as the input pane would hold it (see decodeUtf8); the bytes are
// released before it returns.
QString readInputText(const std::vector<std::string> &names, bool raw);

} // namespace wordloom::cli
