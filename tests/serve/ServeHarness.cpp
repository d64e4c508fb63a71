// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServeHarness.h"

#include "tests/support/FileText.h"

#include <arpa/inet.h>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace velmora::testing {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> result;
    for (auto& s : strings) {
        result.push_back(s.data());
    }
    result.push_back(nullptr);
    return result;
}

// Waits for the child; -1 when it is still running at the deadline.
int waitFor(pid_t pid, double timeoutSeconds) {
    auto deadline = Clock::now() + std::chrono::duration<double>(timeoutSeconds);
    for (;;) {
        int status = 0;
        pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (done < 0 || Clock::now() > deadline) {
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::string temporaryFile(const char* what) {
    std::string pattern = std::string("/tmp/velmora-serve-") + what + "-XXXXXX";
    int fd = ::mkstemp(pattern.data());
    ::close(fd);
    return pattern;
}

} // namespace

std::optional<std::string> findProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        std::string dir = dirs.substr(start, end == std::string::npos ? end : end - start);
        std::string candidate = dir + "/" + name;
        if (!dir.empty() && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return std::nullopt;
}

CommandResult runCommand(const std::vector<std::string>& argv, const std::string& input,
                         double timeoutSeconds) {
    CommandResult result;
    std::string in = temporaryFile("in");
    std::string out = temporaryFile("out");
    std::string err = temporaryFile("err");
    std::ofstream(in) << input;
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(::open(in.c_str(), O_RDONLY), 0);
        ::dup2(::open(out.c_str(), O_WRONLY | O_TRUNC), 1);
        ::dup2(::open(err.c_str(), O_WRONLY | O_TRUNC), 2);
        std::vector<std::string> args = argv;
        ::execvp(args[0].c_str(), pointers(args).data());
        ::_exit(127);
    }
    result.status = waitFor(pid, timeoutSeconds);
    if (result.status < 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    result.out = readFile(out);
    result.err = readFile(err);
    for (const auto& file : {in, out, err}) {
        std::filesystem::remove(file);
    }
    return result;
}

int freePort() {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

HttpAnswer httpGet(int port, const std::string& path, double timeoutSeconds,
                   const std::string& headers) {
    HttpAnswer answer;
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return answer;
    }
    std::string request = "GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\n" + headers + "\r\n";
    if (::send(fd, request.data(), request.size(), MSG_NOSIGNAL) !=
        static_cast<ssize_t>(request.size())) {
        ::close(fd);
        return answer;
    }
    std::string response;
    auto deadline = Clock::now() + std::chrono::duration<double>(timeoutSeconds);
    char buffer[65536];
    while (Clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) {
            continue;
        }
        ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) {
            break;
        }
        response.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    std::size_t headerEnd = response.find("\r\n\r\n");
    if (response.rfind("HTTP/", 0) != 0 || headerEnd == std::string::npos) {
        return answer;
    }
    answer.status = std::atoi(response.c_str() + response.find(' ') + 1);
    answer.body = response.substr(headerEnd + 4);
    return answer;
}

BackgroundProcess::BackgroundProcess(const std::vector<std::string>& argv,
                                     const std::vector<std::string>& env,
                                     const std::string& logPath)
    : logPath_(logPath) {
    pid_ = ::fork();
    if (pid_ == 0) {
        int log = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(::open("/dev/null", O_RDONLY), 0);
        ::dup2(log, 1);
        ::dup2(log, 2);
        for (const auto& variable : env) {
            ::putenv(const_cast<char*>(variable.c_str()));
        }
        std::vector<std::string> args = argv;
        ::execvp(args[0].c_str(), pointers(args).data());
        ::_exit(127);
    }
}

BackgroundProcess::~BackgroundProcess() {
    if (pid_ > 0 && stop(SIGTERM, 10) < 0) {
        stop(SIGKILL, 10);
    }
}

int BackgroundProcess::stop(int signal, double timeoutSeconds) {
    if (pid_ <= 0) {
        return -1;
    }
    ::kill(pid_, signal);
    int status = waitFor(pid_, timeoutSeconds);
    if (status >= 0) {
        pid_ = -1;
    }
    return status;
}

std::string BackgroundProcess::log() const {
    return readFile(logPath_);
}

PrometheusServer::PrometheusServer(const std::string& binary, const std::string& dir,
                                   int targetPort, const std::string& rulesFile)
    : PrometheusServer(binary, dir, rulesFile,
                       "  - job_name: velmora\n    static_configs:\n"
                       "      - targets: ['127.0.0.1:" +
                           std::to_string(targetPort) + "']\n") {}

PrometheusServer::PrometheusServer(const std::string& binary, const std::string& dir,
                                   const std::string& rulesFile, const std::string& scrapeConfigs)
    : port_(freePort()) {
    std::filesystem::create_directories(dir + "/data");
    std::ofstream(dir + "/prometheus.yml")
        << "global:\n  scrape_interval: 1s\n  scrape_timeout: 1s\n  evaluation_interval: 1s\n"
        << "rule_files: ['" << rulesFile << "']\n"
        << "scrape_configs:\n"
        << scrapeConfigs;
    process_ = std::make_unique<BackgroundProcess>(
        std::vector<std::string>{binary, "--config.file=" + dir + "/prometheus.yml",
                                 "--storage.tsdb.path=" + dir + "/data",
                                 "--web.listen-address=127.0.0.1:" + std::to_string(port_),
                                 "--log.level=warn"},
        std::vector<std::string>{}, dir + "/prometheus.log");
}

bool PrometheusServer::ready(double timeoutSeconds) {
    auto deadline = Clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (Clock::now() < deadline) {
        if (httpGet(port_, "/-/ready", 1).status == 200) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

std::optional<std::string> PrometheusServer::query(const std::string& promql) {
    std::string encoded;
    for (unsigned char c : promql) {
        if (std::isalnum(c) || c == '_' || c == '.' || c == '-') {
            encoded.push_back(static_cast<char>(c));
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            encoded += hex;
        }
    }
    HttpAnswer answer = httpGet(port_, "/api/v1/query?query=" + encoded);
    if (answer.status != 200) {
        return std::nullopt;
    }
    return answer.body;
}

std::string PrometheusServer::alerts() {
    return httpGet(port_, "/api/v1/alerts").body;
}

} // namespace velmora::testing
