#include "MonitorProcess.h"

#include "base/DescriptorIo.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace velmora::testing {

TempHome::TempHome() {
    char pattern[] = "/tmp/velmora-monitor-test-XXXXXX";
    path = ::mkdtemp(pattern);
}

TempHome::~TempHome() {
    std::error_code error;
    std::filesystem::remove_all(path, error);
}

void TempHome::writeFile(const std::string& relative, const std::string& content) const {
    std::filesystem::path file = std::filesystem::path(path) / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << content;
}

void TempHome::writeConfig(const Json& config) const {
    writeFile(".config/velmora/config.json", config.dump());
}

MonitorProcess::MonitorProcess(const TempHome& home) {
    int in[2];
    int out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) {
        return;
    }
    std::string homeVar = "HOME=" + home.path;
    std::string configVar = "XDG_CONFIG_HOME=" + home.path + "/.config";
    std::string dataVar = "XDG_DATA_HOME=" + home.path + "/.local/share";
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::putenv(homeVar.data());
        ::putenv(configVar.data());
        ::putenv(dataVar.data());
        ::unsetenv("WAYLAND_DISPLAY");
        ::unsetenv("DISPLAY");
        ::execl(VELMORA_MONITOR_BIN, "velmora", "ui-backend", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    in_ = in[1];
    out_ = out[0];
    ::signal(SIGPIPE, SIG_IGN);
}

MonitorProcess::~MonitorProcess() {
    closeInput();
    closeOutput();
    if (pid_ > 0 && wait(5) == -1) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

bool MonitorProcess::send(const std::string& bytes) {
    return writeAll(in_, bytes);
}

std::optional<std::string> MonitorProcess::readLine(double timeoutSeconds) {
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
        if (left.count() <= 0) {
            return std::nullopt;
        }
        pollfd item{out_, POLLIN, 0};
        if (::poll(&item, 1, static_cast<int>(left.count())) <= 0) {
            continue;
        }
        char chunk[65536];
        ssize_t n = ::read(out_, chunk, sizeof chunk);
        if (n <= 0) {
            return std::nullopt;
        }
        buffer_.append(chunk, static_cast<std::size_t>(n));
    }
}

void MonitorProcess::closeInput() {
    if (in_ >= 0) {
        ::close(in_);
        in_ = -1;
    }
}

void MonitorProcess::closeOutput() {
    if (out_ >= 0) {
        ::close(out_);
        out_ = -1;
    }
}

int MonitorProcess::wait(double timeoutSeconds) {
    auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return -1;
}

HelperChild::HelperChild(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (auto& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
        ::execv(VELMORA_MEMORY_CHILD, argv.data());
        ::_exit(127);
    }
}

HelperChild::~HelperChild() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

} // namespace velmora::testing
