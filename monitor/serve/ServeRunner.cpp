// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/serve/ServeRunner.h"

#include "monitor/common/DescriptorLimit.h"
#include "monitor/config/ConfigStore.h"
#include "monitor/config/MonitorPaths.h"
#include "monitor/live/HistoryService.h"
#include "monitor/live/LiveMonitor.h"
#include "monitor/serve/BasicAuth.h"
#include "monitor/serve/FamilyExport.h"
#include "monitor/serve/MetricsEndpoint.h"
#include "monitor/serve/ProcessMetrics.h"
#include "monitor/serve/WebConfig.h"
#include "monitor/session/Tuning.h"

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <pwd.h>
#include <stdexcept>
#include <unistd.h>

#ifndef VELMORA_VERSION
#define VELMORA_VERSION "0.0.0"
#endif

namespace velmora {
namespace {

constexpr std::size_t kExportedFamilies = 200;

// The user's name, or home folder, from the user database; nothing when unknown.
std::optional<std::string> userFieldOf(uid_t uid, char* passwd::*field) {
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr) {
        return std::string(found->*field);
    }
    return std::nullopt;
}

std::string userNameOf(uid_t uid) {
    return userFieldOf(uid, &passwd::pw_name).value_or(std::to_string(uid));
}

// Other users' home folders, hidden from labels unless asked for; looked up once per user.
std::function<std::string(uid_t)> hiddenHomes(const ServeOptions& options) {
    if (options.showHomePaths) {
        return nullptr;
    }
    auto known = std::make_shared<std::map<uid_t, std::string>>();
    return [known, self = ::geteuid()](uid_t uid) -> std::string {
        if (uid == self) {
            return {};
        }
        auto [it, fresh] = known->try_emplace(uid);
        if (fresh) {
            it->second = userFieldOf(uid, &passwd::pw_dir).value_or("");
        }
        return it->second;
    };
}

std::string selfStatus() {
    std::ifstream in("/proc/self/status");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Tuning tuningFor(const ConfigStore& config, const ServeOptions& options) {
    Tuning tuning = Tuning::fromJson(config.tuning());
    tuning.sampling = headlessSampling(tuning.sampling, options.intervalSeconds);
    return tuning;
}

// Writes the metrics to the textfile after every pass; says so once when that fails and once
// when it works again.
class TextfileWriter {
public:
    explicit TextfileWriter(std::string path) : path_(std::move(path)) {}

    void write(const std::vector<prometheus::MetricFamily>& metrics) {
        std::string error;
        // node_exporter runs as another user: the file is readable by all.
        bool written = saveFile(path_, textExposition(metrics), error, 0644);
        if (!written && error != lastError_) {
            std::fprintf(stderr, "velmora: textfile not written: %s\n", error.c_str());
        } else if (written && !lastError_.empty()) {
            std::fprintf(stderr, "velmora: textfile %s written again\n", path_.c_str());
        }
        lastError_ = written ? "" : error;
    }

private:
    std::string path_;
    std::string lastError_;
};

// The sampler, the history and the export, wired as under the app but with no request side.
class HeadlessMonitor {
public:
    HeadlessMonitor(const ServeOptions& options, const MonitorPaths& paths, ConfigStore config)
        : options_(options), config_(std::move(config)),
          history_(DataFolder{paths.dataDir}, config_.storageMode()),
          export_(FamilyExportOptions{kExportedFamilies, 600, options.allUsers, VELMORA_VERSION,
                                      userNameOf, hiddenHomes(options)}) {
        if (!options.textfile.empty()) {
            textfile_ = std::make_unique<TextfileWriter>(options.textfile);
        }
    }

    std::vector<prometheus::MetricFamily> collect() const {
        std::vector<prometheus::MetricFamily> all = *export_.metrics();
        for (auto& metric : processMetrics()) {
            all.push_back(std::move(metric));
        }
        return all;
    }

    void start() {
        SamplerOptions sampler;
        sampler.uid = ::getuid();
        sampler.self = ::getpid();
        const Tuning tuning = tuningFor(config_, options_);
        sampler.sampling = tuning.sampling;
        sampler.scoring = tuning.scoring;
        sampler.allUsers = options_.allUsers;
        sampler.rankedFamilies = kExportedFamilies;
        sampler.chartSeries = false;
        sampler.forecastVictims = false;
        monitor_ = std::make_unique<LiveMonitor>(sampler);
        if (!monitor_->ok()) {
            std::fprintf(stderr, "velmora: cannot open /proc; exporting without samples\n");
        }
        monitor_->setPassObserver([this](const LiveView& view) {
            history_.afterPass(view);
            export_.update(view);
            if (textfile_) {
                textfile_->write(*export_.metrics());
            }
        });
        monitor_->setBaselineSource(
            [this](const std::string& key) { return history_.storedBaselineKiB(key); });
        monitor_->start();
    }

    // The pass under way completes; then the minute in progress is written.
    void stop() {
        if (!monitor_) {
            return;
        }
        monitor_->stop();
        if (auto last = monitor_->latest()) {
            history_.finish(*last);
        }
        monitor_.reset();
    }

    // SIGHUP: the storage mode applies at once; other tuning starts sampling over with it.
    void reload(const MonitorPaths& paths) {
        ConfigStore fresh(paths.configFile);
        if (!loadConfigOrWarn(fresh, "keeping the settings in use")) {
            return;
        }
        history_.setStorageMode(fresh.storageMode());
        const bool retune = !(tuningFor(fresh, options_) == tuningFor(config_, options_));
        config_ = std::move(fresh);
        if (retune) {
            stop();
            start();
        }
        std::fprintf(stderr, "velmora: settings read again from %s%s\n", paths.configFile.c_str(),
                     retune ? "; sampling starts over with the new tuning" : "");
    }

private:
    ServeOptions options_;
    ConfigStore config_;
    HistoryService history_;
    FamilyExport export_;
    std::unique_ptr<TextfileWriter> textfile_;
    std::unique_ptr<LiveMonitor> monitor_; // last: its thread stops before the rest goes
};

} // namespace

int runServe(const ServeOptions& options) {
    if (options.allUsers && !mayWatchAllUsers(::geteuid(), selfStatus())) {
        std::fprintf(stderr, "velmora serve: --all-users needs root or CAP_SYS_PTRACE\n");
        return 2;
    }
    // Every thread started from here on leaves these signals to the wait below.
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaddset(&signals, signal);
    }
    ::pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    raiseDescriptorLimit();

    EndpointSecurity security;
    if (!options.webConfigFile.empty()) {
        WebConfigReading web = readWebConfig(options.webConfigFile);
        if (!web.error.empty()) {
            std::fprintf(stderr, "velmora serve: %s\n", web.error.c_str());
            return 2;
        }
        if (web.config.tls() && !httpsAvailable()) {
            std::fprintf(stderr, "velmora serve: %s: %s\n", options.webConfigFile.c_str(),
                         kHttpsUnavailable);
            return 2;
        }
        if (!web.config.basicAuthUsers.empty()) {
            security.auth = std::make_shared<BasicAuth>(web.config.basicAuthUsers);
        }
        security.certFile = web.config.certFile;
        security.keyFile = web.config.keyFile;
    }

    MonitorPaths paths = MonitorPaths::fromEnvironment();
    ConfigStore config(paths.configFile);
    loadConfigOrWarn(config, "using defaults");
    HeadlessMonitor monitor(options, paths, std::move(config));
    std::unique_ptr<MetricsEndpoint> endpoint;
    try {
        endpoint = std::make_unique<MetricsEndpoint>(
            options.listen, [&monitor] { return monitor.collect(); }, security);
    } catch (const ListenFailure& error) {
        if (error.addressInUse()) {
            // A service manager must not start it again and again: another port is needed.
            std::fprintf(stderr,
                         "velmora serve: cannot listen on %s: the address is already in use; "
                         "choose another port with --listen (VELMORA_LISTEN in the service's "
                         "environment file)\n",
                         options.listen.c_str());
            return kServeAddressInUse;
        }
        std::fprintf(stderr, "velmora serve: cannot listen on %s: %s\n", options.listen.c_str(),
                     error.what());
        return 1;
    }
    monitor.start();
    std::fprintf(stderr, "velmora: serving metrics on %s://%s/metrics every %g s%s\n",
                 security.certFile.empty() ? "http" : "https", options.listen.c_str(),
                 options.intervalSeconds, security.auth ? ", with basic authentication" : "");

    for (;;) {
        int signal = ::sigwaitinfo(&signals, nullptr);
        if (signal == SIGHUP) {
            monitor.reload(paths);
        } else if (signal == SIGTERM || signal == SIGINT) {
            break;
        }
    }
    endpoint.reset();
    monitor.stop();
    return 0;
}

} // namespace velmora
