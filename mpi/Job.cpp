#include "Job.h"

#include "CliErrors.h"

#include <algorithm>
#include <climits>
#include <new>
#include <sched.h>
#include <thread>
#include <time.h>

namespace wordloom::mpi {

namespace {

// Messages stay well below MPI's int counts.
constexpr qsizetype kMessageBytes = qsizetype(1) << 26;

// Exchanged byte counts travel as 8-byte blocks, so one exchange may carry up
// to 16 GiB per pair of processes.
constexpr qsizetype kBlock = 8;

MPI_Datatype blockType()
{
    static MPI_Datatype type = [] {
        MPI_Datatype t;
        MPI_Type_contiguous(int(kBlock), MPI_BYTE, &t);
        MPI_Type_commit(&t);
        return t;
    }();
    return type;
}

int blocksOf(qsizetype bytes)
{
    const qsizetype blocks = (bytes + kBlock - 1) / kBlock;
    if (blocks > INT_MAX)
        throw std::runtime_error("a part too large for one exchange; run more processes");
    return int(blocks);
}

} // namespace

Job::Job()
{
    MPI_Comm_rank(MPI_COMM_WORLD, &rank_);
    MPI_Comm_size(MPI_COMM_WORLD, &size_);
}

bool Job::hasSecondCore() const
{
    MPI_Comm node;
    MPI_Comm_split_type(MPI_COMM_WORLD, MPI_COMM_TYPE_SHARED, rank_, MPI_INFO_NULL, &node);
    int here = 1;
    MPI_Comm_size(node, &here);
    MPI_Comm_free(&node);
    cpu_set_t mine;
    CPU_ZERO(&mine);
    const int usable = sched_getaffinity(0, sizeof mine, &mine) == 0 ? CPU_COUNT(&mine) : INT_MAX;
    const unsigned cores = std::thread::hardware_concurrency(); // 0: not known
    return usable >= 2 && (cores == 0 || 2 * unsigned(here) <= cores);
}

void Job::fail(long long position, int exitCode, const std::string &message)
{
    if (position < failure_.position)
        failure_ = Failure{position, exitCode, message};
}

void Job::attempt(const std::function<void()> &work, long long position)
{
    try {
        work();
    } catch (const JobFailed &) {
        throw;
    } catch (const cli::IoError &e) {
        fail(position, 1, e.what());
    } catch (const std::bad_alloc &) {
        fail(position, 1, commandName_ + ": out of memory");
    } catch (const std::exception &e) {
        fail(position, 1, commandName_ + ": " + e.what());
    }
}

void Job::waitForAll() const
{
    MPI_Request request;
    MPI_Ibarrier(MPI_COMM_WORLD, &request);
    for (long pause = 50'000;; pause = std::min(2 * pause, 5'000'000L)) { // 50 µs to 5 ms
        int done = 0;
        MPI_Test(&request, &done, MPI_STATUS_IGNORE);
        if (done)
            return;
        const timespec wait{0, pause};
        nanosleep(&wait, nullptr);
    }
}

long long Job::agree(long long bytesDone)
{
    waitForAll();
    // The earliest position wins, then the lowest rank.
    long long pair[2] = {failure_.position, rank_}, best[2];
    long long done = 0;
    MPI_Allreduce(&bytesDone, &done, 1, MPI_LONG_LONG, MPI_SUM, MPI_COMM_WORLD);
    std::vector<long long> all(static_cast<std::size_t>(size_) * 2);
    MPI_Allgather(pair, 2, MPI_LONG_LONG, all.data(), 2, MPI_LONG_LONG, MPI_COMM_WORLD);
    best[0] = Failure::kNowhere;
    best[1] = 0;
    for (int k = 0; k < size_; ++k) {
        if (all[2 * k] < best[0])
            best[0] = all[2 * k], best[1] = k;
    }
    if (best[0] == Failure::kNowhere)
        return done;
    // The failing process tells the others its message and exit status.
    int code = failure_.exitCode;
    MPI_Bcast(&code, 1, MPI_INT, int(best[1]), MPI_COMM_WORLD);
    int length = int(failure_.message.size());
    MPI_Bcast(&length, 1, MPI_INT, int(best[1]), MPI_COMM_WORLD);
    std::string message = failure_.message;
    message.resize(std::size_t(length));
    MPI_Bcast(message.data(), length, MPI_CHAR, int(best[1]), MPI_COMM_WORLD);
    throw JobFailed(code, message);
}

std::vector<long long> Job::allGather(long long value) const
{
    std::vector<long long> values(static_cast<std::size_t>(size_));
    MPI_Allgather(&value, 1, MPI_LONG_LONG, values.data(), 1, MPI_LONG_LONG, MPI_COMM_WORLD);
    return values;
}

std::vector<QByteArray> Job::allGather(const QByteArray &bytes) const
{
    const std::vector<long long> sizes = allGather((long long)bytes.size());
    std::vector<int> counts(static_cast<std::size_t>(size_)), offsets(static_cast<std::size_t>(size_));
    qsizetype total = 0;
    for (int k = 0; k < size_; ++k) {
        counts[k] = blocksOf(sizes[k]);
        offsets[k] = int(total / kBlock);
        total += qsizetype(counts[k]) * kBlock;
    }
    sent_ += bytes.size() * (size_ - 1);
    QByteArray mine = bytes;
    mine.resize(qsizetype(counts[rank_]) * kBlock, '\0');
    QByteArray all(total, '\0');
    MPI_Allgatherv(mine.constData(), counts[rank_], blockType(), all.data(), counts.data(), offsets.data(),
                   blockType(), MPI_COMM_WORLD);
    std::vector<QByteArray> parts(static_cast<std::size_t>(size_));
    for (int k = 0; k < size_; ++k)
        parts[k] = all.sliced(qsizetype(offsets[k]) * kBlock, sizes[k]);
    return parts;
}

std::vector<QByteArrayView> Job::allToAll(const std::vector<qsizetype> &sizes,
                                          const std::function<void(const std::vector<char *> &)> &fill,
                                          QByteArray &arrived) const
{
    std::vector<long long> sendSizes(sizes.begin(), sizes.end()), receiveSizes(static_cast<std::size_t>(size_));
    for (int k = 0; k < size_; ++k)
        sent_ += k == rank_ ? 0 : sizes[std::size_t(k)];
    MPI_Alltoall(sendSizes.data(), 1, MPI_LONG_LONG, receiveSizes.data(), 1, MPI_LONG_LONG, MPI_COMM_WORLD);
    // Every part is written in place in one buffer, each padded to whole blocks.
    const auto layOut = [&](const std::vector<long long> &bytes, std::vector<int> &counts, std::vector<int> &offsets) {
        qsizetype total = 0;
        counts.resize(static_cast<std::size_t>(size_));
        offsets.resize(static_cast<std::size_t>(size_));
        for (int k = 0; k < size_; ++k) {
            counts[k] = blocksOf(bytes[std::size_t(k)]);
            if (total / kBlock > INT_MAX - counts[k])
                throw std::runtime_error("parts too large for one exchange; run more processes");
            offsets[k] = int(total / kBlock);
            total += qsizetype(counts[k]) * kBlock;
        }
        return total;
    };
    std::vector<int> sendCounts, sendOffsets, receiveCounts, receiveOffsets;
    QByteArray send(layOut(sendSizes, sendCounts, sendOffsets), Qt::Uninitialized);
    std::vector<char *> starts(static_cast<std::size_t>(size_));
    for (int k = 0; k < size_; ++k)
        starts[std::size_t(k)] = send.data() + qsizetype(sendOffsets[k]) * kBlock;
    fill(starts);
    arrived = QByteArray(layOut(receiveSizes, receiveCounts, receiveOffsets), Qt::Uninitialized);
    MPI_Alltoallv(send.constData(), sendCounts.data(), sendOffsets.data(), blockType(), arrived.data(),
                  receiveCounts.data(), receiveOffsets.data(), blockType(), MPI_COMM_WORLD);
    std::vector<QByteArrayView> received(static_cast<std::size_t>(size_));
    for (int k = 0; k < size_; ++k)
        received[k] = QByteArrayView(arrived.constData() + qsizetype(receiveOffsets[k]) * kBlock, receiveSizes[k]);
    return received;
}

std::vector<QByteArray> Job::gatherToFirst(const QByteArray &bytes) const
{
    std::vector<QByteArray> parts(static_cast<std::size_t>(size_));
    if (rank_ != 0) {
        sendToFirst(bytes, {});
        return parts;
    }
    parts[0] = bytes;
    sendToFirst({}, [&](int from, QByteArrayView message) { parts[std::size_t(from)].append(message); });
    return parts;
}

namespace {
constexpr int kPartTag = 7;
}

void Job::sendToFirst(const QByteArray &mine, const std::function<void(int, QByteArrayView)> &sink) const
{
    if (rank_ != 0) {
        sendPieceToFirst(mine);
        endPartToFirst();
        return;
    }
    receiveParts(sink);
}

void Job::sendPieceToFirst(QByteArrayView piece) const
{
    sent_ += piece.size();
    for (qsizetype at = 0; at < piece.size(); at += kMessageBytes) {
        const qsizetype n = std::min(kMessageBytes, piece.size() - at);
        MPI_Send(piece.data() + at, int(n), MPI_BYTE, 0, kPartTag, MPI_COMM_WORLD);
    }
}

void Job::endPartToFirst() const
{
    MPI_Send(nullptr, 0, MPI_BYTE, 0, kPartTag, MPI_COMM_WORLD);
}

void Job::receiveParts(const std::function<void(int, QByteArrayView)> &sink) const
{
    QByteArray message(size_ > 1 ? kMessageBytes : 0, Qt::Uninitialized);
    for (int k = 1; k < size_; ++k) {
        for (;;) {
            MPI_Status status;
            MPI_Recv(message.data(), int(kMessageBytes), MPI_BYTE, k, kPartTag, MPI_COMM_WORLD, &status);
            int got = 0;
            MPI_Get_count(&status, MPI_BYTE, &got);
            if (got == 0)
                break;
            sink(k, QByteArrayView(message.constData(), got));
        }
    }
}

} // namespace wordloom::mpi
