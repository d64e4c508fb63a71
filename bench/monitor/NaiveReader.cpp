// SPDX-License-Identifier: GPL-3.0-or-later
// The floor a process watcher is measured against: every second, list /proc and read every
// process's stat and statm (open, read, close), parsing nothing beyond what a watcher keeps
// (the resident and shared pages, the CPU time). Runs until standard input closes or SIGTERM.
//
//   velmora-naive-reader [--interval SECONDS]
//
// Plain C++, no project libraries.

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

volatile sig_atomic_t stopping = 0;

void onStop(int) {
    stopping = 1;
}

long readFile(int dir, const char* name, char* buf, std::size_t capacity) {
    int fd = ::openat(dir, name, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    ssize_t n = ::read(fd, buf, capacity - 1);
    ::close(fd);
    buf[n > 0 ? n : 0] = '\0';
    return n;
}

// utime + stime: the 14th and 15th fields, counted after the name's closing parenthesis.
unsigned long long cpuTicks(const char* stat) {
    const char* at = std::strrchr(stat, ')');
    for (int field = 2; at != nullptr && field < 14; ++field) {
        at = std::strchr(at + 1, ' ');
    }
    if (at == nullptr) {
        return 0;
    }
    char* end = nullptr;
    unsigned long long user = std::strtoull(at + 1, &end, 10);
    return user + std::strtoull(end, nullptr, 10);
}

// Reads every process once; returns a checksum so that nothing is optimised away.
unsigned long long onePass() {
    unsigned long long sum = 0;
    int proc = ::open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = ::fdopendir(::dup(proc));
    char path[sizeof(dirent::d_name) + 8];
    char buf[1024];
    while (dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] < '1' || entry->d_name[0] > '9') {
            continue;
        }
        std::snprintf(path, sizeof path, "%s/stat", entry->d_name);
        if (readFile(proc, path, buf, sizeof buf) > 0) {
            sum += cpuTicks(buf);
        }
        std::snprintf(path, sizeof path, "%s/statm", entry->d_name);
        if (readFile(proc, path, buf, sizeof buf) > 0) {
            char* end = nullptr;
            std::strtoull(buf, &end, 10);
            unsigned long long resident = std::strtoull(end, &end, 10);
            sum += resident - std::strtoull(end, nullptr, 10);
        }
    }
    ::closedir(dir);
    ::close(proc);
    return sum;
}

} // namespace

int main(int argc, char** argv) {
    double interval = 1.0;
    if (argc == 3 && std::strcmp(argv[1], "--interval") == 0) {
        interval = std::atof(argv[2]);
    }
    struct sigaction action {};
    action.sa_handler = onStop;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    unsigned long long sum = 0;
    pollfd input{STDIN_FILENO, POLLIN, 0};
    while (!stopping) {
        sum += onePass();
        int ready = ::poll(&input, 1, static_cast<int>(interval * 1000));
        if (ready > 0) {
            char bytes[64];
            if (::read(STDIN_FILENO, bytes, sizeof bytes) <= 0) {
                break;
            }
        }
    }
    return sum == 42 ? 1 : 0;
}
