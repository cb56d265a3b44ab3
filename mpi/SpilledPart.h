#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <functional>
#include <string>
#include <vector>

namespace wordloom::mpi {

// A process's part of the result kept in a nameless temporary file (no
// ending of the process leaves it behind), for parts larger than the buffer:
// lines with CR LF between them, written as UTF-8 as wordloom-cli writes
// them, then read back in blocks.
class SpilledPart {
public:
    SpilledPart(std::string directory, bool crLfToLf);
    ~SpilledPart();
    SpilledPart(const SpilledPart &) = delete;
    SpilledPart &operator=(const SpilledPart &) = delete;

    void add(QStringView line);
    bool empty() const { return first_; }
    // Ends the writing, with a line break after the last line when asked.
    void finish(bool breakAfter);
    long long bytes() const { return bytes_; }
    // The bytes from the first, a block at a time.
    void readBack(const std::function<void(QByteArrayView)> &block);

private:
    void flush();

    std::string directory_; // for messages
    bool crLfToLf_;
    int fd_ = -1;
    bool first_ = true;
    QString lines_;
    std::vector<char> encoded_;
    long long bytes_ = 0;
};

} // namespace wordloom::mpi
