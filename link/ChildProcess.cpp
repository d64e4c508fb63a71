// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/ChildProcess.h"

#include "base/DescriptorIo.h"
#include "base/ExecArguments.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace velmora {

namespace {

struct SocketPair {
    int parent = -1;
    int child = -1;
};

bool makeSocketPair(SocketPair& pair) {
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) {
        return false;
    }
    pair.parent = fds[0];
    pair.child = fds[1];
    return true;
}

void closeIfOpen(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

} // namespace

ChildProcess::~ChildProcess() {
    terminate(std::chrono::milliseconds(200));
    closeIfOpen(input_);
    closeIfOpen(output_);
}

std::string ChildProcess::start(const std::filesystem::path& executable,
                                const std::vector<std::string>& arguments,
                                const std::vector<std::string>& environment) {
    std::lock_guard lock(mutex_);
    if (closed_) {
        return "the backend is shutting down";
    }
    if (!reapIfExitedLocked()) {
        return "the backend is still running";
    }
    // The previous child's streams go with it.
    closeIfOpen(input_);
    closeIfOpen(output_);
    SocketPair in, out;
    if (!makeSocketPair(in) || !makeSocketPair(out)) {
        const std::string error = std::strerror(errno);
        closeIfOpen(in.parent);
        closeIfOpen(in.child);
        closeIfOpen(out.parent);
        closeIfOpen(out.child);
        return error;
    }
    // The child reads requests only and writes responses only.
    ::shutdown(in.child, SHUT_WR);
    ::shutdown(out.child, SHUT_RD);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in.child, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out.child, STDOUT_FILENO);
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);

    // The child starts with default signal dispositions and an empty mask.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<std::string> argv{executable.string()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    auto argvPointers = execArguments(argv);
    auto envPointers = execArguments(environment);

    pid_t pid = -1;
    const int error = ::posix_spawn(&pid, executable.c_str(), &actions, &attributes,
                                    argvPointers.data(), envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    closeIfOpen(in.child);
    closeIfOpen(out.child);
    if (error != 0) {
        closeIfOpen(in.parent);
        closeIfOpen(out.parent);
        return std::strerror(error);
    }
    pid_ = pid;
    exited_ = false;
    lastExit_.reset();
    input_ = in.parent;
    output_ = out.parent;
    return {};
}

void ChildProcess::noteExitLocked(int status) {
    exited_ = true;
    if (WIFSIGNALED(status)) {
        lastExit_ = ChildExit{true, WTERMSIG(status)};
    } else {
        lastExit_ = ChildExit{false, WEXITSTATUS(status)};
    }
}

bool ChildProcess::reapIfExitedLocked() {
    if (exited_) {
        return true;
    }
    int status = 0;
    const pid_t r = retryOnInterrupt([&] { return ::waitpid(pid_, &status, WNOHANG); });
    if (r == pid_) {
        noteExitLocked(status);
    } else if (r < 0 && errno == ECHILD) {
        exited_ = true; // reaped elsewhere: how it ended is unknown
    }
    return exited_;
}

bool ChildProcess::running() {
    std::lock_guard lock(mutex_);
    return !reapIfExitedLocked();
}

void ChildProcess::shutdownStreams() {
    std::lock_guard lock(mutex_);
    if (input_ >= 0) {
        ::shutdown(input_, SHUT_RDWR);
    }
    if (output_ >= 0) {
        ::shutdown(output_, SHUT_RDWR);
    }
}

void ChildProcess::close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    if (input_ >= 0) {
        ::shutdown(input_, SHUT_RDWR);
    }
    if (output_ >= 0) {
        ::shutdown(output_, SHUT_RDWR);
    }
}

std::optional<ChildExit> ChildProcess::lastExit() {
    std::lock_guard lock(mutex_);
    reapIfExitedLocked();
    return lastExit_;
}

std::optional<ChildExit> ChildProcess::waitForExit(std::chrono::milliseconds grace) {
    const auto deadline = std::chrono::steady_clock::now() + grace;
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (reapIfExitedLocked()) {
                return lastExit_;
            }
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

std::optional<ChildExit> ChildProcess::terminate(std::chrono::milliseconds grace) {
    {
        std::lock_guard lock(mutex_);
        if (reapIfExitedLocked()) {
            return lastExit_;
        }
        ::kill(pid_, SIGTERM);
        ::kill(pid_, SIGCONT);
    }
    if (auto ended = waitForExit(grace)) {
        return ended;
    }
    std::lock_guard lock(mutex_);
    if (reapIfExitedLocked()) {
        return lastExit_;
    }
    ::kill(pid_, SIGKILL);
    int status = 0;
    const pid_t r = retryOnInterrupt([&] { return ::waitpid(pid_, &status, 0); });
    if (r == pid_) {
        noteExitLocked(status);
    } else {
        exited_ = true;
    }
    return lastExit_;
}

} // namespace velmora
