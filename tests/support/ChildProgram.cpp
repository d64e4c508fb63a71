// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/ChildProgram.h"

#include "base/DescriptorIo.h"
#include "base/ExecArguments.h"
#include "base/UniqueFd.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace velmora::testing {
namespace {

// Both ends of a pipe, closed with it unless taken.
struct Pipe {
    UniqueFd read;
    UniqueFd write;
    bool open() {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            return false;
        }
        read.reset(fds[0]);
        write.reset(fds[1]);
        return true;
    }
};

} // namespace

ChildProgram::ChildProgram(const std::string& program, std::vector<std::string> argv)
    : ChildProgram(program, std::move(argv), Options{}) {}

ChildProgram::ChildProgram(const std::string& program, std::vector<std::string> argv,
                           Options options) {
    start(program, std::move(argv), options);
}

void ChildProgram::start(const std::string& program, std::vector<std::string> argv,
                         const Options& options) {
    // Everything the child needs is prepared before fork: it only calls async-signal-safe
    // functions between fork and exec.
    auto argvPointers = execArguments(argv);
    std::vector<std::string> environment = options.environment.value_or(std::vector<std::string>{});
    auto environmentPointers = execArguments(environment);
    char** envp = options.environment ? environmentPointers.data() : environ;
    Pipe in, out, exec;
    if ((options.pipeInput && !in.open()) || (options.pipeOutput && !out.open()) || !exec.open()) {
        startError_ = errno;
        return;
    }
    pid_ = ::fork();
    if (pid_ == 0) {
        if (in.read.valid()) {
            ::dup2(in.read.get(), STDIN_FILENO);
        }
        if (out.write.valid()) {
            ::dup2(out.write.get(), STDOUT_FILENO);
        }
        const std::optional<uid_t>& user = options.asUser;
        if (user && (::setgroups(0, nullptr) != 0 || ::setresgid(*user, *user, *user) != 0 ||
                     ::setresuid(*user, *user, *user) != 0)) {
            const int error = errno;
            [[maybe_unused]] const auto ignored = ::write(exec.write.get(), &error, sizeof error);
            ::_exit(126);
        }
        // A test that ignores SIGPIPE for itself does not pass that on: the program meets a
        // closed pipe as it would anywhere.
        ::signal(SIGPIPE, SIG_DFL);
        ::execve(program.c_str(), argvPointers.data(), envp);
        const int error = errno;
        [[maybe_unused]] const auto ignored = ::write(exec.write.get(), &error, sizeof error);
        ::_exit(127);
    }
    if (pid_ < 0) {
        startError_ = errno;
        return;
    }
    exec.write.reset();
    input_ = std::move(in.write);
    output_ = std::move(out.read);
    // The exec closes the pipe (close-on-exec): nothing to read. A failed exec sends errno.
    int error = 0;
    if (readExactly(exec.read.get(), &error, sizeof error)) {
        startError_ = error;
        waitFor(std::chrono::seconds(5));
    }
}

ChildProgram::~ChildProgram() {
    closeInput();
    closeOutput();
    if (pid_ > 0 && !status_) {
        ::kill(pid_, SIGKILL);
        retryOnInterrupt([&] { return ::waitpid(pid_, nullptr, 0); });
    }
}

void ChildProgram::closeInput() {
    input_.reset();
}

void ChildProgram::closeOutput() {
    output_.reset();
}

bool ChildProgram::running() {
    if (pid_ > 0 && !status_) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = status;
        }
    }
    return pid_ > 0 && !status_;
}

std::optional<int> ChildProgram::waitFor(std::chrono::milliseconds timeout) {
    if (!running()) {
        return status_;
    }
    // A pidfd becomes readable when the process ends: no polling loop.
    const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
    if (pidfd >= 0) {
        pollfd ended{pidfd, POLLIN, 0};
        retryOnInterrupt([&] { return ::poll(&ended, 1, static_cast<int>(timeout.count())); });
        ::close(pidfd);
    }
    running();
    return status_;
}

} // namespace velmora::testing
