#include "OrderedOutput.h"

#include "TempFiles.h"
#include "Utf8.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace wordloom::mpi {

namespace {

// The UTF-8 bytes wordloom-cli would write for the text.
QByteArray encoded(const QString &text, bool crLfToLf)
{
    char *buffer = nullptr;
    std::size_t size = 0;
    std::FILE *stream = open_memstream(&buffer, &size);
    if (!stream)
        throw std::bad_alloc();
    const bool written = cli::writeUtf8(stream, text, crLfToLf);
    std::fclose(stream);
    QByteArray bytes = written ? QByteArray(buffer, qsizetype(size)) : QByteArray();
    std::free(buffer);
    if (!written)
        throw std::bad_alloc();
    return bytes;
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
    QByteArray bytes;
    job_.attempt([&] { bytes = encoded(part, crLfToLf); });
    job_.agree();
    if (job_.first())
        job_.attempt([&] { file_->write(bytes); });
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
