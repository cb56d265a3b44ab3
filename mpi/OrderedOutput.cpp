#include "OrderedOutput.h"

#include "TempFiles.h"
#include "Utf8.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace wordloom::mpi {

namespace {

// The UTF-8 bytes wordloom-cli would write for the text, in a buffer of
// malloc's that the caller frees.
struct Encoded {
    char *bytes = nullptr;
    std::size_t size = 0;
    ~Encoded() { std::free(bytes); }
};

void encode(const QString &text, bool crLfToLf, Encoded &out)
{
    std::FILE *stream = open_memstream(&out.bytes, &out.size);
    if (!stream)
        throw std::bad_alloc();
    const bool written = cli::writeUtf8(stream, text, crLfToLf);
    if (std::fclose(stream) != 0 || !written)
        throw std::bad_alloc();
}

} // namespace

OrderedOutput::OrderedOutput(Job &job, const std::optional<std::string> &path) : job_(job)
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

void OrderedOutput::writeParts(const QString &part, bool crLfToLf)
{
    // Process 0 writes its own part as it encodes it; the others encode
    // theirs to send.
    Encoded encoded;
    job_.attempt([&] {
        if (job_.first())
            file_->write(part, crLfToLf);
        else
            encode(part, crLfToLf, encoded);
    });
    job_.agree();
    const QByteArray bytes = QByteArray::fromRawData(encoded.bytes, qsizetype(encoded.size));
    // Process 0 takes every message even after a failed write, so that no
    // process waits for it for ever.
    job_.sendToFirst(bytes, [&](int, QByteArrayView message) {
        job_.attempt([&] { file_->write(message); });
    });
    job_.agree();
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
