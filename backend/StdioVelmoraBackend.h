#pragma once

#include "backend/ChildProcess.h"
#include "backend/CurrentValuePublisher.h"
#include "backend/LineReader.h"
#include "backend/PollingInterval.h"
#include "backend/RequestEnvelope.h"
#include "backend/SerialWorker.h"
#include "backend/VelmoraBackend.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace velmora {

struct StdioBackendOptions {
    // Extra environment for the child; a key also in the application's environment takes
    // this value. Empty: the child inherits the application's environment unchanged.
    std::map<std::string, std::string> launchEnvironment;
    // The executable to start; when absent it is found by BackendExecutableResolver.
    std::optional<std::filesystem::path> executable;
    // Longest response line accepted; a longer one is discarded as a transport error.
    std::size_t maxLineBytes = LineReader::defaultMaxLineBytes;
    // How long the child gets to end after SIGTERM before it is killed.
    std::chrono::milliseconds terminationGrace{200};
    // Whether the polling timer runs. Switched off (by tests that count exchanges) the period
    // is still computed from every snapshot, only no tick is ever armed.
    bool polling = true;
};

// The production backend: runs the backend executable ("<executable> ui-backend") as a child
// and exchanges one JSON request line for one response line with it.
//
// Threads: every exchange and every polling tick runs on one private worker thread, one at a
// time and in order; the operations only enqueue and return at once. Snapshots are published
// and advanced-history completions called on that worker. The client owns the worker:
// destruction stops it, wakes an exchange blocked on a silent backend by shutting the
// streams down, terminates the child (SIGTERM, then SIGKILL after the grace period), reaps it
// and joins the worker, so no enqueued work outlives the client. Do not destroy the client
// from inside one of its own callbacks.
class StdioVelmoraBackend final : public VelmoraBackend {
public:
    explicit StdioVelmoraBackend(std::map<std::string, std::string> launchEnvironment = {});
    explicit StdioVelmoraBackend(StdioBackendOptions options);
    ~StdioVelmoraBackend() override;
    StdioVelmoraBackend(const StdioVelmoraBackend&) = delete;
    StdioVelmoraBackend& operator=(const StdioVelmoraBackend&) = delete;

    PopoverSnapshot currentSnapshot() const override;
    [[nodiscard]] std::unique_ptr<Subscription> subscribe(SnapshotHandler handler) override;
    void dispatch(const std::string& actionID, const std::string& targetKey) override;
    void dispatch(ShellCommand command) override;
    void fetchAdvancedHistory(std::optional<std::string> selectedKey,
                              HistoryCompletion completion) override;
    void updateRefreshInterval(double seconds) override;
    void updateStorageMode(SettingsStorageMode mode) override;
    void updateEvidenceCaptureEnabled(bool enabled) override;

    // Blocks until every request made before this call has been exchanged (or dropped).
    void waitForIdle();

    // The current polling period in seconds.
    double pollingIntervalSeconds() const { return pollingSeconds_.load(); }

    // Whether the child was started and is still running.
    bool backendRunning();

private:
    using HistoryHandler = std::function<void(AdvancedHistorySnapshot)>;
    using ErrorHandler = std::function<void(const std::string&)>;

    void schedulePolling();
    bool startProcessIfPossible();
    void enqueue(RequestEnvelope request, HistoryHandler onHistory = {}, ErrorHandler onError = {});
    void exchange(const RequestEnvelope& request, const HistoryHandler& onHistory,
                  const ErrorHandler& onError);
    void routeResponse(const std::string& line, const HistoryHandler& onHistory,
                       const ErrorHandler& onError);
    void retime(double seconds, bool force);

    StdioBackendOptions options_;
    CurrentValuePublisher<PopoverSnapshot> subject_;
    ChildProcess process_;
    std::unique_ptr<LineReader> reader_;
    PollingInterval polling_; // touched by the worker only (and the constructor before it)
    std::atomic<double> pollingSeconds_{PollingInterval::initialSeconds};
    std::atomic<bool> closing_{false}; // the client is being destroyed: nobody waits any more
    SerialWorker worker_; // last: it is stopped and joined before anything above goes away
};

} // namespace velmora
