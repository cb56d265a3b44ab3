#include "LauncherStreams.h"

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace wordloom::mpi {

namespace {

std::string linkOf(const std::string &path)
{
    char target[256];
    const ssize_t length = readlink(path.c_str(), target, sizeof target);
    return length > 0 ? std::string(target, std::size_t(length)) : std::string();
}

// Whether the parent is Open MPI's (or another) mpirun: a daemon on another
// machine (orted) or a batch system's step holds nothing of the user's.
bool parentIsLauncher(const std::string &parent)
{
    std::string exe = linkOf(parent + "/exe");
    exe = exe.substr(exe.rfind('/') + 1);
    for (const char *name : {"orterun", "mpirun", "mpiexec", "prterun"})
        if (exe.rfind(name, 0) == 0)
            return true;
    return false;
}

// The access mode the parent's descriptor was opened with, or -1: closed.
int accessMode(const std::string &parent, int fd)
{
    std::FILE *info = std::fopen((parent + "/fdinfo/" + std::to_string(fd)).c_str(), "re");
    if (!info)
        return -1;
    unsigned flags = 0;
    char line[128];
    bool found = false;
    while (!found && std::fgets(line, sizeof line, info))
        found = std::sscanf(line, "flags: %o", &flags) == 1;
    std::fclose(info);
    return found ? int(flags & O_ACCMODE) : -1;
}

// Whether the parent holds the pipe at `fd` under another number too: a pipe
// it made itself after the user's stream was closed.
bool ownPipe(const std::string &parent, int fd)
{
    const std::string pipe = linkOf(parent + "/fd/" + std::to_string(fd));
    if (pipe.rfind("pipe:", 0) != 0)
        return false;
    DIR *fds = opendir((parent + "/fd").c_str());
    if (!fds)
        return false;
    bool both = false;
    while (const dirent *entry = readdir(fds)) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." && name != std::to_string(fd) && linkOf(parent + "/fd/" + name) == pipe)
            both = true;
    }
    closedir(fds);
    return both;
}

bool lacks(const std::string &parent, int fd, int mode)
{
    const int has = accessMode(parent, fd);
    return has < 0 || (has != mode && has != O_RDWR) || ownPipe(parent, fd);
}

void closeAsTheCliSees(int fd, int wrongMode)
{
    const int opened = ::open("/dev/null", wrongMode | O_CLOEXEC);
    if (opened < 0)
        return;
    ::dup2(opened, fd);
    ::close(opened);
}

// A device the launcher writes to (/dev/null, /dev/full) is written here
// directly, so that what it refuses is refused here; a terminal stays with
// mpirun, which keeps the processes' lines apart.
void writeToDevice(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    if (!isatty(fd))
        ::dup2(fd, STDOUT_FILENO);
    ::close(fd);
}

} // namespace

void mirrorLauncherStreams()
{
    const std::string parent = "/proc/" + std::to_string(getppid());
    if (!parentIsLauncher(parent))
        return;
    if (lacks(parent, STDIN_FILENO, O_RDONLY))
        closeAsTheCliSees(STDIN_FILENO, O_WRONLY);
    struct stat output {};
    if (lacks(parent, STDOUT_FILENO, O_WRONLY))
        closeAsTheCliSees(STDOUT_FILENO, O_RDONLY);
    else if (stat((parent + "/fd/1").c_str(), &output) == 0 && S_ISCHR(output.st_mode))
        writeToDevice(parent + "/fd/1");
}

} // namespace wordloom::mpi
