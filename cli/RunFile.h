#pragma once

#include <QStringView>

#include <string>
#include <vector>

namespace wordloom::cli {

// A run of lines in a temporary file that has no name (openNamelessFile), so
// no ending of the process, not even a kill, leaves it behind. Lines are written in turn, then read back in the same order.
// Failures throw IoError naming the directory.
class RunFile {
public:
    explicit RunFile(const std::string &directory);
    ~RunFile();
    RunFile(const RunFile &) = delete;
    RunFile &operator=(const RunFile &) = delete;

    void append(QStringView line);
    // Ends the writing and lets the write buffer go, so that finished runs
    // waiting for the merge hold no memory.
    void finishWriting();
    // Ends the writing; reading starts at the first line with a buffer of
    // about readBufferBytes.
    void startReading(std::size_t readBufferBytes);
    // The next line, valid until the following call; false after the last.
    bool readLine(QStringView &line);

private:
    void flushWrites();
    bool fillReads(std::size_t wanted);
    [[noreturn]] void fail(const char *action, int error) const;

    std::string directory_;
    int fd_ = -1;
    std::vector<char> buffer_;
    std::size_t written_ = 0; // bytes in the file
    std::size_t begin_ = 0; // reading: the unread bytes are [begin_, end_)
    std::size_t end_ = 0;
};

} // namespace wordloom::cli
