#pragma once

#include <QString>
#include <atomic>

namespace wordloom {

// A file read as text for a pane. UTF-8 (with or without a byte-order mark)
// and UTF-16 with a byte-order mark are read exactly (after the mark, what is
// not UTF-16 is refused); any other bytes are read as code page 1252. Only a regular file is ever opened, so a FIFO or device
// cannot block the window.
struct TextFile {
    enum class Outcome { Text, TooLarge, Binary, InvalidUtf16, Unreadable, Stopped };
    Outcome outcome = Outcome::Unreadable;
    QString text;              // Text: the file's characters as they are
    bool codePage1252 = false; // Text: not Unicode, read as code page 1252
    qint64 offset = 0;         // InvalidUtf16: the byte offset of the first fault
    QString reason;            // Unreadable: the system's reason
};

// Beyond this a file is refused rather than read (decimal megabytes).
constexpr qint64 kMaxTextFileBytes = 200'000'000;
// A NUL byte this near the start marks a file as binary.
constexpr qint64 kBinaryProbeBytes = 8192;

// Reads in pieces; once `stop` is set it gives up at the next piece with
// Outcome::Stopped.
TextFile readTextFile(const QString &path, const std::atomic<bool> *stop = nullptr);

} // namespace wordloom
