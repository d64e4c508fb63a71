// SPDX-License-Identifier: GPL-3.0-or-later
// A helper process for the shared-memory and exec tests. It writes "ready" on its standard
// output once its memory is in place, then waits; every mode ends after 120 s.
//   held MIB          a memfd of MIB written through its descriptor, never mapped
//   held-mapped MIB   a memfd of MIB mapped and written, its descriptor kept open
//   devshm MIB        a /dev/shm file of MIB mapped and written; name and descriptor dropped
//   pair MIB          a memfd of MIB mapped and written by this process and by a child it
//                     forks ("ready CHILD_PID")
//   grow-held         one more held memfd of 4 MiB for every line read ("ready COUNT")
//   exec PROGRAM ARGV...  writes "launcher", waits for a line, then becomes PROGRAM with the
//                     arguments ARGV (its argv[0] first)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

const auto kDeadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);

void say(const std::string& line) {
    std::string text = line + "\n";
    if (::write(1, text.data(), text.size()) < 0) {
        std::_Exit(4);
    }
}

// Waits for a line on standard input; false at its end or at the deadline.
bool readLine() {
    while (std::chrono::steady_clock::now() < kDeadline) {
        pollfd in{0, POLLIN, 0};
        if (::poll(&in, 1, 200) <= 0) {
            continue;
        }
        char c = 0;
        while (::read(0, &c, 1) == 1) {
            if (c == '\n') {
                return true;
            }
        }
        return false;
    }
    return false;
}

void waitForDeadline() {
    while (std::chrono::steady_clock::now() < kDeadline) {
        ::poll(nullptr, 0, 200);
    }
}

int heldMemfd(std::size_t mib) {
    int fd = ::memfd_create("velmora-held", MFD_CLOEXEC);
    std::string block(1 << 20, 'h');
    for (std::size_t i = 0; fd >= 0 && i < mib; ++i) {
        if (::write(fd, block.data(), block.size()) != static_cast<ssize_t>(block.size())) {
            std::_Exit(3);
        }
    }
    return fd;
}

char* mapped(int fd, std::size_t mib) {
    std::size_t bytes = mib << 20;
    if (fd < 0 || ::ftruncate(fd, static_cast<off_t>(bytes)) != 0) {
        std::_Exit(3);
    }
    void* block = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (block == MAP_FAILED) {
        std::_Exit(3);
    }
    std::memset(block, 0x5a, bytes);
    return static_cast<char*>(block);
}

} // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    std::size_t mib = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 0;
    if (mode == "held" && mib > 0) {
        heldMemfd(mib);
    } else if (mode == "held-mapped" && mib > 0) {
        mapped(::memfd_create("velmora-mapped", MFD_CLOEXEC), mib);
    } else if (mode == "devshm" && mib > 0) {
        std::string name = "/velmora-test-" + std::to_string(::getpid());
        int fd = ::shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
        mapped(fd, mib);
        ::shm_unlink(name.c_str());
        ::close(fd);
    } else if (mode == "pair" && mib > 0) {
        int fd = ::memfd_create("velmora-pair", MFD_CLOEXEC);
        char* block = mapped(fd, mib);
        int ready[2];
        if (::pipe(ready) != 0) {
            return 3;
        }
        pid_t child = ::fork();
        if (child == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            volatile char sum = 0;
            for (std::size_t i = 0; i < (mib << 20); i += 4096) {
                sum = static_cast<char>(sum + block[i]);
            }
            ::close(ready[0]);
            if (::write(ready[1], "x", 1) != 1) {
                std::_Exit(3);
            }
            waitForDeadline();
            std::_Exit(0);
        }
        char c = 0;
        ::close(ready[1]);
        if (child < 0 || ::read(ready[0], &c, 1) != 1) {
            return 3;
        }
        say("ready " + std::to_string(child));
        waitForDeadline();
        ::kill(child, SIGKILL);
        return 0;
    } else if (mode == "grow-held") {
        int count = 0;
        heldMemfd(4);
        say("ready " + std::to_string(++count));
        while (readLine()) {
            heldMemfd(4);
            say("ready " + std::to_string(++count));
        }
        return 0;
    } else if (mode == "exec" && argc > 3) {
        say("launcher");
        if (!readLine()) {
            return 0;
        }
        ::execv(argv[2], argv + 3);
        return 5;
    } else {
        return 2;
    }
    say("ready");
    waitForDeadline();
    return 0;
}
