#pragma once

#include <mpi.h>

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace wordloom::mpi {

// What ended the job, agreed by every process: the exit status and the one
// line that process 0 prints.
class JobFailed : public std::runtime_error {
public:
    JobFailed(int exitCode, const std::string &message)
        : std::runtime_error(message), exitCode_(exitCode) {}
    int exitCode() const { return exitCode_; }

private:
    int exitCode_;
};

// A failure one process met. Where several processes fail, the one earliest
// in the input wins, as when one process reads it all in order.
struct Failure {
    static constexpr long long kNowhere = std::numeric_limits<long long>::max();
    long long position = kNowhere; // in the whole input; kNowhere: none
    int exitCode = 1;
    std::string message;
    bool failed() const { return position != kNowhere; }
};

// One process of the job: its rank among `size`, and the steps all of them
// take together.
class Job {
public:
    Job();
    int rank() const { return rank_; }
    int size() const { return size_; }
    bool first() const { return rank_ == 0; }
    bool last() const { return rank_ == size_ - 1; }
    // Whether this process has a second core to itself (collective): it may
    // run on two (mpirun binds each process to one core when it starts two
    // or fewer), and the machine has two for each of the job's processes
    // on it.
    bool hasSecondCore() const;

    // Failures of the command's own work are told as wordloom-cli tells
    // them: "COMMAND: reason".
    void setCommandName(std::string name) { commandName_ = std::move(name); }
    // Runs `work` here, keeping whatever it throws as a failure at
    // `position` (by default after any failure in the input).
    void attempt(const std::function<void()> &work, long long position = Failure::kNowhere - 1);
    // Records a failure at a position, unless an earlier one is held.
    void fail(long long position, int exitCode, const std::string &message);
    // Whether this process holds a failure: work that would only add to it stops.
    bool failing() const { return failure_.failed(); }
    // Whether it holds one before `position`: input from there on can only
    // add later ones.
    bool failingBefore(long long position) const { return failure_.position < position; }
    // The earliest failure any process holds (collective); kNowhere: none.
    long long earliestFailure() const;
    // Every process waits here (asleep: the waits at the steps' ends are
    // long, a range taking longer than another, and a polling wait would
    // take a core from the processes still working, which an oversubscribed
    // or shared machine needs); when any holds a failure, the earliest is
    // thrown on all as JobFailed. Returns the sum of `bytesDone` over them.
    long long agree(long long bytesDone = 0);
    // Every process waits here, asleep as in agree(), and nothing more.
    void waitForAll() const;
    // agree(), but only once no process can still come upon an earlier
    // failure than the earliest held (collective): each tells where its
    // unread input begins (kNowhere: none left, or it stopped at a failure
    // of its own).
    void agreeOnceSettled(long long unreadFrom);

    // The value from every process, in rank order.
    std::vector<long long> allGather(long long value) const;
    // Bytes from every process, in rank order.
    std::vector<QByteArray> allGather(const QByteArray &bytes) const;
    // Part k goes to process k, at most `roundBytes` to each process a
    // round, through send buffers kept from round to round (so the exchange
    // faults in no fresh pages the size of what it sends): `sizes` are the
    // parts' bytes, fill(k, out, bytes) writes the next `bytes` of part k
    // at `out`. What each process sent here, as views into `arrived`, which
    // keeps the pages of the buffer it held, if any.
    using PartFill = std::function<void(int to, char *out, qsizetype bytes)>;
    std::vector<QByteArrayView> allToAll(const std::vector<qsizetype> &sizes, qsizetype roundBytes,
                                         const PartFill &fill, QByteArray &arrived) const;
    // Bytes from every process to process 0, in rank order.
    std::vector<QByteArray> gatherToFirst(const QByteArray &bytes) const;
    // The bytes of processes 1 to size - 1 to process 0, in rank order,
    // handed there to `sink` a message at a time (process 0 writes its own
    // first). The sink must not throw: the others wait until it has all.
    void sendToFirst(const QByteArray &mine, const std::function<void(int from, QByteArrayView)> &sink) const;
    // The same in steps, for a part that comes a piece at a time: on
    // processes 1 to size - 1 its pieces, then its end (always sent, even
    // after a failure, or process 0 waits for ever); on process 0 the rest.
    void sendPieceToFirst(QByteArrayView piece) const;
    void endPartToFirst() const;
    void receiveParts(const std::function<void(int from, QByteArrayView)> &sink) const;

    // Bytes this process has sent to the others so far.
    long long bytesSent() const { return sent_; }

private:
    int rank_ = 0;
    int size_ = 1;
    Failure failure_;
    std::string commandName_;
    mutable long long sent_ = 0;
};

} // namespace wordloom::mpi
