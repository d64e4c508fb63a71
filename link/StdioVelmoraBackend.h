// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Environment.h"
#include "base/LineReader.h"
#include "link/BackendClock.h"
#include "link/ChildProcess.h"
#include "link/CurrentValuePublisher.h"
#include "link/ExchangeWatchdog.h"
#include "link/PollingInterval.h"
#include "link/RequestEnvelope.h"
#include "link/RestartPolicy.h"
#include "link/SerialWorker.h"
#include "link/VelmoraBackend.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace velmora {

struct StdioBackendOptions {
    // No healthy answer takes this long, even on a loaded machine (the monitor answers in well
    // under a millisecond): a backend that has not answered by then is not answering.
    static constexpr std::chrono::milliseconds defaultAnswerDeadline{15000};
    // An action may wait for the processes it ends to quit: the monitor gives one action at
    // most its actionWaitSeconds (30 s at most) for all of them, plus a few seconds of work.
    static constexpr std::chrono::milliseconds defaultActionAnswerDeadline{45000};

    // Extra environment for the child; a key also in the application's environment takes
    // this value. Empty: the child inherits the application's environment unchanged.
    Environment launchEnvironment;
    // The executable to start; when absent it is found by BackendExecutableResolver.
    std::optional<std::filesystem::path> executable;
    // Longest response line accepted; a longer one is discarded as a transport error.
    std::size_t maxLineBytes = std::size_t{64} << 20; // 64 MiB
    // How long the child gets to end after SIGTERM before it is killed.
    std::chrono::milliseconds terminationGrace{200};
    // Whether the polling timer runs. Switched off (by tests that count exchanges) the period
    // is still computed from every snapshot, only no tick is ever armed.
    bool polling = true;
    // How long an answer may take; a backend that misses it is ended and counts as failed.
    std::chrono::milliseconds answerDeadline = defaultAnswerDeadline;
    // The same for the answer to an action ("dispatchAction").
    std::chrono::milliseconds actionAnswerDeadline = defaultActionAnswerDeadline;
    // Whether a backend that failed is started again, with backoff (RestartPolicy). Self-check
    // runs switch this off: they never restart anything.
    bool restarts = true;
    // The clock of the answer deadline and the restart delays; absent: the steady clock.
    std::shared_ptr<BackendClock> clock;
};

// The production backend: runs the backend executable ("<executable> ui-backend") as a child
// and exchanges one JSON request line for one response line with it.
//
// Watching the monitor: a backend that exits, is killed, ends its output, stops reading, misses
// the answer deadline or gives three answers in a row that cannot be read (a line that does not
// decode, an over-long line, an error answer to a poll) is ended (SIGTERM, then SIGKILL), reaped
// and started again after a delay chosen by RestartPolicy; the fifth failure within 10 minutes
// gives up until restartMonitor(). The monitor link (MonitorLinkState) says all of this, and
// also when the monitor's own sampler has stalled; it is published next to the snapshots, says
// "starting" until the first answer and clears on the first good answer. Until then the
// snapshot is an empty placeholder that stands for no data: nothing in it is to be shown. Bytes
// the backend wrote unasked are discarded before each request, so a stray line never shifts
// the answers that follow. Every exit, miss and restart writes one diagnostic line.
//
// Every request ends: a history request whose answer holds no history fails with an error.
//
// Threads: every exchange and every polling tick runs on one private worker thread, one at a
// time and in order; the operations only enqueue and return at once. Snapshots are published
// and advanced-history completions called on that worker. The client owns the worker:
// destruction stops it, wakes an exchange blocked on a silent backend by shutting the
// streams down, terminates the child (SIGTERM, then SIGKILL after the grace period), reaps it
// and joins the worker, so no enqueued work outlives the client. The answer deadline and the
// restart delays fall due on the clock's thread; there they only wake the blocked read or post
// the restart to the worker, and once destruction has begun they do nothing. Do not destroy
// the client from inside one of its own callbacks.
class StdioVelmoraBackend final : public VelmoraBackend {
public:
    // Unreadable answers in a row that count as losing the monitor.
    static constexpr int unreadableAnswersToLose = 3;

    explicit StdioVelmoraBackend(Environment launchEnvironment = {});
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
    MonitorLinkState currentMonitorLink() const override;
    [[nodiscard]] std::unique_ptr<Subscription>
    subscribeMonitorLink(MonitorLinkHandler handler) override;
    void restartMonitor() override;

    // Blocks until every request made before this call has been exchanged (or dropped).
    void waitForIdle();

    // The current polling period in seconds.
    double pollingIntervalSeconds() const { return pollingSeconds_.load(); }

    // Whether the child was started and is still running.
    bool backendRunning();

private:
    using HistoryHandler = std::function<void(AdvancedHistorySnapshot)>;
    using ErrorHandler = std::function<void(const std::string&)>;
    using Duration = BackendClock::Duration;

    // How a backend was lost.
    enum class Loss { notStarted, endOfOutput, missedDeadline, unreadable };

    // Points the alarms at the client while it lives; the destructor clears it.
    struct Lifeline {
        std::mutex mutex;
        StdioVelmoraBackend* client = nullptr;
    };

    void schedulePolling();
    bool startProcessIfPossible();
    // Worker only, from here on.
    void backendLost(Loss loss);
    void restartNow();
    void noteSnapshot(std::optional<MonitorLinkState> stall, Duration now);
    void failWaiting(const ErrorHandler& onError) const;
    void enqueue(RequestEnvelope request, HistoryHandler onHistory = {}, ErrorHandler onError = {});
    void exchange(const RequestEnvelope& request, const HistoryHandler& onHistory,
                  const ErrorHandler& onError);
    void routeResponse(const std::string& line, const RequestEnvelope& request,
                       const HistoryHandler& onHistory, const ErrorHandler& onError);
    // An answer that could not be read; the third in a row loses the backend.
    void noteUnreadable();
    void retime(double seconds, bool force);

    StdioBackendOptions options_;
    std::shared_ptr<BackendClock> clock_;
    std::shared_ptr<Lifeline> lifeline_ = std::make_shared<Lifeline>();
    CurrentValuePublisher<PopoverSnapshot> subject_;
    CurrentValuePublisher<MonitorLinkState> link_;
    ChildProcess process_;
    ExchangeWatchdog watchdog_;
    // Touched by the worker only (and the constructor before it):
    std::unique_ptr<LineReader> reader_; // present while a backend runs
    PollingInterval polling_;
    RestartPolicy restartPolicy_;
    std::shared_ptr<BackendAlarm> restartAlarm_;
    std::optional<Duration> lastGoodAnswerAt_;
    std::chrono::milliseconds deadline_{0}; // of the latest exchange
    int unreadableInARow_ = 0;

    std::atomic<double> pollingSeconds_{PollingInterval::initialSeconds};
    std::atomic<bool> closing_{false}; // the client is being destroyed: nobody waits any more
    SerialWorker worker_; // last: it is stopped and joined before anything above goes away
};

} // namespace velmora
