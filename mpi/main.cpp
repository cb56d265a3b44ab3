// mpirun -n N wordloom-mpi COMMAND [OPTION]... [FILE]...: runs one command
// over N processes, with the bytes and exit status wordloom-cli gives.
#include "Job.h"
#include "LauncherStreams.h"
#include "SplitCommands.h"

#include "CliErrors.h"
#include "Options.h"
#include "OutputFile.h"
#include "SideBySide.h"
#include "StandardStreams.h"
#include "TempFiles.h"

#include <mpi.h>

#include <cstdio>
#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <string>

#ifndef WORDLOOM_MPI_VERSION
#define WORDLOOM_MPI_VERSION "unknown"
#endif

namespace {

using namespace wordloom;
using namespace wordloom::mpi;

enum ExitCode { Ok = 0, Failed = 1, Usage = 2 };

std::string helpText()
{
    std::string text = cli::helpText();
    const std::size_t commands = text.find("\nCommands:");
    text.replace(0, commands,
                 "Usage: mpirun -n N wordloom-mpi COMMAND [OPTION]... [FILE]...\n"
                 "Run one Wordloom command over N processes, each on its own range of the\n"
                 "FILEs (read in turn as one text), and write the result wordloom-cli would\n"
                 "write, byte for byte, to standard output. With no FILE, or when FILE is -,\n"
                 "process 0 reads standard input and sends it to all. Input is UTF-8.\n"
                 "phrase-count cannot be split: run it with wordloom-cli.\n");
    return text;
}

int usage(const Job &job, const std::string &what)
{
    if (job.first())
        std::fprintf(stderr, "wordloom-mpi: %s (try 'wordloom-mpi --help')\n", what.c_str());
    return Usage;
}

int run(Job &job, int argc, char **argv)
{
    cli::Arguments arguments;
    try {
        arguments = cli::parseArguments(argc, argv);
    } catch (const cli::UsageError &e) {
        return usage(job, e.what());
    }
    if (arguments.action != cli::Arguments::Action::Run) {
        if (!job.first())
            return Ok;
        const std::string text = arguments.action == cli::Arguments::Action::Help
            ? helpText() : std::string("wordloom-mpi " WORDLOOM_MPI_VERSION "\n");
        // Checked as wordloom-cli checks it: a closed or full output fails.
        try {
            cli::OutputFile output(std::nullopt);
            output.write(QByteArrayView(text.data(), qsizetype(text.size())));
            output.commit();
        } catch (const cli::IoError &e) {
            std::fprintf(stderr, "wordloom-mpi: %s\n", e.what());
            return Failed;
        }
        return Ok;
    }
    if (!splits(arguments.options)) {
        if (job.first())
            std::fprintf(stderr, "wordloom-mpi: %s cannot be split across processes exactly; "
                                 "run it with wordloom-cli\n",
                         std::string(arguments.options.command->name).c_str());
        return Usage;
    }
    try {
        runSplit(job, arguments.options);
    } catch (const JobFailed &e) {
        if (job.first() && *e.what())
            std::fprintf(stderr, "wordloom-mpi: %s\n", e.what());
        return e.exitCode();
    }
    return Ok;
}

} // namespace

int main(int argc, char **argv)
{
#if defined(__GLIBC__)
    // As in wordloom-cli: text-sized buffers come and go whole.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
    // A process that waits for the others (a longer range, process 0
    // writing) yields its core instead of polling: the job has a few large
    // exchanges, never many small ones. A setting the user made stays.
    setenv("OMPI_MCA_mpi_yield_when_idle", "1", 0);
    cli::reserveStandardDescriptors();
    MPI_Init(&argc, &argv);
    cli::installTempFileCleanup();
    int code = Failed;
    {
        mpi::Job job;
        if (job.first())
            mirrorLauncherStreams();
        // Two processes on two cores gain nothing from a second thread each.
        allowSecondCore(job.hasSecondCore());
        code = run(job, argc, argv);
        std::fflush(stdout);
        // mpirun ends the whole job as soon as one process exits with a
        // failure: none leaves before process 0 has told it and removed its
        // temporary file.
        MPI_Barrier(MPI_COMM_WORLD);
    }
    MPI_Finalize();
    return code;
}
