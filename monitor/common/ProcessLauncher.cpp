// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/common/ProcessLauncher.h"

#include "base/DescriptorIo.h"
#include "base/ExecArguments.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace velmora {
namespace {

void redirectToNull() {
    int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
        ::dup2(null, 0);
        ::dup2(null, 1);
        ::dup2(null, 2);
        if (null > 2) {
            ::close(null);
        }
    }
}

} // namespace

LaunchResult launchDetached(const std::string& program, const std::vector<std::string>& arguments,
                            const std::vector<std::string>& environment,
                            const std::string& workingDirectory) {
    LaunchResult result;
    int pidPipe[2];
    int errorPipe[2];
    if (::pipe2(pidPipe, O_CLOEXEC) != 0) {
        result.error = std::string("Could not start: ") + std::strerror(errno);
        return result;
    }
    if (::pipe2(errorPipe, O_CLOEXEC) != 0) {
        ::close(pidPipe[0]);
        ::close(pidPipe[1]);
        result.error = std::string("Could not start: ") + std::strerror(errno);
        return result;
    }
    // Everything the children need is prepared before fork: no allocation after it.
    std::vector<std::string> argvStrings = arguments;
    if (argvStrings.empty()) {
        argvStrings.push_back(program);
    }
    auto argv = execArguments(argvStrings);
    auto envp = execArguments(environment);
    char** envpPointer = environment.empty() ? environ : envp.data();
    bool search = program.find('/') == std::string::npos;

    pid_t middle = ::fork();
    if (middle < 0) {
        result.error = std::string("Could not start: ") + std::strerror(errno);
        for (int fd : {pidPipe[0], pidPipe[1], errorPipe[0], errorPipe[1]}) {
            ::close(fd);
        }
        return result;
    }
    if (middle == 0) {
        ::setsid();
        pid_t child = ::fork();
        if (child == 0) {
            sigset_t none;
            sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            ::signal(SIGPIPE, SIG_DFL);
            redirectToNull();
            if (!workingDirectory.empty() && ::chdir(workingDirectory.c_str()) != 0) {
                (void)!::chdir("/"); // "/" is always there; the exec says what failed
            }
            if (search) {
                ::execvpe(program.c_str(), argv.data(), envpPointer);
            } else {
                ::execve(program.c_str(), argv.data(), envpPointer);
            }
            int error = errno;
            (void)!::write(errorPipe[1], &error, sizeof error);
            ::_exit(127);
        }
        (void)!::write(pidPipe[1], &child, sizeof child);
        ::_exit(child < 0 ? 1 : 0);
    }
    ::close(pidPipe[1]);
    ::close(errorPipe[1]);
    pid_t child = -1;
    bool gotPid = readExactly(pidPipe[0], &child, sizeof child);
    ::close(pidPipe[0]);
    int status = 0;
    retryOnInterrupt([&] { return ::waitpid(middle, &status, 0); });
    int execError = 0;
    bool failed = readExactly(errorPipe[0], &execError, sizeof execError);
    ::close(errorPipe[0]);
    if (!gotPid || child <= 0) {
        result.error = "Could not start the new process.";
    } else if (failed) {
        result.error = "Could not run " + program + ": " + std::strerror(execError) + ".";
    } else {
        result.ok = true;
        result.pid = child;
    }
    return result;
}

namespace {

// Tools still running when runWithInput stopped waiting (a clipboard tool may stay to serve the
// selection). They are reaped later, so none stays our zombie. Only the request thread runs
// tools.
std::vector<pid_t>& lingeringChildren() {
    static std::vector<pid_t> children;
    return children;
}

double secondsUntil(std::chrono::steady_clock::time_point deadline) {
    return std::chrono::duration<double>(deadline - std::chrono::steady_clock::now()).count();
}

// Writes all of `input` before the deadline, waiting while the reader is slow; false when the
// reader went away or the deadline passed.
bool writeBefore(int fd, const std::string& input, std::chrono::steady_clock::time_point deadline) {
    std::size_t written = 0;
    while (written < input.size()) {
        ssize_t n = sendSome(fd, input.data() + written, input.size() - written,
                             MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
            continue;
        }
        double left = secondsUntil(deadline);
        if (n == 0 || errno != EAGAIN || left <= 0) {
            return false;
        }
        pollfd ready{fd, POLLOUT, 0};
        ::poll(&ready, 1, static_cast<int>(left * 1000) + 1);
    }
    return true;
}

} // namespace

void reapLingeringChildren() {
    std::erase_if(lingeringChildren(), [](pid_t pid) {
        int status = 0;
        pid_t done = ::waitpid(pid, &status, WNOHANG);
        return done == pid || (done < 0 && errno == ECHILD);
    });
}

bool runWithInput(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& input, double timeoutSeconds) {
    reapLingeringChildren();
    int in[2];
    // A socket rather than a pipe: a tool that exits unread gives EPIPE, never SIGPIPE.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, in) != 0) {
        return false;
    }
    auto argv = execArguments(arguments);
    pid_t pid = ::fork();
    if (pid < 0) {
        ::close(in[0]);
        ::close(in[1]);
        return false;
    }
    if (pid == 0) {
        ::dup2(in[0], 0);
        int null = ::open("/dev/null", O_WRONLY);
        if (null >= 0) {
            ::dup2(null, 1);
            ::dup2(null, 2);
        }
        ::signal(SIGPIPE, SIG_DFL);
        ::execvp(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(in[0]);
    auto deadline = std::chrono::steady_clock::now() +
                    std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                        std::chrono::duration<double>(timeoutSeconds));
    bool delivered = writeBefore(in[1], input, deadline);
    ::close(in[1]);
    int status = 0;
    for (;;) {
        pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            return delivered && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
        if (secondsUntil(deadline) <= 0) {
            // A clipboard tool may stay to serve the selection; it has taken the input.
            lingeringChildren().push_back(pid);
            return delivered;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace velmora
