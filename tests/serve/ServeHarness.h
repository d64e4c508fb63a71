// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace velmora::testing {

// What a finished command printed and its exit status (-1 when it did not end in time and was
// killed).
struct CommandResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs argv[0] (searched in PATH) with `input` on its standard input.
CommandResult runCommand(const std::vector<std::string>& argv, const std::string& input = "",
                         double timeoutSeconds = 30);
// The full path of a program in PATH, or nothing.
std::optional<std::string> findProgram(const std::string& name);
// A TCP port on 127.0.0.1 that nothing listens on right now.
int freePort();

struct HttpAnswer {
    int status = 0; // 0: no answer
    std::string body;
};
// GET http://127.0.0.1:<port><path>, one plain HTTP/1.0 request, with `headers` ("Name:
// value" lines, each ending in \r\n) added.
HttpAnswer httpGet(int port, const std::string& path, double timeoutSeconds = 5,
                   const std::string& headers = "");

// A program started in the background with its output in files; SIGTERM and a wait at the
// end, SIGKILL if it does not go.
class BackgroundProcess {
public:
    BackgroundProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                      const std::string& logPath);
    ~BackgroundProcess();
    BackgroundProcess(const BackgroundProcess&) = delete;
    BackgroundProcess& operator=(const BackgroundProcess&) = delete;

    pid_t pid() const { return pid_; }
    // Sends the signal and waits; the exit status, 128 + signal when killed by one, -1 when it
    // did not end in time.
    int stop(int signal, double timeoutSeconds = 10);
    std::string log() const;

private:
    pid_t pid_ = -1;
    std::string logPath_;
};

// A real Prometheus server (the Debian package's), with its own configuration and data folder
// under `dir`, scraping 127.0.0.1:<targetPort> every second and evaluating `rulesFile` every
// second. ready() tells whether it came up.
class PrometheusServer {
public:
    PrometheusServer(const std::string& binary, const std::string& dir, int targetPort,
                     const std::string& rulesFile);
    // The same with the jobs given as the text of scrape_configs (its items, indented by 2).
    PrometheusServer(const std::string& binary, const std::string& dir,
                     const std::string& rulesFile, const std::string& scrapeConfigs);
    bool ready(double timeoutSeconds = 20);
    int port() const { return port_; }
    // The result vector of an instant query, or nothing on any failure.
    std::optional<std::string> query(const std::string& promql);
    std::string alerts();
    std::string log() const { return process_ ? process_->log() : ""; }

private:
    int port_ = 0;
    std::unique_ptr<BackgroundProcess> process_;
};

} // namespace velmora::testing
