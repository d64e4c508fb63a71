#include "backend/StdioVelmoraBackend.h"

#include "backend/BackendEnvelope.h"
#include "backend/BackendExecutableResolver.h"
#include "backend/DiagnosticLog.h"
#include "backend/ProcessEnvironment.h"
#include "backend/ScenarioLibrary.h"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>

extern char** environ;

namespace velmora {

namespace {

constexpr std::string_view transportErrorPrefix = "VelmoraUIApp transport error: ";
constexpr std::string_view backendErrorPrefix = "VelmoraUIApp backend error: ";
constexpr std::string_view backendEndedMessage = "The Velmora monitor stopped before it answered.";

enum class WriteOutcome { written, backendGone, failed };

// Writes the whole request. MSG_NOSIGNAL: a backend that died must never raise SIGPIPE here.
WriteOutcome writeRequest(int fd, const std::string& bytes, std::string& error) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + written, bytes.size() - written, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (errno == EPIPE || errno == ECONNRESET) {
                return WriteOutcome::backendGone;
            }
            error = std::string("failed to write request: ") + std::strerror(errno);
            return WriteOutcome::failed;
        }
        written += static_cast<std::size_t>(n);
    }
    return WriteOutcome::written;
}

void reportTransportError(const std::string& description,
                          const std::function<void(const std::string&)>& onError) {
    writeDiagnosticLine(std::string(transportErrorPrefix) + description);
    if (onError) {
        onError(description);
    }
}

} // namespace

StdioVelmoraBackend::StdioVelmoraBackend(std::map<std::string, std::string> launchEnvironment)
    : StdioVelmoraBackend([&] {
          StdioBackendOptions options;
          options.launchEnvironment = std::move(launchEnvironment);
          return options;
      }()) {}

StdioVelmoraBackend::StdioVelmoraBackend(StdioBackendOptions options)
    : options_(std::move(options)), subject_(ScenarioLibrary::allClear()),
      worker_([this] { exchange(RequestEnvelope::getSnapshot(), {}, {}); }) {
    const bool started = startProcessIfPossible();
    schedulePolling();
    // The first snapshot is asked for at once rather than after the first period. It goes out
    // only now, so its answer can never be overtaken by the initial forced retime.
    if (started) {
        enqueue(RequestEnvelope::getSnapshot());
    }
}

StdioVelmoraBackend::~StdioVelmoraBackend() {
    closing_ = true;
    worker_.stop();
    process_.shutdownStreams();
    process_.terminate(options_.terminationGrace);
    worker_.join();
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
        writeDiagnosticLine("VelmoraUIApp: failed to resolve backend executable");
        return false;
    }
    const auto environment = options_.launchEnvironment.empty()
                                 ? currentEnvironment()
                                 : mergedEnvironment(environ, options_.launchEnvironment);
    const std::string error = process_.start(*executable, {"ui-backend"}, environment);
    if (!error.empty()) {
        writeDiagnosticLine("VelmoraUIApp: failed to start backend: " + error);
        return false;
    }
    reader_ = std::make_unique<LineReader>(process_.outputFd(), options_.maxLineBytes);
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

void StdioVelmoraBackend::enqueue(RequestEnvelope request, HistoryHandler onHistory,
                                  ErrorHandler onError) {
    worker_.post([this, request = std::move(request), onHistory = std::move(onHistory),
                  onError = std::move(onError)] { exchange(request, onHistory, onError); });
}

void StdioVelmoraBackend::exchange(const RequestEnvelope& request, const HistoryHandler& onHistory,
                                   const ErrorHandler& onError) {
    // A backend that never started or has exited drops the request silently.
    if (!reader_ || !process_.running()) {
        return;
    }
    std::string line;
    try {
        line = encodeRequestLine(request);
    } catch (const std::exception& error) {
        reportTransportError(std::string("failed to encode request: ") + error.what(), onError);
        return;
    }
    std::string writeError;
    switch (writeRequest(process_.inputFd(), line, writeError)) {
    case WriteOutcome::written:
        break;
    case WriteOutcome::backendGone:
        return; // it exited after the running check: the request is dropped like the others
    case WriteOutcome::failed:
        reportTransportError(writeError, onError);
        return;
    }
    const auto response = reader_->readLine();
    switch (response.status) {
    case LineReader::Status::endOfStream:
        // No byte before the end of the stream: no response at all. A waiting history
        // completion is failed rather than left waiting for an answer that cannot come.
        if (onError && !closing_) {
            onError(std::string(backendEndedMessage));
        }
        return;
    case LineReader::Status::failed:
    case LineReader::Status::tooLong:
        reportTransportError(response.error, onError);
        return;
    case LineReader::Status::line:
        routeResponse(response.text, onHistory, onError);
        return;
    }
}

void StdioVelmoraBackend::routeResponse(const std::string& line, const HistoryHandler& onHistory,
                                        const ErrorHandler& onError) {
    auto decoded = decodeBackendEnvelope(line);
    if (!decoded) {
        reportTransportError(decoded.error().text(), onError);
        return;
    }
    BackendEnvelope envelope = std::move(decoded).value();
    switch (route(envelope)) {
    case EnvelopeRoute::snapshot: {
        const double seconds = static_cast<double>(envelope.snapshot->refreshIntervalMs) / 1000.0;
        subject_.publish(std::move(*envelope.snapshot));
        retime(seconds, false);
        return;
    }
    case EnvelopeRoute::advancedHistory:
        if (onHistory) {
            onHistory(std::move(*envelope.advancedHistory));
        }
        return;
    case EnvelopeRoute::message:
        writeDiagnosticLine(std::string(backendErrorPrefix) + *envelope.message);
        if (onError) {
            onError(*envelope.message);
        }
        return;
    case EnvelopeRoute::nothing:
        return;
    }
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
