#pragma once

#include <QByteArrayView>
#include <QStringView>

#include <cstdio>
#include <optional>
#include <string>

namespace wordloom::cli {

// Where the result goes. Standard output is written as the result comes. A
// named regular file is written through a temporary file beside it, renamed
// over it only by commit(), so the file keeps its old content until the whole
// result is known (it may also be an input) and never holds half a result.
// Every write is checked; failures throw IoError naming the file.
class OutputFile {
public:
    // No path, or "-": standard output. A path is checked (its temporary
    // file created) at once, before any work.
    explicit OutputFile(const std::optional<std::string> &path);
    ~OutputFile(); // removes the temporary file unless committed
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    void write(QStringView text, bool crLfToLf);
    void write(QByteArrayView bytes);
    // Flushes, closes and puts the file in place.
    void commit();

private:
    void openTemporary();
    void fail(int error);

    std::string name_; // as the user gave it, for messages
    std::string target_; // the file to replace
    std::string temporary_;
    std::FILE *stream_ = nullptr;
};

} // namespace wordloom::cli
