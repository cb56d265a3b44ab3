#pragma once

#include <QByteArrayView>
#include <QStringView>

#include <cstdio>
#include <optional>
#include <string>

namespace wordloom::cli {

// Where the result goes. Standard output is written as the result comes. A
// named regular file keeps its old content until the whole result is known
// (it may also be an input) and never holds half a result: the result is
// written to a temporary file beside it, renamed over it by commit(), which
// keeps its owner and group where the process may set them, and its
// permission bits. A symbolic link is followed to the file it names (which is
// created when missing, as a shell's ">" does). A file with other hard links
// is rewritten in place instead, so that they keep sharing it: commit()
// copies the finished result into it. Every write is checked; failures throw
// IoError naming the file.
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
    // The temporary file until commit(); empty for standard output or a device.
    const std::string &temporaryPath() const { return temporary_; }

private:
    void open();
    void openTemporary();
    void openThrough();
    int copyThrough(int from);
    void release();
    [[noreturn]] void fail(int error);

    std::string name_; // as the user gave it, for messages
    std::string target_; // the file to replace
    std::string temporary_;
    int through_ = -1; // a file with other hard links, rewritten in place
    std::FILE *stream_ = nullptr;
};

} // namespace wordloom::cli
