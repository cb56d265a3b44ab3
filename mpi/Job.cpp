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

constexpr int kExchangeTag = 8;

// Gathered byte counts travel as 8-byte blocks, so one gather may carry up
// to 16 GiB per process.
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

long long Job::earliestFailure() const
{
    long long earliest = Failure::kNowhere;
    MPI_Allreduce(&failure_.position, &earliest, 1, MPI_LONG_LONG, MPI_MIN, MPI_COMM_WORLD);
    return earliest;
}

void Job::agreeOnceSettled(long long unreadFrom)
{
    long long unread = Failure::kNowhere;
    MPI_Allreduce(&unreadFrom, &unread, 1, MPI_LONG_LONG, MPI_MIN, MPI_COMM_WORLD);
    const long long earliest = earliestFailure();
    if (earliest != Failure::kNowhere && earliest <= unread)
        agree();
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

std::vector<QByteArrayView> Job::allToAll(const std::vector<qsizetype> &sizes, qsizetype roundBytes,
                                          const PartFill &fill, QByteArray &arrived) const
{
    const auto n = static_cast<std::size_t>(size_);
    std::vector<long long> sendSizes(sizes.begin(), sizes.end()), receiveSizes(n);
    sendSizes[std::size_t(rank_)] = 0; // a process's own part stays where it is
    for (const long long bytes : sendSizes)
        sent_ += bytes;
    MPI_Alltoall(sendSizes.data(), 1, MPI_LONG_LONG, receiveSizes.data(), 1, MPI_LONG_LONG, MPI_COMM_WORLD);
    // The parts arrive end to end in one buffer, each at a multiple of 8
    // bytes, so that their fields stay aligned.
    std::vector<qsizetype> offsets(n + 1, 0);
    for (std::size_t k = 0; k < n; ++k)
        offsets[k + 1] = offsets[k] + (receiveSizes[k] + kBlock - 1) / kBlock * kBlock;
    arrived.resize(offsets[n]);
    const qsizetype round = std::clamp<qsizetype>(roundBytes, 1, kMessageBytes);
    std::vector<QByteArray> sending(n);
    std::vector<long long> sentSoFar(n, 0), receivedSoFar(n, 0);
    std::vector<MPI_Request> requests;
    for (;;) {
        requests.clear();
        // Every process sends to the next ones first, so that no process
        // is everybody's first.
        for (int step = 1; step < size_; ++step) {
            const int from = (rank_ + size_ - step) % size_;
            const qsizetype bytes = qsizetype(std::min<long long>(round, receiveSizes[from] - receivedSoFar[from]));
            if (bytes <= 0)
                continue;
            requests.emplace_back();
            MPI_Irecv(arrived.data() + offsets[from] + receivedSoFar[from], int(bytes), MPI_BYTE, from, kExchangeTag,
                      MPI_COMM_WORLD, &requests.back());
            receivedSoFar[from] += bytes;
        }
        for (int step = 1; step < size_; ++step) {
            const int to = (rank_ + step) % size_;
            const qsizetype bytes = qsizetype(std::min<long long>(round, sendSizes[to] - sentSoFar[to]));
            if (bytes <= 0)
                continue;
            QByteArray &buffer = sending[std::size_t(to)];
            if (buffer.size() < bytes)
                buffer.resize(qsizetype(std::min<long long>(round, sendSizes[to])));
            fill(to, buffer.data(), bytes);
            requests.emplace_back();
            MPI_Isend(buffer.constData(), int(bytes), MPI_BYTE, to, kExchangeTag, MPI_COMM_WORLD, &requests.back());
            sentSoFar[to] += bytes;
        }
        if (requests.empty())
            break;
        MPI_Waitall(int(requests.size()), requests.data(), MPI_STATUSES_IGNORE);
    }
    std::vector<QByteArrayView> received(n);
    for (std::size_t k = 0; k < n; ++k)
        received[k] = QByteArrayView(arrived.constData() + offsets[k], qsizetype(receiveSizes[k]));
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
