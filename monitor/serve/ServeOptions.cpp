// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/serve/ServeOptions.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace velmora {
namespace {

constexpr double kMinInterval = 0.1;
constexpr double kMaxInterval = 60;
constexpr int kSysPtraceBit = 19;
constexpr double kQuietDetailSeconds = 60;

std::string listenProblem(const std::string& value) {
    const std::string example = " (for example 127.0.0.1:9787, 0.0.0.0:9787 or [::1]:9787)";
    std::size_t colon = value.rfind(':');
    if (colon == std::string::npos || colon == 0) {
        return "--listen needs ADDRESS:PORT with an explicit address" + example + ", not '" +
               value + "'";
    }
    std::string host = value.substr(0, colon);
    std::string port = value.substr(colon + 1);
    unsigned char buffer[16];
    bool valid = false;
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        valid = ::inet_pton(AF_INET6, host.substr(1, host.size() - 2).c_str(), buffer) == 1;
    } else {
        valid = ::inet_pton(AF_INET, host.c_str(), buffer) == 1;
    }
    if (!valid) {
        return "--listen needs a numeric address" + example + ", not '" + host + "'";
    }
    char* end = nullptr;
    errno = 0;
    long number = port.empty() ? -1 : std::strtol(port.c_str(), &end, 10);
    if (port.empty() || *end != '\0' || errno != 0 || number < 1 || number > 65535) {
        return "--listen needs a port from 1 to 65535, not '" + port + "'";
    }
    return {};
}

std::string intervalProblem(const std::string& value, double& seconds) {
    char* end = nullptr;
    errno = 0;
    seconds = value.empty() ? NAN : std::strtod(value.c_str(), &end);
    if (value.empty() || *end != '\0' || errno != 0 || !std::isfinite(seconds) ||
        seconds < kMinInterval || seconds > kMaxInterval) {
        return "--interval needs a number of seconds from 0.1 to 60, not '" + value + "'";
    }
    return {};
}

std::string textfileProblem(const std::string& value) {
    const std::string suffix = ".prom";
    if (value.size() <= suffix.size() || value.back() == '/' ||
        value.compare(value.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return "--textfile needs a file name ending in .prom (node_exporter reads only those), "
               "not '" +
               value + "'";
    }
    return {};
}

} // namespace

const char* const kServeUsage =
    "Usage: velmora serve [--listen ADDRESS:PORT] [--textfile PATH] [--interval SECONDS]\n"
    "                     [--all-users] [--web.config.file PATH] [--show-home-paths]\n\n"
    "Runs the monitor on its own, without the tray app, and exports what it finds as\n"
    "Prometheus metrics: each family's memory, growth rate, score and verdict, the memory\n"
    "left, when it runs out, the memory pressure and the out-of-memory kills. It samples,\n"
    "scores and keeps the history exactly as under the app (same settings, same data\n"
    "folder) and never signals a process.\n\n"
    "  --listen ADDRESS:PORT  serve /metrics there (default 127.0.0.1:9787; any other\n"
    "                         address, 0.0.0.0 or [::] included, must be named here)\n"
    "  --textfile PATH        also write the metrics to PATH (a .prom file) after every\n"
    "                         pass, atomically, for node_exporter's textfile collector\n"
    "  --interval SECONDS     seconds between passes, 0.1 to 60 (default 10)\n"
    "  --all-users            watch every user's processes, each family labelled with its\n"
    "                         user (needs root or CAP_SYS_PTRACE)\n"
    "  --web.config.file PATH basic authentication (bcrypt hashes in basic_auth_users)\n"
    "                         and HTTPS (tls_server_config: cert_file, key_file), in the\n"
    "                         web configuration file of the Prometheus exporters\n"
    "  --show-home-paths      with --all-users, name other users' home folders in labels\n"
    "                         (by default a path in one reads ~/...)\n\n"
    "SIGTERM or SIGINT ends it with the history written; SIGHUP reads the settings again.\n";

ServeArguments parseServeArguments(const std::vector<std::string>& args) {
    ServeArguments result;
    for (std::size_t i = 0; i < args.size() && result.error.empty(); ++i) {
        std::string name = args[i];
        std::string value;
        bool inlineValue = false;
        if (std::size_t equals = name.find('='); name.rfind("--", 0) == 0 && equals != name.npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
            inlineValue = true;
        }
        auto takeValue = [&](const char* what) {
            if (inlineValue) {
                return true;
            }
            if (i + 1 >= args.size()) {
                result.error = name + " needs " + what;
                return false;
            }
            value = args[++i];
            return true;
        };
        if (name == "--help" || name == "-h") {
            result.help = true;
        } else if (name == "--all-users" && !inlineValue) {
            result.options.allUsers = true;
        } else if (name == "--show-home-paths" && !inlineValue) {
            result.options.showHomePaths = true;
        } else if (name == "--web.config.file") {
            if (takeValue("a path")) {
                result.options.webConfigFile = value;
                if (value.empty()) {
                    result.error = "--web.config.file needs a path";
                }
            }
        } else if (name == "--listen") {
            if (takeValue("ADDRESS:PORT")) {
                result.error = listenProblem(value);
                result.options.listen = value;
            }
        } else if (name == "--textfile") {
            if (takeValue("a path")) {
                result.error = textfileProblem(value);
                result.options.textfile = value;
            }
        } else if (name == "--interval") {
            if (takeValue("a number of seconds")) {
                result.error = intervalProblem(value, result.options.intervalSeconds);
            }
        } else {
            result.error = "unknown option '" + args[i] + "' (see velmora serve --help)";
        }
    }
    return result;
}

SamplingTuning headlessSampling(const SamplingTuning& settings, double intervalSeconds) {
    SamplingTuning tuning = settings;
    tuning.sampleIntervalSeconds = intervalSeconds;
    tuning.quietDetailSeconds = std::max(tuning.quietDetailSeconds, kQuietDetailSeconds);
    // Thousands of idle processes: a stat of each one's descriptors every tick would be most of
    // the background reads' cost. A quiet process's held memory is looked at once a minute, with
    // its other reads.
    tuning.quietHeldSeconds = std::max(tuning.quietHeldSeconds, kQuietDetailSeconds);
    return tuning;
}

bool mayWatchAllUsers(unsigned effectiveUid, const std::string& statusText) {
    if (effectiveUid == 0) {
        return true;
    }
    std::size_t at = statusText.find("\nCapEff:");
    if (at == std::string::npos) {
        return false;
    }
    unsigned long long caps = std::strtoull(statusText.c_str() + at + 8, nullptr, 16);
    return (caps >> kSysPtraceBit) & 1u;
}

} // namespace velmora
