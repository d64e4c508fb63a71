// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/where/ToolProcess.h"

#include "base/Clocks.h"
#include "base/DescriptorIo.h"
#include "base/Environment.h"
#include "base/ExecArguments.h"
#include "monitor/common/DisplayText.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora {
namespace {

// Runs in the child between fork and exec: async-signal-safe calls only.
[[noreturn]] void becomeTool(const char* program, char* const* argv, char* const* envp,
                             const char* directory, int output, int errorPipe, int deathSignal,
                             pid_t parent) {
    ::setpgid(0, 0);
    if (deathSignal != 0) {
        ::prctl(PR_SET_PDEATHSIG, deathSignal, 0, 0, 0);
        if (::getppid() != parent) {
            ::raise(deathSignal); // the parent went before the request took hold
        }
    }
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int sig : {SIGINT, SIGQUIT, SIGPIPE, SIGTERM, SIGHUP, SIGCHLD}) {
        ::signal(sig, SIG_DFL);
    }
    int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
        ::dup2(null, 0);
    }
    int target = output >= 0 ? output : null;
    if (target >= 0) {
        ::dup2(target, 1);
        ::dup2(target, 2);
    }
    if (directory[0] != '\0' && ::chdir(directory) != 0) {
        int error = errno;
        (void)!::write(errorPipe, &error, sizeof error);
        ::_exit(127);
    }
    ::execve(program, argv, envp);
    int error = errno;
    (void)!::write(errorPipe, &error, sizeof error);
    ::_exit(127);
}

} // namespace

std::vector<std::string> offlineEnvironment(const std::vector<std::string>& environment) {
    std::vector<std::string> out = environment.empty() ? childEnvironment({}) : environment;
    std::erase_if(out,
                  [](const std::string& entry) { return entry.rfind("DEBUGINFOD_URLS=", 0) == 0; });
    return out;
}

std::string lastLine(const std::string& output) {
    std::size_t end = output.find_last_not_of("\n\r \t");
    if (end == std::string::npos) {
        return {};
    }
    std::size_t start = output.rfind('\n', end);
    start = start == std::string::npos ? 0 : start + 1;
    return displayText(std::string_view(output).substr(start, end + 1 - start), 300);
}

bool exitedCleanly(const std::optional<int>& status) {
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

std::unique_ptr<ToolProcess> ToolProcess::start(const std::string& program,
                                                const std::vector<std::string>& arguments,
                                                const ToolOptions& options, std::string& error) {
    int output[2] = {-1, -1};
    int errorPipe[2];
    bool piped = !options.discardOutput && options.outputFile.empty();
    if (::pipe2(errorPipe, O_CLOEXEC) != 0) {
        error = std::string("Could not start ") + program + ": " + std::strerror(errno);
        return nullptr;
    }
    if (piped && ::pipe2(output, O_CLOEXEC) != 0) {
        error = std::string("Could not start ") + program + ": " + std::strerror(errno);
        ::close(errorPipe[0]);
        ::close(errorPipe[1]);
        return nullptr;
    }
    if (!options.outputFile.empty()) {
        output[1] =
            ::open(options.outputFile.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    }
    // Everything the child needs is prepared before fork: no allocation after it.
    std::vector<std::string> argvStrings = arguments.empty() ? std::vector{program} : arguments;
    auto argv = execArguments(argvStrings);
    std::vector<std::string> environment = options.environment;
    if (environment.empty()) {
        environment = offlineEnvironment();
    }
    auto envp = execArguments(environment);
    pid_t parent = ::getpid();
    pid_t pid = ::fork();
    if (pid == 0) {
        becomeTool(program.c_str(), argv.data(), envp.data(), options.workingDirectory.c_str(),
                   output[1], errorPipe[1], options.parentDeathSignal, parent);
    }
    ::close(errorPipe[1]);
    if (output[1] >= 0) {
        ::close(output[1]);
    }
    if (pid < 0) {
        error = std::string("Could not start ") + program + ": " + std::strerror(errno);
        ::close(errorPipe[0]);
        if (output[0] >= 0) {
            ::close(output[0]);
        }
        return nullptr;
    }
    std::unique_ptr<ToolProcess> tool(new ToolProcess(pid, output[0]));
    ::setpgid(pid, pid); // also from this side, so the group exists before we signal it
    int execError = 0;
    bool failed = readExactly(errorPipe[0], &execError, sizeof execError);
    ::close(errorPipe[0]);
    if (failed) {
        error = "Could not run " + program + ": " + std::strerror(execError) + ".";
        std::string ignored;
        tool->waitFor(5, ignored);
        return nullptr;
    }
    if (tool->output_ >= 0) {
        ::fcntl(tool->output_, F_SETFL, ::fcntl(tool->output_, F_GETFL) | O_NONBLOCK);
    }
    return tool;
}

ToolProcess::~ToolProcess() {
    if (!letGo_ && !exited()) {
        signalGroup(SIGKILL);
        retryOnInterrupt([&] { return ::waitpid(pid_, nullptr, 0); });
    }
    if (output_ >= 0) {
        ::close(output_);
    }
}

bool ToolProcess::readAvailable(std::string& into, std::size_t limit) {
    return readAvailable([&](std::string_view chunk) {
        into.append(chunk);
        if (into.size() > limit) {
            into.erase(0, into.size() - limit);
        }
    });
}

bool ToolProcess::readAvailable(const std::function<void(std::string_view)>& sink) {
    if (output_ < 0) {
        return false;
    }
    char buffer[65536];
    for (;;) {
        ssize_t n = readSome(output_, buffer, sizeof buffer);
        if (n > 0) {
            sink(std::string_view(buffer, static_cast<std::size_t>(n)));
            continue;
        }
        if (n < 0 && errno == EAGAIN) {
            return true;
        }
        ::close(output_);
        output_ = -1;
        return false;
    }
}

std::optional<int> ToolProcess::exited() {
    if (status_) {
        return status_;
    }
    int status = 0;
    pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
        status_ = status;
    } else if (done < 0 && errno == ECHILD) {
        status_ = -1; // reaped elsewhere
    }
    return status_;
}

std::optional<int> ToolProcess::waitFor(double seconds, std::string& output) {
    double deadline = steadySeconds() + seconds;
    for (;;) {
        bool open = readAvailable(output);
        if (auto status = exited(); status && !open) {
            return status;
        }
        double left = deadline - steadySeconds();
        if (left <= 0) {
            return exited();
        }
        // The output may stay open in a grandchild after the tool itself has ended.
        int slice = static_cast<int>(std::min(left, exited() ? 0.02 : 0.1) * 1000) + 1;
        if (open) {
            pollfd ready{output_, POLLIN, 0};
            ::poll(&ready, 1, slice);
        } else {
            ::poll(nullptr, 0, slice);
        }
        if (exited() && !open) {
            return status_;
        }
    }
}

void ToolProcess::signalGroup(int signal) const {
    if (pid_ > 0) {
        ::kill(-pid_, signal);
    }
}

ToolRun runTool(const std::string& program, const std::vector<std::string>& arguments,
                double timeoutSeconds, const ToolOptions& options) {
    ToolRun run;
    std::string error;
    auto tool = ToolProcess::start(program, arguments, options, error);
    if (!tool) {
        run.output = error;
        return run;
    }
    run.started = true;
    auto status = tool->waitFor(timeoutSeconds, run.output);
    if (!status) {
        run.timedOut = true;
        return run; // the destructor kills the group
    }
    run.status = *status;
    return run;
}

} // namespace velmora
