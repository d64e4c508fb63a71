// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/StdioVelmoraBackend.h"

#include "base/DescriptorIo.h"
#include "base/DiagnosticLog.h"
#include "base/Environment.h"
#include "link/BackendEnvelope.h"
#include "link/BackendExecutableResolver.h"
#include "link/DrainedBytes.h"
#include "link/SteadyBackendClock.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>

namespace velmora {

namespace {

constexpr std::string_view transportErrorPrefix = "velmora-ui: transport error: ";
constexpr std::string_view backendErrorPrefix = "velmora-ui: backend error: ";
constexpr std::string_view backendEndedMessage = "The Velmora monitor stopped before it answered.";
constexpr std::string_view notRunningMessage = "The Velmora monitor is not running.";
constexpr std::string_view noHistoryMessage = "The Velmora monitor answered without a history.";
constexpr std::string_view monitorPrefix = "velmora-ui: monitor ";

enum class WriteOutcome { written, backendGone, failed };

// Writes the whole request. MSG_NOSIGNAL: a backend that died must never raise SIGPIPE here.
WriteOutcome writeRequest(int fd, const std::string& bytes, std::string& error) {
    if (sendAll(fd, bytes, MSG_NOSIGNAL)) {
        return WriteOutcome::written;
    }
    if (errno == EPIPE || errno == ECONNRESET) {
        return WriteOutcome::backendGone;
    }
    error = std::string("failed to write request: ") + std::strerror(errno);
    return WriteOutcome::failed;
}

MonitorLinkState watchingAsOf(BackendClock::Duration now) {
    MonitorLinkState state;
    state.asOf = now;
    return state;
}

MonitorLinkState startingAsOf(BackendClock::Duration now) {
    MonitorLinkState state;
    state.cause = MonitorLinkCause::starting;
    state.asOf = now;
    return state;
}

// "1 s", "15 s", "0.25 s".
std::string secondsText(std::chrono::nanoseconds span) {
    const double seconds = std::chrono::duration<double>(span).count();
    char text[32];
    if (std::fabs(seconds - std::round(seconds)) < 1e-9) {
        std::snprintf(text, sizeof text, "%.0f s", seconds);
    } else {
        std::snprintf(text, sizeof text, "%g s", seconds);
    }
    return text;
}

void reportTransportError(const std::string& description,
                          const std::function<void(const std::string&)>& onError) {
    writeDiagnosticLine(std::string(transportErrorPrefix) + description);
    if (onError) {
        onError(description);
    }
}

} // namespace

StdioVelmoraBackend::StdioVelmoraBackend(Environment launchEnvironment)
    : StdioVelmoraBackend([&] {
          StdioBackendOptions options;
          options.launchEnvironment = std::move(launchEnvironment);
          return options;
      }()) {}

StdioVelmoraBackend::StdioVelmoraBackend(StdioBackendOptions options)
    : options_(std::move(options)),
      clock_(options_.clock ? options_.clock
                            : std::shared_ptr<BackendClock>(makeSteadyBackendClock())),
      subject_(PopoverSnapshot{}), link_(startingAsOf(clock_->now())),
      watchdog_(*clock_, [this] { process_.shutdownStreams(); }),
      worker_([this] { exchange(RequestEnvelope::getSnapshot(), {}, {}); }) {
    lifeline_->client = this;
    const bool started = startProcessIfPossible();
    schedulePolling();
    // The first snapshot is asked for at once rather than after the first period. It goes out
    // only now, so its answer can never be overtaken by the initial forced retime.
    if (started) {
        enqueue(RequestEnvelope::getSnapshot());
    } else {
        worker_.post([this] { backendLost(Loss::notStarted); });
    }
}

StdioVelmoraBackend::~StdioVelmoraBackend() {
    {
        std::lock_guard lock(lifeline_->mutex);
        lifeline_->client = nullptr;
    }
    closing_ = true;
    worker_.stop();
    watchdog_.close();
    process_.close();
    process_.terminate(options_.terminationGrace);
    worker_.join();
    if (restartAlarm_) {
        restartAlarm_->cancel();
    }
}

void StdioVelmoraBackend::schedulePolling() {
    retime(static_cast<double>(subject_.value().refreshIntervalMs) / 1000.0, true);
}

bool StdioVelmoraBackend::startProcessIfPossible() {
    auto executable = options_.executable;
    if (!executable) {
        executable = BackendExecutableResolver::resolve();
    }
    if (!executable) {
        writeDiagnosticLine("velmora-ui: failed to resolve backend executable");
        return false;
    }
    const std::string error =
        process_.start(*executable, {"ui-backend"}, childEnvironment(options_.launchEnvironment));
    if (!error.empty()) {
        writeDiagnosticLine("velmora-ui: failed to start backend: " + error);
        return false;
    }
    reader_ = std::make_unique<LineReader>(process_.outputFd(), options_.maxLineBytes);
    unreadableInARow_ = 0;
    return true;
}

PopoverSnapshot StdioVelmoraBackend::currentSnapshot() const {
    return subject_.value();
}

std::unique_ptr<Subscription> StdioVelmoraBackend::subscribe(SnapshotHandler handler) {
    return subject_.subscribe(std::move(handler));
}

void StdioVelmoraBackend::dispatch(const std::string& actionID, const std::string& targetKey) {
    enqueue(RequestEnvelope::dispatchAction(actionID, targetKey));
}

void StdioVelmoraBackend::dispatch(ShellCommand command) {
    enqueue(RequestEnvelope::dispatchCommand(command));
}

void StdioVelmoraBackend::fetchAdvancedHistory(std::optional<std::string> selectedKey,
                                               HistoryCompletion completion) {
    auto shared = std::make_shared<HistoryCompletion>(std::move(completion));
    enqueue(
        RequestEnvelope::getAdvancedHistory(std::move(selectedKey)),
        [shared](AdvancedHistorySnapshot history) {
            if (*shared) {
                (*shared)(HistoryResult{std::move(history)});
            }
        },
        [shared](const std::string& message) {
            if (*shared) {
                (*shared)(HistoryResult{BackendRequestError{message}});
            }
        });
}

void StdioVelmoraBackend::updateRefreshInterval(double seconds) {
    enqueue(RequestEnvelope::updateRefreshInterval(seconds));
}

void StdioVelmoraBackend::updateStorageMode(SettingsStorageMode mode) {
    enqueue(RequestEnvelope::updateStorageMode(mode));
}

void StdioVelmoraBackend::updateEvidenceCaptureEnabled(bool enabled) {
    enqueue(RequestEnvelope::updateEvidenceCapture(enabled));
}

void StdioVelmoraBackend::waitForIdle() {
    worker_.waitForIdle();
}

bool StdioVelmoraBackend::backendRunning() {
    return process_.running();
}

MonitorLinkState StdioVelmoraBackend::currentMonitorLink() const {
    return link_.value();
}

std::unique_ptr<Subscription>
StdioVelmoraBackend::subscribeMonitorLink(MonitorLinkHandler handler) {
    return link_.subscribe(std::move(handler));
}

void StdioVelmoraBackend::restartMonitor() {
    worker_.post([this] {
        if (reader_ && link_.value().cause == MonitorLinkCause::notSampling) {
            // It answers, but its sampling has stalled: a new one may get going again.
            writeDiagnosticLine(std::string(monitorPrefix) +
                                "restart asked for while its sampling has stalled");
            reader_.reset();
            process_.terminate(options_.terminationGrace);
        }
        if (reader_) {
            return; // it is watching
        }
        restartPolicy_.reset();
        restartNow();
    });
}

void StdioVelmoraBackend::enqueue(RequestEnvelope request, HistoryHandler onHistory,
                                  ErrorHandler onError) {
    worker_.post([this, request = std::move(request), onHistory = std::move(onHistory),
                  onError = std::move(onError)] { exchange(request, onHistory, onError); });
}

void StdioVelmoraBackend::exchange(const RequestEnvelope& request, const HistoryHandler& onHistory,
                                   const ErrorHandler& onError) {
    // With no backend running the request is dropped; a history request fails at once rather
    // than wait for an answer that cannot come.
    if (!reader_) {
        if (onError && !closing_) {
            onError(std::string(notRunningMessage));
        }
        return;
    }
    std::string line;
    try {
        line = encodeRequestLine(request);
    } catch (const std::exception& error) {
        reportTransportError(std::string("failed to encode request: ") + error.what(), onError);
        return;
    }
    // Whatever the backend wrote unasked (read already, or still queued) would otherwise be
    // read as this request's answer.
    const std::size_t read = reader_->discardBuffered();
    const DrainedBytes unasked = drainQueuedBytes(process_.outputFd());
    if (read + unasked.count > 0) {
        writeDiagnosticLine("velmora-ui: discarded " + std::to_string(read + unasked.count) +
                            " bytes the backend wrote unasked");
    }
    if (unasked.ended) {
        failWaiting(onError);
        backendLost(Loss::endOfOutput);
        return;
    }
    deadline_ = request.isAction() ? options_.actionAnswerDeadline : options_.answerDeadline;
    watchdog_.arm(deadline_);
    std::string writeError;
    const WriteOutcome written = writeRequest(process_.inputFd(), line, writeError);
    if (written != WriteOutcome::written) {
        const bool late = watchdog_.disarm();
        if (written == WriteOutcome::failed && !late) {
            reportTransportError(writeError, onError);
        } else {
            failWaiting(onError);
        }
        // A backend that no longer reads its requests cannot answer them.
        backendLost(late ? Loss::missedDeadline : Loss::endOfOutput);
        return;
    }
    const auto response = reader_->readLine();
    if (watchdog_.disarm()) {
        failWaiting(onError);
        backendLost(Loss::missedDeadline);
        return;
    }
    switch (response.status) {
    case LineReader::Status::end:
        // No byte before the end of the stream: no response at all. A waiting history
        // completion is failed rather than left waiting for an answer that cannot come.
        failWaiting(onError);
        backendLost(Loss::endOfOutput);
        return;
    case LineReader::Status::failed:
        reportTransportError(
            std::string("failed to read response: ") + std::strerror(response.error), onError);
        backendLost(Loss::endOfOutput);
        return;
    case LineReader::Status::tooLong:
        reportTransportError("response line exceeds " + std::to_string(options_.maxLineBytes) +
                                 " bytes; the line was discarded",
                             onError);
        noteUnreadable();
        return;
    case LineReader::Status::line:
        routeResponse(response.text, request, onHistory, onError);
        return;
    }
}

void StdioVelmoraBackend::failWaiting(const ErrorHandler& onError) const {
    if (onError && !closing_) {
        onError(std::string(backendEndedMessage));
    }
}

void StdioVelmoraBackend::routeResponse(const std::string& line, const RequestEnvelope& request,
                                        const HistoryHandler& onHistory,
                                        const ErrorHandler& onError) {
    auto decoded = decodeBackendEnvelope(line);
    if (!decoded) {
        reportTransportError(decoded.error().text(), onError);
        noteUnreadable();
        return;
    }
    BackendEnvelope envelope = std::move(decoded).value();
    const EnvelopeRoute routed = route(envelope);
    if (routed == EnvelopeRoute::message) {
        writeDiagnosticLine(std::string(backendErrorPrefix) + *envelope.message);
        if (onError) {
            onError(*envelope.message);
        }
        // A poll must be answered with a snapshot: a monitor that answers it with errors is not
        // watching. Any other request may fail and still be a readable answer.
        if (request.isPoll()) {
            noteUnreadable();
            return;
        }
    }
    unreadableInARow_ = 0;
    restartPolicy_.answered(clock_->now());
    if (routed == EnvelopeRoute::snapshot) {
        const double seconds = static_cast<double>(envelope.snapshot->refreshIntervalMs) / 1000.0;
        const Duration now = clock_->now();
        auto stall = samplingStallOf(*envelope.snapshot, now);
        subject_.publish(std::move(*envelope.snapshot));
        noteSnapshot(std::move(stall), now);
        retime(seconds, false);
    }
    if (!onHistory) {
        return;
    }
    if (routed == EnvelopeRoute::advancedHistory) {
        onHistory(std::move(*envelope.advancedHistory));
    } else if (routed != EnvelopeRoute::message && onError) {
        onError(std::string(noHistoryMessage)); // the request ends either way
    }
}

void StdioVelmoraBackend::noteUnreadable() {
    if (++unreadableInARow_ >= unreadableAnswersToLose) {
        backendLost(Loss::unreadable);
    }
}

void StdioVelmoraBackend::noteSnapshot(std::optional<MonitorLinkState> stall, Duration now) {
    const MonitorLinkState current = link_.value();
    if (stall) {
        if (current.cause != MonitorLinkCause::notSampling) {
            lastGoodAnswerAt_ = stall->lastGoodAnswerAt;
            writeDiagnosticLine(std::string(monitorPrefix) + "answers, but has not sampled for " +
                                secondsText(now - *stall->lastGoodAnswerAt));
            link_.publish(*stall);
        }
        return;
    }
    lastGoodAnswerAt_ = now;
    if (!current.watching()) {
        if (current.cause != MonitorLinkCause::starting) {
            writeDiagnosticLine(std::string(monitorPrefix) + "is watching again");
        }
        link_.publish(watchingAsOf(now));
    }
}

void StdioVelmoraBackend::backendLost(Loss loss) {
    reader_.reset();
    if (closing_) {
        return; // the client is going: its own shutdown ended the backend
    }
    MonitorLinkState state;
    std::string what;
    switch (loss) {
    case Loss::notStarted:
        state.cause = MonitorLinkCause::notStarted;
        break;
    case Loss::missedDeadline:
        process_.terminate(options_.terminationGrace);
        state.cause = MonitorLinkCause::notAnswering;
        what = " (no answer within " + secondsText(deadline_) + "; ended)";
        break;
    case Loss::unreadable:
        process_.terminate(options_.terminationGrace);
        state.cause = MonitorLinkCause::unreadable;
        break;
    case Loss::endOfOutput:
        // The end of its output usually means it is exiting: give it a moment to do so.
        if (const auto ended = process_.waitForExit(options_.terminationGrace)) {
            state.cause =
                ended->signalled ? MonitorLinkCause::killedBySignal : MonitorLinkCause::exited;
            state.code = ended->code;
        } else {
            process_.terminate(options_.terminationGrace);
            state.cause = MonitorLinkCause::notAnswering;
            what = " (its streams closed; ended)";
        }
        break;
    }
    const Duration now = clock_->now();
    state.asOf = now;
    state.lastGoodAnswerAt = lastGoodAnswerAt_;
    std::string next;
    if (!options_.restarts) {
        state.recovery = MonitorRecovery::gaveUp;
        next = "not restarted during a self-check";
    } else if (const auto decision = restartPolicy_.failed(now); decision.delay) {
        state.recovery = MonitorRecovery::scheduled;
        state.nextAttemptAt = now + *decision.delay;
        next = "next try in " + secondsText(*decision.delay);
        restartAlarm_ = clock_->after(*decision.delay, [lifeline = lifeline_] {
            std::lock_guard lock(lifeline->mutex);
            if (StdioVelmoraBackend* client = lifeline->client) {
                client->worker_.post([client] { client->restartNow(); });
            }
        });
    } else {
        state.recovery = MonitorRecovery::gaveUp;
        next = "gave up after " + std::to_string(decision.recentFailures) +
               " failures within 10 minutes";
    }
    writeDiagnosticLine(std::string(monitorPrefix) + notWatchingReason(state) + what + "; " + next);
    link_.publish(state);
}

void StdioVelmoraBackend::restartNow() {
    if (restartAlarm_) {
        restartAlarm_->cancel();
        restartAlarm_.reset();
    }
    if (closing_ || reader_) {
        return;
    }
    MonitorLinkState state = link_.value();
    const std::string reason = notWatchingReason(state);
    state.recovery = MonitorRecovery::starting;
    state.nextAttemptAt.reset();
    state.asOf = clock_->now();
    link_.publish(state);
    if (!startProcessIfPossible()) {
        backendLost(Loss::notStarted);
        return;
    }
    writeDiagnosticLine(std::string(monitorPrefix) + "restarted as pid " +
                        std::to_string(process_.pid()) + " (it was " + reason + ")");
    exchange(RequestEnvelope::getSnapshot(), {}, {});
}

void StdioVelmoraBackend::retime(double seconds, bool force) {
    if (const auto period = polling_.retime(seconds, force)) {
        pollingSeconds_.store(polling_.seconds());
        if (options_.polling) {
            worker_.schedulePolling(*period);
        }
    }
}

} // namespace velmora
