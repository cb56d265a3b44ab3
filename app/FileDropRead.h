#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QObject;

namespace wordloom {

class CommandObserver;

// What the files of one drop come to: their text joined, or why they were not
// loaded.
struct DroppedText {
    QString text;
    QStringList asCodePage; // names of the files read as code page 1252
    QString refusal;        // not empty: the message, and no text
};

// The files of a drop, read and joined on a thread of their own so that a slow
// disk never stops the window. The outcome is handed to `done` on the
// receiver's thread, unless the read was abandoned first: abandoning (or
// destroying this) returns at once, and the thread then stops at its next
// piece and hands nothing over.
class FileDropRead {
public:
    FileDropRead(const QStringList &paths, QObject *receiver, std::function<void(DroppedText)> done,
                 CommandObserver *observer);
    ~FileDropRead();
    FileDropRead(const FileDropRead &) = delete;
    FileDropRead &operator=(const FileDropRead &) = delete;

    void abandon();

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

} // namespace wordloom
