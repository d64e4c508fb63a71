// SPDX-License-Identifier: GPL-3.0-or-later
// Real idle processes in families, for measuring what watching a crowded /proc costs.
//
//   velmora-idle-crowd --processes N [--family-size F]
//
// Copies itself into a fresh temporary folder once and links it there under one name per
// family (app-0, app-1...), so that each family has an executable of its own, as
// applications do. Each family's first process execs its own name, then forks F - 1
// children; every process then sleeps in pause(). Prints "ready N" on standard output once
// all are started, and ends them all (and removes the folder) when standard input closes or
// on SIGTERM or SIGINT. Every process dies with its parent, whatever kills it.
//
// Plain C++, no project libraries.

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/prctl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "velmora-idle-crowd: %s: %s\n", what, std::strerror(errno));
    std::exit(1);
}

// Dies with the parent; returns false when the parent is already gone.
bool followParent(pid_t parent) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    return ::getppid() == parent;
}

[[noreturn]] void sleepForever() {
    for (;;) {
        ::pause();
    }
}

// One family: this process and members - 1 children, all idle. Tells the crowd through
// `readyFd` once they are all started.
[[noreturn]] void runFamily(int members, int readyFd) {
    const pid_t self = ::getpid();
    for (int i = 1; i < members; ++i) {
        pid_t child = ::fork();
        if (child == 0) {
            ::close(readyFd);
            if (!followParent(self)) {
                ::_exit(0);
            }
            sleepForever();
        }
        if (child < 0) {
            fail("fork");
        }
    }
    char byte = 1;
    if (::write(readyFd, &byte, 1) != 1) {
        fail("write");
    }
    ::close(readyFd);
    sleepForever();
}

void copyFile(const char* from, const std::string& to) {
    int in = ::open(from, O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        fail("open own executable");
    }
    struct stat info {};
    ::fstat(in, &info);
    int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0755);
    if (out < 0) {
        fail("create copy");
    }
    off_t offset = 0;
    while (offset < info.st_size) {
        if (::sendfile(out, in, &offset, static_cast<std::size_t>(info.st_size - offset)) <= 0) {
            fail("copy own executable");
        }
    }
    ::close(in);
    ::close(out);
}

volatile sig_atomic_t stopping = 0;

void onStop(int) {
    stopping = 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--family") == 0) {
        runFamily(std::atoi(argv[2]), std::atoi(argv[3]));
    }
    int processes = 300;
    int familySize = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--processes") == 0) {
            processes = std::atoi(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--family-size") == 0) {
            familySize = std::atoi(argv[i + 1]);
        }
    }
    if (processes < 1 || familySize < 1) {
        std::fprintf(stderr, "usage: velmora-idle-crowd --processes N [--family-size F]\n");
        return 2;
    }

    char folder[] = "/tmp/velmora-crowd-XXXXXX";
    if (::mkdtemp(folder) == nullptr) {
        fail("mkdtemp");
    }
    const std::string program = std::string(folder) + "/crowd";
    copyFile("/proc/self/exe", program);

    struct sigaction action {};
    action.sa_handler = onStop;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);

    int ready[2];
    if (::pipe(ready) != 0) {
        fail("pipe");
    }
    const pid_t self = ::getpid();
    const int families = (processes + familySize - 1) / familySize;
    std::vector<std::string> names;
    for (int f = 0; f < families; ++f) {
        const int members = std::min(familySize, processes - f * familySize);
        std::string name = std::string(folder) + "/app-" + std::to_string(f);
        if (::link(program.c_str(), name.c_str()) != 0) {
            fail("link");
        }
        names.push_back(name);
        pid_t head = ::fork();
        if (head == 0) {
            ::close(ready[0]);
            if (!followParent(self)) {
                ::_exit(0);
            }
            std::string count = std::to_string(members);
            std::string fd = std::to_string(ready[1]);
            const char* base = std::strrchr(name.c_str(), '/') + 1;
            ::execl(name.c_str(), base, "--family", count.c_str(), fd.c_str(),
                    static_cast<char*>(nullptr));
            fail("exec");
        }
        if (head < 0) {
            fail("fork");
        }
    }
    ::close(ready[1]);
    int started = 0;
    char bytes[256];
    while (started < families && !stopping) {
        ssize_t n = ::read(ready[0], bytes, sizeof bytes);
        if (n <= 0 && errno != EINTR) {
            break;
        }
        started += n > 0 ? static_cast<int>(n) : 0;
    }
    std::printf("ready %d\n", started == families ? processes : 0);
    std::fflush(stdout);
    while (!stopping) {
        ssize_t n = ::read(STDIN_FILENO, bytes, sizeof bytes);
        if (n == 0 || (n < 0 && errno != EINTR)) {
            break;
        }
    }
    for (const std::string& name : names) {
        ::unlink(name.c_str());
    }
    ::unlink(program.c_str());
    ::rmdir(folder);
    // The families die with this process (their parent death signal).
    return 0;
}
