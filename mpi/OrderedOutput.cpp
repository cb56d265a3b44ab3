#include "OrderedOutput.h"

#include "SpilledPart.h"

#include "Utf8Lines.h"

#include "CliErrors.h"
#include "TempFiles.h"
#include "Utf8.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <span>
#include <stdexcept>
#include <vector>
#include <utility>
#include <fcntl.h>
#include <unistd.h>

namespace wordloom::mpi {

namespace {

// The UTF-8 bytes wordloom-cli would write for the text and, when asked, a
// line break after it, in a buffer of malloc's that the caller frees. Room
// for three bytes a unit is reserved but only the bytes written are touched,
// so an ASCII part costs its own size, with no growing stream to copy.
struct Encoded {
    char *bytes = nullptr;
    std::size_t size = 0;
    ~Encoded() { std::free(bytes); }
};

void encode(QStringView text, bool crLfToLf, bool breakAfter, Encoded &out)
{
    out.bytes = static_cast<char *>(std::malloc(3 * std::size_t(text.size()) + 2));
    if (!out.bytes)
        throw std::bad_alloc();
    char *end = encodeUtf8(text.utf16(), 0, text.size(), text.size(), crLfToLf, out.bytes);
    if (breakAfter) {
        if (!crLfToLf)
            *end++ = '\r';
        *end++ = '\n';
    }
    out.size = std::size_t(end - out.bytes);
}

} // namespace

OrderedOutput::OrderedOutput(Job &job, const std::optional<std::string> &path)
    : job_(job), name_(path.value_or(std::string()))
{
    if (job_.first())
        job_.attempt([&] { file_.emplace(path); }, -1);
    job_.agree();
    QByteArray name = job_.first() ? QByteArray::fromStdString(file_->temporaryPath()) : QByteArray();
    name = job_.allGather(name).front();
    temporary_ = name.toStdString();
    if (!job_.first() && !temporary_.empty())
        cli::trackTempFile(temporary_);
}

OrderedOutput::~OrderedOutput()
{
    if (!job_.first() && !temporary_.empty())
        cli::untrackTempFile(temporary_);
}

OrderedOutput::Descriptor::~Descriptor()
{
    if (fd >= 0)
        ::close(fd);
}

bool OrderedOutput::openEverywhere(Descriptor &mine)
{
    if (temporary_.empty() || job_.size() == 1)
        return false;
    // Every process opens the temporary file; where one cannot (a target
    // that is read-only keeps its mode), the parts go through process 0.
    if (!job_.first())
        mine.fd = ::open(temporary_.c_str(), O_WRONLY | O_CLOEXEC);
    long long opened = job_.first() || mine.fd >= 0 ? 1 : 0, all = 0;
    MPI_Allreduce(&opened, &all, 1, MPI_LONG_LONG, MPI_SUM, MPI_COMM_WORLD);
    return all == job_.size();
}

void OrderedOutput::writeAtOffsets(Descriptor &mine, long long size, const Blocks &blocks)
{
    long long offset = 0;
    MPI_Exscan(&size, &offset, 1, MPI_LONG_LONG, MPI_SUM, MPI_COMM_WORLD);
    job_.attempt([&] {
        if (job_.first()) {
            blocks([&](QByteArrayView block) { file_->write(block); });
            return;
        }
        blocks([&](QByteArrayView block) {
            for (qsizetype done = 0; done < block.size();) {
                const ssize_t wrote = pwrite(mine.fd, block.data() + done, std::size_t(block.size() - done),
                                             off_t(offset + done));
                if (wrote < 0 && errno == EINTR)
                    continue;
                if (wrote <= 0)
                    throw cli::ioError("write", name_, wrote < 0 ? errno : ENOSPC);
                done += wrote;
            }
            offset += block.size();
        });
        if (::close(std::exchange(mine.fd, -1)) != 0)
            throw cli::ioError("write", name_, errno);
    });
    job_.agree();
}

void OrderedOutput::writeThroughFirst(const Blocks &blocks)
{
    if (!job_.first()) {
        job_.attempt([&] { blocks([&](QByteArrayView block) { job_.sendPieceToFirst(block); }); });
        job_.endPartToFirst();
    } else {
        job_.attempt([&] { blocks([&](QByteArrayView block) { file_->write(block); }); });
        // Process 0 takes every message even after a failed write, so that
        // no process waits for it for ever.
        job_.receiveParts([&](int, QByteArrayView message) { job_.attempt([&] { file_->write(message); }); });
    }
    job_.agree();
}

void OrderedOutput::writeParts(const QString &part, bool crLfToLf, bool breakAfter)
{
    // Into a named file, every process writes its part at its offset;
    // otherwise process 0 writes its own part as it encodes it, and the
    // others encode theirs to send.
    Descriptor mine;
    const bool atOffsets = openEverywhere(mine);
    Encoded encoded;
    if (atOffsets || !job_.first())
        job_.attempt([&] { encode(part, crLfToLf, breakAfter, encoded); });
    job_.agree();
    const QByteArrayView bytes(encoded.bytes, qsizetype(encoded.size));
    if (atOffsets)
        return writeAtOffsets(mine, bytes.size(), [&](const BlockSink &sink) { sink(bytes); });
    writeThroughFirst([&](const BlockSink &sink) {
        if (!job_.first())
            return sink(bytes);
        file_->write(part, crLfToLf);
        if (breakAfter)
            sink(crLfToLf ? QByteArrayView("\n") : QByteArrayView("\r\n"));
    });
}

void OrderedOutput::writeLines(std::span<const QByteArrayView> lines, std::span<const std::uint32_t> order,
                               bool crLfToLf, bool breakAfter)
{
    const QByteArrayView lineBreak = crLfToLf ? QByteArrayView("\n") : QByteArrayView("\r\n");
    std::optional<long long> size; // what the blocks below come to, when reckoned
    const Blocks blocks = [&](const BlockSink &sink) {
        // A block of lines at a time: the joined part is never built whole.
        constexpr qsizetype kBlockBytes = qsizetype(4) << 20;
        const std::unique_ptr<char[]> block(new char[std::size_t(kBlockBytes)]);
        char *write = block.get();
        long long written = 0;
        const auto put = [&](QByteArrayView bytes) {
            if (bytes.isEmpty())
                return; // an empty view may hold no pointer at all
            std::memcpy(write, bytes.data(), std::size_t(bytes.size()));
            write += bytes.size();
        };
        const auto flush = [&] {
            sink(QByteArrayView(block.get(), write - block.get()));
            written += write - block.get();
            write = block.get();
        };
        for (std::size_t k = 0; k < order.size(); ++k) {
            ops::prefetchAhead(lines, order, k);
            const QByteArrayView line = lines[order[k]];
            const QByteArrayView before = k > 0 ? lineBreak : QByteArrayView();
            if (write - block.get() + before.size() + line.size() > kBlockBytes) {
                flush();
                if (before.size() + line.size() > kBlockBytes) { // a line longer than a block goes as it is
                    put(before);
                    flush();
                    sink(line);
                    written += line.size();
                    continue;
                }
            }
            put(before);
            put(line);
        }
        if (breakAfter) {
            if (write - block.get() + lineBreak.size() > kBlockBytes)
                flush();
            put(lineBreak);
        }
        flush();
        // The offsets of the later parts were reckoned from `size`: a
        // mismatch would corrupt the result, so it fails the job instead.
        if (size && written != *size)
            throw std::logic_error("a part's length was miscounted");
    };
    Descriptor mine;
    if (!openEverywhere(mine))
        return writeThroughFirst(blocks);
    job_.attempt([&] {
        // Every line, or a selection (Unique Lines): the whole list is
        // read in memory order rather than sorted order.
        long long bytes = 0;
        if (order.size() == lines.size()) {
            for (const QByteArrayView line : lines)
                bytes += line.size();
        } else {
            for (const std::uint32_t k : order)
                bytes += lines[k].size();
        }
        const std::size_t breaks = order.empty() ? 0 : order.size() - 1;
        size = bytes + lineBreak.size() * qsizetype(breaks + (breakAfter ? 1 : 0));
    });
    job_.agree();
    writeAtOffsets(mine, *size, blocks);
}

void OrderedOutput::writeBlocks(long long size, const Blocks &blocks)
{
    Descriptor mine;
    if (openEverywhere(mine))
        writeAtOffsets(mine, size, blocks);
    else
        writeThroughFirst(blocks);
}

void OrderedOutput::writeSpilled(SpilledPart &part)
{
    writeBlocks(part.bytes(), [&](const BlockSink &sink) { part.readBack(sink); });
}

void OrderedOutput::commit()
{
    if (job_.first())
        job_.attempt([&] { file_->commit(); });
    job_.agree();
    if (!job_.first() && !temporary_.empty())
        cli::untrackTempFile(temporary_);
    temporary_.clear();
}

} // namespace wordloom::mpi
