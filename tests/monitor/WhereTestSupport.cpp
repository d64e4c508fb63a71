#include "WhereTestSupport.h"

#include "monitor/where/HeapTools.h"

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora::testing {

std::optional<std::string> heapTrackingUnavailable() {
    HeapTools tools = HeapTools::find();
    if (auto missing = tools.missingPackages(true); !missing.empty()) {
        return missingToolsText(missing);
    }
    std::ifstream scope("/proc/sys/kernel/yama/ptrace_scope");
    int value = 0;
    if (scope >> value && value > 0 && ::geteuid() != 0) {
        return "ptrace is limited here (/proc/sys/kernel/yama/ptrace_scope is " +
               std::to_string(value) + ")";
    }
    return std::nullopt;
}

std::string refusedAttachMessage(pid_t pid) {
    return "The kernel refused to let heaptrack attach to where_leaker (PID " +
           std::to_string(pid) +
           "): another debugger may be attached to it, or a security policy forbids it.";
}

int leakerLine(const std::string& fragment) {
    std::ifstream source(VELMORA_WHERE_LEAKER_SOURCE);
    std::string line;
    for (int number = 1; std::getline(source, line); ++number) {
        if (line.find(fragment) != std::string::npos) {
            return number;
        }
    }
    return 0;
}

Spawned::Spawned(const std::string& program, std::vector<std::string> arguments,
                 std::vector<std::string> environment, std::optional<uid_t> asUser) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        return;
    }
    arguments.insert(arguments.begin(), program);
    std::vector<char*> argv;
    for (auto& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(out[1], 1);
        for (auto& variable : environment) {
            ::putenv(variable.data());
        }
        if (asUser &&
            (::setgroups(0, nullptr) != 0 || ::setresgid(*asUser, *asUser, *asUser) != 0 ||
             ::setresuid(*asUser, *asUser, *asUser) != 0)) {
            ::_exit(126);
        }
        ::signal(SIGPIPE, SIG_DFL);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    out_ = out[0];
}

Spawned::~Spawned() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) {
        ::close(out_);
    }
}

std::optional<std::string> Spawned::readLine(double timeoutSeconds) {
    auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    for (;;) {
        std::size_t nl = buffer_.find('\n');
        if (nl != std::string::npos) {
            std::string line = buffer_.substr(0, nl);
            buffer_.erase(0, nl + 1);
            return line;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd item{out_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&item, 1, static_cast<int>(left.count())) <= 0) {
            return std::nullopt;
        }
        char chunk[65536];
        ssize_t n = ::read(out_, chunk, sizeof chunk);
        if (n <= 0) {
            return std::nullopt;
        }
        buffer_.append(chunk, static_cast<std::size_t>(n));
    }
}

int Spawned::finish(double timeoutSeconds, std::string& output) {
    while (auto line = readLine(timeoutSeconds)) {
        output += *line + "\n";
    }
    output += buffer_;
    buffer_.clear();
    auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (pid_ > 0 && std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        ::poll(nullptr, 0, 20);
    }
    return -1;
}

} // namespace velmora::testing
