#pragma once

#include "monitor/proc/ProcRoot.h"
#include "monitor/where/HeapTools.h"
#include "monitor/where/LeakReport.h"

#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace velmora {

// A request to end tracking before its time, from another thread or a signal handler: its
// descriptor becomes readable once asked.
class StopRequest {
public:
    StopRequest();
    ~StopRequest();
    StopRequest(const StopRequest&) = delete;
    StopRequest& operator=(const StopRequest&) = delete;

    void request() const; // async-signal-safe
    bool requested() const;
    int fd() const { return fds_[0]; }

private:
    int fds_[2] = {-1, -1};
};

enum class TrackingPhase { attaching, tracking, stopping, analysing };
// Told at every phase: for `tracking`, how many seconds it lasts.
using TrackingProgress = std::function<void(TrackingPhase, double seconds)>;

// How one tracking went: where the recording is, how long it ran and what happened on the way,
// or why nothing was recorded.
struct TrackingOutcome {
    std::string recording; // empty when nothing was recorded
    double trackedSeconds = 0;
    bool processEnded = false;
    bool stoppedEarly = false;
    pid_t trackedPid = 0;    // the process tracked (the new one when launched)
    pid_t relaunchedPid = 0; // launched again without tracking afterwards
    std::optional<WhereFailure> failure;
};

// Runs heaptrack on one process: attached to a running process through gdb (`heaptrack -p`),
// or starting a program under heaptrack's preload, which needs no ptrace. Tracking ends at its
// time, when asked to stop or when the process ends; an attached process is then detached with
// heaptrack's own stop call, a launched one is asked to quit (SIGTERM) and started again
// without tracking, so the recording is complete either way.
class HeapTracker {
public:
    // `recordingBase`: the recording's path without heaptrack's suffix (.zst or .gz).
    HeapTracker(HeapTools tools, const ProcRoot& root, std::string recordingBase);

    TrackingOutcome attach(pid_t pid, double seconds, const StopRequest& stop,
                           const TrackingProgress& progress) const;
    // `command` (program path first) runs with `environment` in `directory`.
    TrackingOutcome launch(const std::vector<std::string>& command,
                           const std::vector<std::string>& environment,
                           const std::string& directory, double seconds, const StopRequest& stop,
                           const TrackingProgress& progress) const;

    // Seconds allowed for attaching, detaching and finishing the recording.
    static constexpr double kAttachSeconds = 60;
    static constexpr double kFinishSeconds = 60;

private:
    const HeapTools tools_;
    const ProcRoot& root_;
    const std::string recordingBase_;
};

} // namespace velmora
