#pragma once

#include "Job.h"

#include "OutputFile.h"

#include <QString>
#include <QStringView>

#include <cstdint>

#include <functional>
#include <optional>
#include <span>
#include <string>

namespace wordloom::mpi {

class SpilledPart;

// The result, one part per process, in rank order, through wordloom-cli's
// OutputFile: standard output, or a temporary file renamed into place only
// once every process has written its part. A temporary file with a name is
// written by every process at its part's offset (the processes see the same
// file system); anything else by process 0, the others' parts sent to it.
class OrderedOutput {
public:
    // Process 0 opens the output (collective): a failure there comes before
    // any failure of the input, as in wordloom-cli.
    OrderedOutput(Job &job, const std::optional<std::string> &path);
    ~OrderedOutput();
    OrderedOutput(const OrderedOutput &) = delete;
    OrderedOutput &operator=(const OrderedOutput &) = delete;

    // Process 0's OutputFile, for a result it writes alone.
    cli::OutputFile *file() { return file_ ? &*file_ : nullptr; }

    // This process's part of the result (collective). The parts laid end to
    // end are the result; each is encoded on its own, so a part never ends
    // between the CR and the LF of a line break or inside a surrogate pair.
    // `breakAfter`: a line break follows the part (one the next part's lines
    // need), so that a sorted part is never copied to append it.
    void writeParts(const QString &part, bool crLfToLf, bool breakAfter = false);
    // The same for sorted lines of UTF-8: lines[order[0]], lines[order[1]]...
    // with a line break between them (LF when `crLfToLf`, else CR LF), none of
    // them holding one, written a block at a time.
    void writeLines(std::span<const QByteArrayView> lines, std::span<const std::uint32_t> order, bool crLfToLf,
                    bool breakAfter);
    // The same for a part that comes a block of bytes at a time, `size`
    // bytes in all (collective).
    using BlockSink = std::function<void(QByteArrayView)>;
    using Blocks = std::function<void(const BlockSink &)>; // a part's bytes in order
    void writeBlocks(long long size, const Blocks &blocks);
    // The same for a part kept in a temporary file (collective).
    void writeSpilled(SpilledPart &part);
    // Puts the output in place (collective).
    void commit();

private:
    struct Descriptor {
        int fd = -1;
        ~Descriptor();
    };
    // Whether every process can write the temporary file (collective).
    bool openEverywhere(Descriptor &mine);
    void writeAtOffsets(Descriptor &mine, long long size, const Blocks &blocks);
    void writeThroughFirst(const Blocks &blocks);

    Job &job_;
    std::string name_; // for messages
    std::optional<cli::OutputFile> file_;
    // Process 0's temporary file, which every process removes when mpirun
    // ends the job with a signal (process 0 may be the one killed).
    std::string temporary_;
};

} // namespace wordloom::mpi
